// The command line writes the very bytes the report window writes for the same
// range, scripts flag and text size, protected notes included.
#include "diaryfixture.h"
#include "forms/frmview.h"
#include "support/programrun.h"

#include <QCheckBox>
#include <QComboBox>
#include <QToolButton>

#include <optional>

namespace {

using tamcal::test::DiaryTest;

// The browser view's page process refuses to run as root with its sandbox on.
const bool kSandboxOff = qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");

struct ReportCase
{
    const char *name;
    QDate begin;
    QDate end;
    bool scripts;
    const char *size;
};

const ReportCase kReportCases[] = {
    {"a month", {2004, 3, 1}, {2004, 3, 31}, true, "10"},
    {"three months, no scripts, size 14", {2004, 2, 25}, {2004, 4, 2}, false, "14"},
    {"one day", {2004, 3, 14}, {2004, 3, 14}, true, "10"},
    {"end before begin", {2004, 3, 10}, {2004, 3, 5}, true, "10"},
    {"size 0", {2004, 3, 1}, {2004, 3, 7}, true, "0"},
    {"negative size", {2004, 2, 28}, {2004, 3, 2}, false, "-3"},
};

class CommandLineReport : public DiaryTest
{
protected:
    void SetUp() override
    {
        DiaryTest::SetUp();
        tamcal::formPaths(executablePath());
    }

    // Builds the report in the window, as a person pressing Go does, and keeps it.
    QByteArray windowReport(const ReportCase &c)
    {
        auto *view = new frmView(c.begin, c.end, prompt);
        view->Form_Load();
        view->show();
        view->findChild<QCheckBox *>("chkScripts")->setChecked(!c.scripts);
        view->findChild<QComboBox *>("cboFontSize")->setEditText(c.size);
        view->findChild<QToolButton *>("btnSave")->click();
        delete view;
        return reportBytes();
    }

    QByteArray commandLineReport(const ReportCase &c, const QStringList &more = {})
    {
        QFile::remove(folder.filePath("TamCalendar.htm"));
        QStringList arguments = {"--profile",
                                 profilePath(),
                                 "--report",
                                 c.begin.toString("MM/dd/yyyy"),
                                 c.end.toString("MM/dd/yyyy"),
                                 "--size",
                                 c.size};
        if (!c.scripts)
            arguments << "--no-scripts";
        const tamcal::test::ProgramRun run =
            tamcal::test::runProgram(TAMCAL_EXECUTABLE, arguments + more);
        EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
        return reportBytes();
    }

    QByteArray reportBytes() const
    {
        QFile file(folder.filePath("TamCalendar.htm"));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
};

TEST_F(CommandLineReport, WritesTheWindowsBytesForTheSameRange)
{
    writeProfile("[Days]\r\n" + noteLine({2004, 3, 1}, "First day\r\nsecond line") +
                 noteLine({2004, 3, 14}, "Pi day \xE9t\xE9 <b>bold</b>") +
                 noteLine({2004, 2, 29}, "Leap"));
    for (const ReportCase &c : kReportCases) {
        SCOPED_TRACE(c.name);
        const QByteArray window = windowReport(c);
        EXPECT_FALSE(window.isEmpty());
        EXPECT_EQ(commandLineReport(c).toStdString(), window.toStdString());
    }
}

TEST_F(CommandLineReport, ProtectedNotesComeOutAsTheWindowWritesThem)
{
    tamcal::AppSettings.UsePass = true;
    writeProfile("[Main]\r\nUsePass=True\r\n");
    tamcal::CurrentPassword = "secret";
    tamcal::test::FakePrompt writer;
    ASSERT_TRUE(tamcal::WriteDayNote("03/14/2004", "Pi day", writer));
    QFile password(folder.filePath("password.txt"));
    ASSERT_TRUE(password.open(QIODevice::WriteOnly));
    password.write("secret\n");
    password.close();

    const ReportCase week = {"a week", {2004, 3, 12}, {2004, 3, 18}, true, "10"};
    // The password dialog cancelled, and no password on the command line.
    tamcal::CurrentPassword.clear();
    const QByteArray cancelled = windowReport(week);
    EXPECT_TRUE(cancelled.contains(tamcal::kUnreadableNote));
    EXPECT_EQ(commandLineReport(week).toStdString(), cancelled.toStdString());

    // The right password in the dialog, and in the password file.
    tamcal::CurrentPassword.clear();
    prompt.passwords = {std::string("secret")};
    const QByteArray opened = windowReport(week);
    EXPECT_TRUE(opened.contains("Pi day"));
    EXPECT_EQ(commandLineReport(week, {"--password-file", password.fileName()}).toStdString(),
              opened.toStdString());
}

} // namespace
