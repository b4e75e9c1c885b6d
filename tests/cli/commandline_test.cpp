// The command line as a person meets it: statuses, one-line messages, and what
// it does with protected notes, run as the built program.
#include "cliprofile.h"

#include "profile/inifile.h"

#include <gtest/gtest.h>

namespace tamcal::test {
namespace {

struct StatusCase
{
    const char *name;
    QStringList arguments;
    int exitCode;
    const char *said; // on standard error, or on standard output when the run succeeds
};

class CommandLine : public CliProfile
{
};

TEST_F(CommandLine, AnswersEveryRequestWithItsStatusAndOneLine)
{
    const QString missingFolderOut = file("no-such-folder") + "/report.htm";
    const StatusCase cases[] = {
        {"version", {"--version"}, 0, "TamCal " TAMCAL_VERSION "\n"},
        {"help", {"--help"}, 0, "--report"},
        {"unknown option", {"--frobnicate"}, 2, "Unknown option 'frobnicate'."},
        {"missing value",
         {"--report", "1/1/2004", "1/2/2004", "--size"},
         2,
         "Missing value after '--size'."},
        {"begin no date", {"--report", "2/30/2004", "3/1/2004"}, 2, "BEGIN '2/30/2004' is no date"},
        {"end no date", {"--report", "3/1/2004", "tomorrow"}, 2, "END 'tomorrow' is no date"},
        {"one date", {"--report", "3/1/2004"}, 2, "--report needs two dates"},
        {"size no number",
         {"--report", "3/1/2004", "3/2/2004", "--size", "ten"},
         2,
         "--size 'ten' is no whole number"},
        {"size too big",
         {"--report", "3/1/2004", "3/2/2004", "--size", "40000"},
         2,
         "--size '40000' is no whole number"},
        {"size without report", {"--size", "12"}, 2, "--size goes with --report."},
        {"from no date", {"--export", "--from", "13/1/2004"}, 2, "--from '13/1/2004' is no date"},
        {"format unknown", {"--export", "--format", "xml"}, 2, "--format 'xml' is neither"},
        {"two actions",
         {"--report", "3/1/2004", "3/2/2004", "--export"},
         2,
         "--report and --export can't be given together."},
        {"stray argument", {"3/1/2004"}, 2, "Unexpected argument '3/1/2004'."},
        {"unreadable password file",
         {"--export", "--password-file", file("none.txt")},
         2,
         "none.txt can't be read: No such file or directory"},
        {"report not writable",
         {"--report", "3/1/2004", "3/2/2004", "--out", missingFolderOut},
         1,
         "cannot write "},
    };
    for (const StatusCase &c : cases) {
        SCOPED_TRACE(c.name);
        const ProgramRun run = tamcal(c.arguments);
        EXPECT_EQ(run.exitCode, c.exitCode) << run.err.toStdString();
        const QByteArray &said = c.exitCode == 0 ? run.out : run.err;
        EXPECT_TRUE(said.contains(c.said)) << said.toStdString();
        if (c.exitCode != 0) {
            EXPECT_TRUE(run.err.startsWith("tamcal: ")) << run.err.toStdString();
            EXPECT_EQ(run.err.count('\n'), 1) << run.err.toStdString();
            EXPECT_TRUE(run.out.isEmpty());
        }
    }
    EXPECT_TRUE(tamcal({"--report", "3/1/2004", "3/2/2004", "--out", missingFolderOut})
                    .err.contains(missingFolderOut.toUtf8() + ": No such file or directory"));
}

struct PasswordCase
{
    const char *name;
    const char *passwordFile; // nothing: no --password-file
    const char *reported;
    const char *said;
    int linesSaid; // each thing is said once, however many notes it concerns
};

TEST_F(CommandLine, ProtectedNotesNeedThePasswordAndNothingIsAsked)
{
    addNote("3/14/2004", "Pi day", "s\xE9same");
    addNote("3/15/2004", "Ides", "s\xE9same");
    AppSettings.UsePass = true;
    IniAccess("Main", "UsePass", "True", true);
    const PasswordCase cases[] = {
        {"right password", "s\xC3\xA9same\n", "Ides", "", 0},
        {"right password, Windows line end", "s\xC3\xA9same\r\nmore\n", "Ides", "", 0},
        {"wrong password", "sesame\n", kUnreadableNote,
         "Password is Incorrect: Password is Incorrect [answered OK, no window opens", 2},
        {"empty file", "", kUnreadableNote, "no password given", 1},
        {"no password file", nullptr, kUnreadableNote, "no password given", 1},
    };
    for (const PasswordCase &c : cases) {
        SCOPED_TRACE(c.name);
        QStringList arguments = {"--report", "3/14/2004", "3/15/2004"};
        if (c.passwordFile) {
            writeBytes(folder.file("password.txt"), c.passwordFile);
            arguments << "--password-file" << file("password.txt");
        }
        const ProgramRun run = tamcal(arguments);
        EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
        EXPECT_EQ(run.out.toStdString(), folder.file("TamCalendar.htm") + "\n");
        EXPECT_NE(readBytes(folder.file("TamCalendar.htm")).find(c.reported), std::string::npos);
        EXPECT_TRUE(run.err.contains(c.said)) << run.err.toStdString();
        EXPECT_EQ(run.err.count('\n'), c.linesSaid) << run.err.toStdString();
    }
}

// The browser engine costs a start of its own; the command line never needs it.
TEST_F(CommandLine, RunsWithoutLoadingTheBrowserEngine)
{
    addNote("3/14/2004", "Pi day");
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("LD_DEBUG", "libs");
    for (const QStringList &action :
         {QStringList{"--export"}, QStringList{"--report", "3/1/2004", "3/31/2004"}}) {
        SCOPED_TRACE(action.join(' ').toStdString());
        const ProgramRun run = runProgram(
            TAMCAL_EXECUTABLE, QStringList{"--profile", QString::fromStdString(profile)} + action,
            environment);
        EXPECT_EQ(run.exitCode, 0);
        EXPECT_TRUE(run.err.contains("libQt6Core"));
        EXPECT_FALSE(run.err.contains("libQt6WebEngine"));
    }
}

} // namespace
} // namespace tamcal::test
