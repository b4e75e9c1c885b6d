#include "cli/commandline.h"

#include "cli/actions.h"
#include "cli/cliprompt.h"
#include "profile/settings.h"
#include "report/datetext.h"

#include <QCommandLineParser>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringList>

#include <cstdio>

namespace tamcal {

namespace {

// A request the command line can't carry out as given, told in one line.
struct BadInput
{
    std::string message;
};

const char *const kDescription =
    "A calendar diary. Without an action it opens the calendar window.\n"
    "\n"
    "Dates are month/day/year: 7/4/2004 or 07/04/2004.\n"
    "Exit status: 0 done, 1 a file could not be written, 2 bad input.\n"
    "Nothing is ever asked in a window here: where the program would ask, it\n"
    "answers Cancel (or Abort, or No) and says so on standard error.";

class Options
{
public:
    Options()
    {
        m_parser.setApplicationDescription(kDescription);
        m_parser.addOptions({m_help, m_version, m_report, m_noScripts, m_size, m_export, m_from,
                             m_to, m_format, m_out, m_passwordFile, m_profile});
        m_parser.addPositionalArgument("BEGIN END", "The range of --report.", "[BEGIN END]");
    }

    // Nothing when the command line asks for the windows.
    std::optional<int> run(const QStringList &arguments);

private:
    int runAction();
    void checkCombination() const;
    void checkBelongs(const QCommandLineOption &option, bool isActionGiven,
                      const char *action) const;
    ReportRequest reportRequest() const;
    ExportRequest exportRequest() const;
    std::optional<std::string> passwordFileLine() const;
    void useProfile() const;
    std::string value(const QCommandLineOption &option) const;

    QCommandLineParser m_parser;
    const QCommandLineOption m_help{{"h", "help"}, "Show this help."};
    const QCommandLineOption m_version{"version", "Show the program's version."};
    const QCommandLineOption m_report{
        "report", "Write the report of the days BEGIN to END, as the report window does."};
    const QCommandLineOption m_noScripts{"no-scripts",
                                         "Report without scripts (no fold-away toggles)."};
    const QCommandLineOption m_size{"size", "Note text size of the report in pixels (10).", "N"};
    const QCommandLineOption m_export{"export", "Write every note, oldest first."};
    const QCommandLineOption m_from{"from", "Export notes from this day on.", "D"};
    const QCommandLineOption m_to{"to", "Export notes up to this day.", "D"};
    const QCommandLineOption m_format{"format", "Export as text (a diary to read) or json.",
                                      "text|json"};
    const QCommandLineOption m_out{
        "out",
        "Write to FILE (report: TamCalendar.htm beside the profile; export: standard output).",
        "FILE"};
    const QCommandLineOption m_passwordFile{
        "password-file", "The password of protected notes is the first line of FILE.", "FILE"};
    const QCommandLineOption m_profile{
        "profile", "Use this profile file; its folder keeps the report.", "FILE"};
};

std::string Options::value(const QCommandLineOption &option) const
{
    return QFile::encodeName(m_parser.value(option)).toStdString();
}

std::optional<int> Options::run(const QStringList &arguments)
{
    if (!m_parser.parse(arguments))
        throw BadInput{m_parser.errorText().toStdString()};
    if (m_parser.isSet(m_help)) {
        // Without an application object the parser can't know the program's name.
        const QString help = m_parser.helpText().replace("<executable_name>", "tamcal");
        std::fputs(help.toLocal8Bit().constData(), stdout);
        return kExitSucceeded;
    }
    if (m_parser.isSet(m_version)) {
        std::printf("TamCal %s\n", TAMCAL_VERSION);
        return kExitSucceeded;
    }
    checkCombination();
    useProfile();
    if (!m_parser.isSet(m_report) && !m_parser.isSet(m_export))
        return std::nullopt;
    return runAction();
}

int Options::runAction()
{
    CommandLinePrompt prompt(passwordFileLine());
    if (m_parser.isSet(m_report))
        return RunReport(reportRequest(), prompt);
    return RunExport(exportRequest(), prompt);
}

void Options::checkCombination() const
{
    const bool isReport = m_parser.isSet(m_report);
    const bool isExport = m_parser.isSet(m_export);
    if (isReport && isExport)
        throw BadInput{"--report and --export can't be given together."};
    for (const QCommandLineOption *option : {&m_noScripts, &m_size})
        checkBelongs(*option, isReport, "--report");
    for (const QCommandLineOption *option : {&m_from, &m_to, &m_format})
        checkBelongs(*option, isExport, "--export");
    for (const QCommandLineOption *option : {&m_out, &m_passwordFile})
        checkBelongs(*option, isReport || isExport, "--report or --export");
    const QStringList positional = m_parser.positionalArguments();
    if (isReport && positional.size() != 2)
        throw BadInput{"--report needs two dates, BEGIN and END."};
    if (!isReport && !positional.isEmpty())
        throw BadInput{"Unexpected argument '" + positional.constFirst().toStdString() + "'."};
}

void Options::checkBelongs(const QCommandLineOption &option, bool isActionGiven,
                           const char *action) const
{
    if (m_parser.isSet(option) && !isActionGiven)
        throw BadInput{"--" + option.names().constFirst().toStdString() + " goes with " + action +
                       "."};
}

std::string dateArgument(const std::string &text, const char *what)
{
    if (!parseDateText(text))
        throw BadInput{std::string(what) + " '" + text +
                       "' is no date (month/day/year, such as 7/4/2004)."};
    return text;
}

short sizeArgument(const QString &text)
{
    bool isNumber = false;
    const int size = text.trimmed().toInt(&isNumber);
    if (!isNumber || size < -32768 || size > 32767)
        throw BadInput{"--size '" + text.toStdString() +
                       "' is no whole number from -32768 to 32767."};
    return short(size);
}

ReportRequest Options::reportRequest() const
{
    const QStringList dates = m_parser.positionalArguments();
    ReportRequest request;
    request.begin = dateArgument(QFile::encodeName(dates[0]).toStdString(), "BEGIN");
    request.end = dateArgument(QFile::encodeName(dates[1]).toStdString(), "END");
    request.scripts = !m_parser.isSet(m_noScripts);
    if (m_parser.isSet(m_size))
        request.size = sizeArgument(m_parser.value(m_size));
    request.out = value(m_out);
    return request;
}

std::optional<std::chrono::year_month_day> dayArgument(const std::string &text, const char *what)
{
    return std::chrono::year_month_day(parseDateText(dateArgument(text, what))->day);
}

ExportRequest Options::exportRequest() const
{
    ExportRequest request;
    if (m_parser.isSet(m_from))
        request.from = dayArgument(value(m_from), "--from");
    if (m_parser.isSet(m_to))
        request.to = dayArgument(value(m_to), "--to");
    const QString format = m_parser.value(m_format);
    if (format == "json")
        request.format = ExportFormat::Json;
    else if (!format.isEmpty() && format != "text")
        throw BadInput{"--format '" + format.toStdString() + "' is neither text nor json."};
    request.out = value(m_out);
    return request;
}

std::optional<std::string> Options::passwordFileLine() const
{
    if (!m_parser.isSet(m_passwordFile))
        return std::nullopt;
    QFile file(m_parser.value(m_passwordFile));
    if (!file.open(QIODevice::ReadOnly))
        throw BadInput{"--password-file " + value(m_passwordFile) +
                       " can't be read: " + file.errorString().toStdString() + "."};
    QByteArray line = file.readLine();
    if (file.error() != QFileDevice::NoError)
        throw BadInput{"--password-file " + value(m_passwordFile) +
                       " can't be read: " + file.errorString().toStdString() + "."};
    while (line.endsWith('\n') || line.endsWith('\r'))
        line.chop(1);
    return PasswordBytes(line.toStdString());
}

void Options::useProfile() const
{
    if (!m_parser.isSet(m_profile))
        return;
    const std::string path = value(m_profile);
    const QFileInfo profile(m_parser.value(m_profile));
    if (path.empty() || profile.isDir())
        throw BadInput{"--profile '" + path + "' is no file name."};
    if (!profile.absoluteDir().exists())
        throw BadInput{"--profile " + path + ": its folder does not exist."};
    ProfileFile = path;
}

} // namespace

std::optional<int> RunCommandLine(int argc, char *argv[])
{
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    try {
        Options options;
        return options.run(arguments);
    } catch (const BadInput &error) {
        std::fprintf(stderr, "tamcal: %s Try 'tamcal --help'.\n", error.message.c_str());
        return kExitBadInput;
    }
}

} // namespace tamcal
