#include "report/reportdocument.h"

#include "documentlines.h"
#include "fakereporthost.h"
#include "notes/daynotes.h"
#include "profile/inifile.h"
#include "profile/settings.h"
#include "report/datetext.h"
#include "support/tempfolder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <functional>

namespace fs = std::filesystem;
using namespace tamcal;

using tamcal::test::readBytes;
using tamcal::test::splitLines;
using tamcal::test::writeBytes;

namespace {

std::string trimmed(const std::string &line)
{
    const auto first = line.find_first_not_of(' ');
    return first == std::string::npos ? std::string() : line.substr(first);
}

// The landmarks of the month grid, one token each: "[March 2004" a month table
// opens, "<" a week row opens, ">" it closes, "]" the table closes, "s21" the
// blank cell of the 21st, "d25" the day item of the 25th.
std::string gridSkeleton(const std::string &document)
{
    const auto lines = splitLines(document);
    const std::string hashes = "<!-- " + std::string(55, '#');
    const std::string weekBanner = std::string(25, ' ') + "BEG     WEEK";
    const std::string weekEndBanner = std::string(25, ' ') + "END     WEEK";
    std::string skeleton;
    auto add = [&](const std::string &token) { skeleton += (skeleton.empty() ? "" : " ") + token; };
    auto dayNumberAfter = [&](std::size_t i) {
        while (lines[i].rfind(std::string(28, ' '), 0) != 0 || lines[i][28] == ' ')
            ++i;
        return trimmed(lines[i]);
    };
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const std::string line = trimmed(lines[i]);
        if (line.rfind("<SPAN class=txtDate >", 0) == 0 && line.ends_with("</span><br>"))
            add("[" + line.substr(21, line.size() - 21 - 11));
        else if (line.find(weekBanner) != std::string::npos)
            add("<");
        else if (line.find(weekEndBanner) != std::string::npos)
            add(">");
        else if (line == "</TBODY></TABLE>")
            add("]");
        else if (line.rfind(hashes + " BEG Skip", 0) == 0)
            add("s" + dayNumberAfter(i + 1));
        else if (line.rfind(hashes + " BEG ", 0) == 0)
            add("d" + dayNumberAfter(i + 1));
    }
    return skeleton;
}

// A prompt that lets a test act while the message box is up.
class ActingPrompt : public UserPrompt
{
public:
    std::function<MsgAnswer(const Message &)> onMessage;
    std::vector<Message> messages;

    MsgAnswer showMessage(const Message &message) override
    {
        messages.push_back(message);
        return onMessage(message);
    }
    std::optional<std::string> askPassword(const std::string &) override { return std::nullopt; }
};

} // namespace

class ReportDocument : public ::testing::Test
{
protected:
    void SetUp() override
    {
        AppSettings.AppFolder = m_folder.path().string() + "/";
        AppSettings.IniPath = AppSettings.AppFolder + "tamcal.ini";
        AppSettings.UsePass = false;
    }

    void writeNote(const std::string &day, const std::string &text)
    {
        ASSERT_TRUE(WriteDayNote(day, text, host));
    }

    // Lists and builds the range as the report window does; the file's text.
    std::string build(const std::string &begin, std::string end, bool scripts = true,
                      short size = 12)
    {
        LoadReportDays(begin, end, host);
        m_path = BuildReport(begin, end, scripts, size, host);
        return readBytes(reportPath());
    }

    fs::path reportPath() const { return m_folder.path() / "TamCalendar.htm"; }

    test::FakeReportHost host;
    test::TempFolder m_folder;
    std::string m_path;
};

TEST_F(ReportDocument, OneDayDocumentIsExact)
{
    writeNote("03/10/2004", "Lunch with <b>Ann</b>\r\nthen the dentist");
    std::string end = "03/10/2004";
    short size = 0;
    LoadReportDays("03/10/2004", end, host);
    const std::string path = BuildReport("03/10/2004", end, true, size, host);
    EXPECT_EQ(path, reportPath().string());
    EXPECT_EQ(size, 10);
    EXPECT_EQ(readBytes(reportPath()), readBytes(TAMCAL_REPORT_TEST_DATA "/oneday.htm"));
}

TEST_F(ReportDocument, TwoWeeksAcrossAMonthEndWithoutScriptsIsExact)
{
    IniAccess("Main", "ViewTitle", "Our <i>spring</i> log", true);
    writeNote("3/26/2004", "Flowers");
    writeNote("04/02/2004", "Line one\r\nLine two");
    EXPECT_EQ(build("03/25/2004", "04/07/2004", false, 14),
              readBytes(TAMCAL_REPORT_TEST_DATA "/twoweeks.htm"));
}

TEST_F(ReportDocument, MonthTablesWeekRowsAndBlankCellsFollowTheRange)
{
    struct Case
    {
        const char *name;
        const char *begin;
        const char *end;
        const char *grid;
    };
    const Case cases[] = {
        {"begins on a Sunday", "01/04/2004", "01/06/2004", "[January 2004 < d04 d05 d06 ]"},
        {"begins on a Saturday", "02/01/2003", "02/02/2003",
         "[February 2003 < s26 s27 s28 s29 s30 s31 d01 > < d02 ]"},
        {"across a year end", "12/20/2003", "01/10/2004",
         "[December 2003 < s14 s15 s16 s17 s18 s19 d20 > < d21 d22 d23 d24 d25 d26 d27 > "
         "< d28 d29 d30 d31 ] [January 2004 s28 s29 s30 s31 d01 d02 d03 > "
         "< d04 d05 d06 d07 d08 d09 d10 > ]"},
        {"across a leap day", "02/28/2004", "03/01/2004",
         "[February 2004 < s22 s23 s24 s25 s26 s27 d28 > < d29 ] [March 2004 s29 d01 ]"},
        {"next month begins on a Sunday", "01/30/2004", "02/01/2004",
         "[January 2004 < s25 s26 s27 s28 s29 d30 d31 > ] [February 2004 < d01 ]"},
        {"one day, mid-week", "7/7/2004", "7/7/2004", "[July 2004 < s04 s05 s06 d07 ]"},
        {"end before begin", "01/07/2004", "01/05/2004", ""},
        {"more days than 16 bits count", "01/01/1900", "01/01/2000", "[January 1900 < s31 d01 ]"},
        {"end no date", "01/06/2004", "someday", "[January 2004 < s04 s05 d06 ]"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(gridSkeleton(build(c.begin, c.end)), c.grid);
    }
}

TEST_F(ReportDocument, RangeLineNamesTheListedDays)
{
    struct Case
    {
        const char *begin;
        const char *end;
        const char *rangeLine;
    };
    const Case cases[] = {
        {"03/10/2004", "03/10/2004", "    <LI>03/10/2004 to 03/10/2004"},
        {"03/10/2004", "03/12/2004", "    <LI>3/10/2004 to 3/12/2004"},
        {"12/30/2003", "01/02/2004", "    <LI>12/30/2003 to 1/2/2004"},
        {"03/12/2004", "03/10/2004", "    <LI> to "},
        {"01/01/1900", "01/01/2000", "    <LI>01/01/1900 to 01/01/1900"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.begin + std::string(" ") + c.end);
        const auto lines = splitLines(build(c.begin, c.end));
        const auto listLine = std::find(lines.begin(), lines.end(), "<UL>");
        ASSERT_LT(listLine + 3, lines.end());
        EXPECT_EQ(listLine[2], c.rangeLine);
        EXPECT_EQ(listLine[3], "</UL>");
    }
}

TEST_F(ReportDocument, EndBeforeBeginWritesTheFrameOnly)
{
    const std::string document = build("03/12/2004", "03/10/2004");
    EXPECT_TRUE(document.starts_with("\r\n<HEAD>\r\n<STYLE>\r\n"));
    EXPECT_TRUE(document.ends_with("\r\n</UL>\r\n</BODY>\r\n</HTML>"));
    EXPECT_EQ(document.find("<TABLE"), std::string::npos);
    EXPECT_EQ(host.progress, (std::vector<std::pair<float, float>>{{0, 100}}));
}

TEST_F(ReportDocument, ScriptsFlagDecidesScriptToggleAndIds)
{
    writeNote("03/10/2004", "Note");
    const std::string with = build("03/09/2004", "03/11/2004", true);
    for (const char *present : {"\r\n<SCRIPT>\r\n", "\r\nfunction ToggleBox(cntrl)\r\n",
                                "id=btnDing2", "id=rowDong1", "title=\"Click the blue"})
        EXPECT_NE(with.find(present), std::string::npos) << present;

    const std::string without = build("03/09/2004", "03/11/2004", false);
    for (const char *absent : {"SCRIPT", "btnDing", "rowDong", "title=", "ToggleBox"})
        EXPECT_EQ(without.find(absent), std::string::npos) << absent;
    const auto lines = splitLines(without);
    const auto style = std::find(lines.begin(), lines.end(), "</STYLE>");
    ASSERT_LT(style + 3, lines.end());
    EXPECT_EQ(style[1], "");
    EXPECT_TRUE(style[2].starts_with("<!--") && style[2].ends_with("-->")) << style[2];
    EXPECT_EQ(style[3], "</HEAD>");
}

TEST_F(ReportDocument, TextSizeZeroBecomesTenForTheCallerToo)
{
    for (short given : {0, 10, 14, -3}) {
        SCOPED_TRACE(given);
        std::string end = "03/10/2004";
        short size = given;
        LoadReportDays("03/10/2004", end, host);
        BuildReport("03/10/2004", end, true, size, host);
        const short used = given == 0 ? 10 : given;
        EXPECT_EQ(size, used);
        const std::string rule =
            "\r\n.txtNotes{font-size:" + std::to_string(used) +
            "px;font-family:Verdana,Arial;font-weight:normal;color:Black;}\r\n";
        EXPECT_NE(readBytes(reportPath()).find(rule), std::string::npos);
    }
}

TEST_F(ReportDocument, EmptyTitleIsSeededOnceAndAGivenOneIsKept)
{
    const std::string seeded = build("03/10/2004", "03/10/2004");
    EXPECT_NE(seeded.find("\r\n<H2>Tam Calendar Version 1.0</H2>\r\n"), std::string::npos);
    EXPECT_EQ(IniAccess("Main", "ViewTitle", std::string(), false), "Tam Calendar Version 1.0");

    IniAccess("Main", "ViewTitle", "Ann & Bob's <u>year</u>", true);
    const std::string kept = build("03/10/2004", "03/10/2004");
    EXPECT_NE(kept.find("\r\n<H2>Ann & Bob's <u>year</u></H2>\r\n"), std::string::npos);
    EXPECT_EQ(IniAccess("Main", "ViewTitle", std::string(), false), "Ann & Bob's <u>year</u>");
}

TEST_F(ReportDocument, ProgressBeforeEachDayAndYieldsForEveryCell)
{
    build("03/10/2004", "03/10/2004");
    EXPECT_EQ(host.progress, (std::vector<std::pair<float, float>>{{0, 1}, {0, 100}}));
    EXPECT_EQ(host.yields, 1 + 3); // the day, and the blank cells of March 7 to 9

    host.progress.clear();
    host.yields = 0;
    build("03/07/2004", "03/09/2004");
    EXPECT_EQ(host.progress,
              (std::vector<std::pair<float, float>>{{0, 2}, {1, 2}, {2, 2}, {0, 100}}));
    EXPECT_EQ(host.yields, 3);
}

TEST_F(ReportDocument, OldReportIsReplacedAndNoDateLeavesNone)
{
    writeBytes(reportPath(), "an old report that must go");
    const std::string document = build("03/10/2004", "03/10/2004");
    EXPECT_TRUE(document.starts_with("\r\n<HEAD>\r\n"));
    EXPECT_EQ(document.find("old report"), std::string::npos);

    std::string end = "03/10/2004";
    short size = 12;
    LoadReportDays("not a date", end, host);
    EXPECT_EQ(BuildReport("not a date", end, true, size, host), "");
    EXPECT_FALSE(fs::exists(reportPath()));
}

TEST_F(ReportDocument, EmptyEndMeansUpToNow)
{
    using namespace std::chrono;
    const auto today = floor<days>(system_clock::now());
    const std::string begin = shortDateText(year_month_day(today - days(3)));
    std::string end;
    short size = 12;
    LoadReportDays(begin, end, host);
    EXPECT_TRUE(end.empty());
    EXPECT_GE(ReportDates.size(), 3u);
    BuildReport(begin, end, true, size, host);
    ASSERT_TRUE(parseDateText(end).has_value());
    EXPECT_GE(parseDateText(end)->day, today - days(1));
    EXPECT_EQ(ReportDates.front(), begin);
}

TEST_F(ReportDocument, DaysAreListedWithTheirNotesAsTheStoreGivesThem)
{
    writeNote("12/31/2003", "Party\r\nat <i>nine</i>");
    writeNote("01/02/2004", "solo\nline");
    struct Case
    {
        const char *name;
        const char *begin;
        const char *end;
        std::vector<std::string> dates;
        std::vector<std::string> notes;
    };
    const Case cases[] = {
        {"across a year end",
         "12/30/2003",
         "01/02/2004",
         {"12/30/2003", "12/31/2003", "1/1/2004", "1/2/2004"},
         {"", "Party\r\nat <i>nine</i>", "", "solo\nline"}},
        {"one day keeps its text",
         "12/31/2003",
         "12/31/2003",
         {"12/31/2003"},
         {"Party\r\nat <i>nine</i>"}},
        {"one day with times of day",
         "12/31/2003 10:00 PM",
         "1/1/2004 9:00 AM",
         {"12/31/2003 10:00 PM"},
         {"Party\r\nat <i>nine</i>"}},
        {"end before begin", "01/02/2004", "12/30/2003", {""}, {""}},
        {"begin no date", "someday", "01/02/2004", {""}, {""}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        LoadReportDays(c.begin, c.end, host);
        EXPECT_EQ(ReportDates, c.dates);
        EXPECT_EQ(ReportNotes, c.notes);
    }
}

TEST_F(ReportDocument, UnreadableNoteIsShownAsTheMarker)
{
    AppSettings.UsePass = true;
    IniAccess("Days", "03102004T", "737" + std::string(40, 'A'), true);
    const std::string document = build("03/10/2004", "03/10/2004");
    EXPECT_NE(document.find("\r\n" + std::string(28, ' ') + kUnreadableNote + "\r\n"),
              std::string::npos);
}

TEST_F(ReportDocument, DeleteIfExistsRemovesOnlyAFileWithContent)
{
    const fs::path full = m_folder.path() / "full.htm";
    const fs::path empty = m_folder.path() / "empty.htm";
    const fs::path folder = m_folder.path() / "folder.htm";
    writeBytes(full, "x");
    writeBytes(empty, "");
    fs::create_directory(folder);
    writeBytes(folder / "inside", "x");
    for (const fs::path &path : {full, empty, folder, m_folder.path() / "missing.htm"})
        DeleteIfExists(path.string());
    EXPECT_FALSE(fs::exists(full));
    EXPECT_TRUE(fs::exists(empty));
    EXPECT_TRUE(fs::exists(folder / "inside"));
}

TEST_F(ReportDocument, AppendTextFileAppendsAndNamesTheDefaultFile)
{
    std::string path;
    EXPECT_EQ(AppendTextFile("one\r\n", path, host), AppSettings.AppFolder + "tempdump.txt");
    EXPECT_EQ(path, AppSettings.AppFolder + "tempdump.txt");
    AppendTextFile("two\xE9", path, host);
    EXPECT_EQ(readBytes(path), "one\r\ntwo\xE9");
    EXPECT_TRUE(host.prompt.messages.empty());
}

// A year's report whose file cannot be written: Abort at the first box stops the
// whole build instead of asking again for each of the 366 days.
TEST_F(ReportDocument, AbortStopsTheWholeBuild)
{
    struct Case
    {
        const char *name;
        MsgAnswer answer;
        std::size_t boxes;
        bool isPathReturned;
    };
    const Case cases[] = {
        {"abort", MsgAnswer::Abort, 1, false},
        {"ignore asks at every part", MsgAnswer::Ignore, 2 * 367, true},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        fs::create_directory(reportPath());
        host = {};
        host.prompt.answers.assign(c.boxes + 1, c.answer);
        LoadReportDays("01/01/2004", "12/31/2004", host);
        std::string end = "12/31/2004";
        short size = 0;
        const std::string path = BuildReport("01/01/2004", end, true, size, host);
        EXPECT_EQ(host.prompt.messages.size(), c.boxes);
        EXPECT_EQ(path.empty(), !c.isPathReturned);
        EXPECT_EQ(host.progress.back(), std::make_pair(0.0f, 100.0f));
        fs::remove(reportPath());
    }
}

TEST_F(ReportDocument, AppendTextFileAsksAbortRetryIgnore)
{
    const fs::path missing = m_folder.path() / "missing";
    const std::string openFailed = "Error: 76 - Path not found\r\nFrom: TamCal.";
    const std::string notOpen = "Error: 52 - Bad file name or number\r\nFrom: TamCal.";
    struct Case
    {
        const char *name;
        MsgAnswer answer;
        std::vector<std::string> texts;
        bool isWritten;
    };
    const Case cases[] = {
        {"abort", MsgAnswer::Abort, {openFailed}, false},
        {"ignore goes on to the write, which fails too",
         MsgAnswer::Ignore,
         {openFailed, notOpen},
         false},
        {"retry after the folder is there", MsgAnswer::Retry, {openFailed}, true},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        fs::remove_all(missing);
        ActingPrompt prompt;
        prompt.onMessage = [&](const Message &) {
            if (c.answer == MsgAnswer::Retry)
                fs::create_directory(missing);
            return c.answer;
        };
        std::string path = (missing / "out.txt").string();
        EXPECT_EQ(AppendTextFile("text", path, prompt), (missing / "out.txt").string());
        ASSERT_EQ(prompt.messages.size(), c.texts.size());
        for (std::size_t i = 0; i < c.texts.size(); ++i) {
            const Message &message = prompt.messages[i];
            EXPECT_EQ(message.text, c.texts[i]);
            EXPECT_EQ(message.title, "An Error Occured!");
            EXPECT_EQ(message.buttons, MsgButtons::AbortRetryIgnore);
            EXPECT_EQ(message.icon, MsgIcon::Exclamation);
            EXPECT_EQ(message.defaultButton, 2);
        }
        EXPECT_EQ(readBytes(path), c.isWritten ? "text" : "");
    }
}
