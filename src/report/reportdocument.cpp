#include "report/reportdocument.h"

#include "notes/daynotes.h"
#include "profile/inifile.h"
#include "profile/settings.h"
#include "report/datetext.h"
#include "report/daycells.h"
#include "report/htmllines.h"
#include "report/reporthost.h"

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cstdio>
#include <filesystem>
#include <optional>

#include <fcntl.h>
#include <unistd.h>

namespace tamcal {

namespace {

using namespace std::chrono;

// The day count as the report uses it: 16 bits. A count that does not fit
// stays 0, so an over-long range reports its begin day alone.
short reportDayCount(const std::string &begin, std::string &end)
{
    const std::string text = DayCountText(begin, end);
    short count = 0;
    std::from_chars(text.data(), text.data() + text.size(), count);
    return count;
}

std::string reportTitle()
{
    std::string title = IniAccess("Main", "ViewTitle", std::string(), false);
    if (title.empty()) {
        title = "Tam Calendar Version " + std::to_string(TAMCAL_VERSION_MAJOR) + "." +
                std::to_string(TAMCAL_VERSION_MINOR);
        IniAccess("Main", "ViewTitle", title, true);
    }
    return title;
}

void addLines(std::string &document, std::initializer_list<std::string_view> lines)
{
    for (std::string_view line : lines)
        addLine(document, line);
}

void addScript(std::string &document)
{
    addLines(document, {
                           "<SCRIPT>",
                           "/* Folds the note of a day away and back. */",
                           "var ynOn=0;",
                           "function ToggleBox(cntrl)",
                           "{",
                           R"(if(eval("btnDing"+cntrl).innerText=="6"))",
                           " {",
                           R"(  eval("rowDong"+cntrl).style.display="none"; )",
                           R"(  eval("btnDing"+cntrl).innerText="4";)",
                           "  ynOn=1;",
                           " }",
                           " else",
                           "  {",
                           R"(   eval("rowDong"+cntrl).style.display="inline"; )",
                           R"(   eval("btnDing"+cntrl).innerText="6";)",
                           "   ynOn=0;",
                           "  }",
                           "}",
                           "</SCRIPT>",
                       });
}

// How many days both lists hold; normally the whole of them.
std::size_t listedDayCount()
{
    return std::min(ReportDates.size(), ReportNotes.size());
}

// The head, the title and the range line, up to the first month table.
std::string documentHead(bool scripts, short size, const std::string &title)
{
    std::string document;
    addLines(document,
             {
                 "<HEAD>",
                 "<STYLE>",
                 ".wing {visibility:visible;font-size:17px;font-family:WebDings;color:Blue;"
                 "text-decoration:none;cursor:hand;}",
                 ".nobord {border: 0px #FFFFFF;}",
                 ".nobordx {border-top:0px white;border-bottom:0px white;}",
                 ".toprec {border-top:1px #000000;border-bottom:0px #FFFFFF;}",
                 ".botrec {border-top:0px #000000;border-bottom:1px #FFFFFF;}",
             });
    addLine(document, ".txtNotes{font-size:" + std::to_string(size) +
                          "px;font-family:Verdana,Arial;font-weight:normal;color:Black;}");
    addLines(document, {
                           ".txtDate {font-size:14px;font-family:Verdana,Arial;font-weight:bold;"
                           "color:Green;}",
                           ".txtTiny {font-size:8px;font-family:Arial;font-weight:normal;"
                           "color:black;}",
                           ".tdseperator {background-color=Green;line-height:.09;font-size:2px;}",
                           "</STYLE>",
                           "",
                       });
    if (scripts)
        addScript(document);
    else
        addLine(document, "<!-- Written by TamCal. -->");
    addLines(document, {"</HEAD>", "<BODY>"});
    addLine(document, "<H2>" + title + "</H2>");
    addLines(document, {"<UL>", "    <LI>Date Range List Report<BR>"});
    const std::size_t listed = listedDayCount();
    addLine(document, "    <LI>" + (listed ? ReportDates.front() + " to " + ReportDates[listed - 1]
                                           : std::string(" to ")));
    addLine(document, "</UL>");
    return document;
}

std::string ruleLine()
{
    return "<!-- " + std::string(72, '_') + " -->";
}

std::string zigzagLine(std::string_view pair)
{
    std::string line = "<!-- ";
    for (int i = 0; i < 36; ++i)
        line += pair;
    return line + " -->";
}

std::string upZigzag()
{
    return zigzagLine("/\\");
}
std::string downZigzag()
{
    return zigzagLine("\\/");
}

// what is "MONTH      TABLE" + 25 blanks or "WEEK      ROW" + 28 blanks.
std::string bannerLine(std::string_view begOrEnd, std::string_view what)
{
    return "<!--" + std::string(25, ' ') + std::string(begOrEnd) + "     " + std::string(what) +
           "-->";
}

const std::string kMonthTable = "MONTH      TABLE" + std::string(25, ' ');
const std::string kWeekRow = "WEEK      ROW" + std::string(28, ' ');

void addMonthBegin(std::string &document, const std::string &heading)
{
    addLines(document, {ruleLine(), upZigzag(), bannerLine("BEG", kMonthTable), ruleLine(),
                        downZigzag() + "<br><br>"});
    addLine(document, "<SPAN class=txtDate >" + heading + "</span><br>");
    addLines(document, {R"(<TABLE borderColor=black cellSpacing=0 cellPadding=0 width="100%" )"
                        "border=1>",
                        "<TBODY><TR>"});
    for (const char *name :
         {"SUNDAY", "MONDAY", "TUESDAY", "WEDNESDAY", "THURSDAY", "FRIDAY", "SATURDAY"})
        addLine(document,
                std::string(R"(<TD class=nobord height=15 width="14%" align=center>)") +
                    "<span class=txtTiny>&nbsp;" + name + "</span></TD>",
                8);
    addLine(document, "</TR>");
}

void addWeekBegin(std::string &document)
{
    addLines(document, {upZigzag(), bannerLine("BEG", kWeekRow), downZigzag()});
    addLine(document, "<tr>", 4);
}

void addWeekEnd(std::string &document)
{
    addLines(document, {"</TR>", upZigzag(), bannerLine("END", kWeekRow), downZigzag()});
}

void addMonthEnd(std::string &document)
{
    addLines(document, {"</TBODY></TABLE>", ruleLine(), upZigzag(), bannerLine("END", kMonthTable),
                        ruleLine(), downZigzag()});
}

// A listed day as the grid needs it; all empty when its text is no date.
struct GridDay
{
    std::optional<DateValue> value;
    std::string monthName;
    std::string weekday;

    explicit GridDay(const std::string &text) : value(parseDateText(text))
    {
        if (value) {
            monthName = englishMonthName(year_month_day(value->day).month());
            weekday = weekdayAbbreviation(std::chrono::weekday(value->day));
        }
    }
};

short daysFromWeekStart(const DateValue &day)
{
    return short(std::chrono::weekday(day.day).c_encoding());
}

// Opens and closes month tables and week rows around the day items, and puts
// blank cells before the first day of a table's first week row.
class ReportGrid
{
public:
    ReportGrid(const std::string &begin, bool scripts, ReportHost &host)
        : m_scripts(scripts), m_host(host)
    {
        const DateValue first = *parseDateText(begin);
        const sys_days weekStart = first.day - days(daysFromWeekStart(first));
        m_monthName = englishMonthName(year_month_day(weekStart).month());
        const GridDay firstListed(ReportDates.front());
        if (firstListed.value) {
            const auto lead = (firstListed.value->day - weekStart).count();
            if (lead > 0)
                m_pendingCells = BuildSkipCells(short(lead), WeekStartText(first), m_host);
        }
    }

    void addDay(std::string &document, short k, bool isLast, const std::string &nextDayText)
    {
        const GridDay day(ReportDates[k]);
        if (day.monthName != m_monthName)
            m_isMonthOpening = true;
        if (m_isMonthOpening)
            openMonth(document, day);
        if (day.weekday == "SUN")
            m_isWeekOpening = true;
        if (m_isWeekOpening) {
            addWeekBegin(document);
            m_isWeekOpening = false;
        }
        if (!m_pendingCells.empty()) {
            addLine(document, m_pendingCells);
            addLine(document, "");
            m_pendingCells.clear();
        }
        document += BuildDayItem(k, ReportDates[k], ReportNotes[k], m_scripts);
        if (day.weekday == "SAT")
            addWeekEnd(document);
        addLine(document, "");
        if (isLast || GridDay(nextDayText).monthName != m_monthName) {
            addMonthEnd(document);
            m_monthName = day.monthName;
        }
    }

private:
    void openMonth(std::string &document, const GridDay &day)
    {
        m_monthName = day.monthName;
        char year[8] = "";
        if (day.value)
            std::snprintf(year, sizeof year, "%04d", int(year_month_day(day.value->day).year()));
        addMonthBegin(document, m_monthName + " " + year);
        m_isMonthOpening = false;
        if (!m_pendingCells.empty() || !day.value)
            return;
        const short lead = daysFromWeekStart(*day.value);
        if (lead > 0) {
            addLine(m_pendingCells, "<tr>", 4);
            m_pendingCells += BuildSkipCells(lead, WeekStartText(*day.value), m_host);
        }
    }

    bool m_scripts;
    ReportHost &m_host;
    std::string m_monthName;
    std::string m_pendingCells;
    bool m_isMonthOpening = true;
    bool m_isWeekOpening = true;
};

struct FileError
{
    int number;
    const char *description;
};

// The error as people know it from the program's earlier Windows life.
FileError fileError(int errorCode)
{
    switch (errorCode) {
    case ENOENT:
    case ENOTDIR:
        return {76, "Path not found"};
    case EACCES:
    case EPERM:
    case EROFS:
        return {70, "Permission denied"};
    case ENOSPC:
    case EDQUOT:
        return {61, "Disk full"};
    case EBADF:
        return {52, "Bad file name or number"};
    case ENAMETOOLONG:
        return {64, "Bad file name"};
    case EMFILE:
    case ENFILE:
        return {67, "Too many files"};
    default:
        return {75, "Path/File access error"};
    }
}

MsgAnswer askAboutFileError(int errorCode, UserPrompt &prompt)
{
    const FileError error = fileError(errorCode);
    Message message;
    message.text =
        "Error: " + std::to_string(error.number) + " - " + error.description + "\r\nFrom: TamCal.";
    message.title = "An Error Occured!";
    message.buttons = MsgButtons::AbortRetryIgnore;
    message.icon = MsgIcon::Exclamation;
    message.defaultButton = 2;
    return prompt.showMessage(message);
}

// Opens for appending, asking again while the person says Retry. -1 when the
// file stays closed; `isAborted` tells whether the person chose Abort.
int openForAppend(const std::string &path, UserPrompt &prompt, bool &isAborted)
{
    for (;;) {
        const int file = ::open(path.c_str(), O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC, 0666);
        if (file >= 0)
            return file;
        const MsgAnswer answer = askAboutFileError(errno, prompt);
        if (answer != MsgAnswer::Retry) {
            isAborted = answer == MsgAnswer::Abort;
            return -1;
        }
    }
}

// Writes all of the text; Retry resumes after the bytes already written,
// Abort and Ignore give up on the rest. False when the person chose Abort.
bool writeAll(int file, const std::string &text, UserPrompt &prompt)
{
    std::size_t written = 0;
    while (written < text.size()) {
        const ssize_t count =
            file < 0 ? -1 : ::write(file, text.data() + written, text.size() - written);
        if (count > 0) {
            written += std::size_t(count);
            continue;
        }
        const int errorCode = file < 0 ? EBADF : count == 0 ? ENOSPC : errno;
        if (errorCode == EINTR)
            continue;
        const MsgAnswer answer = askAboutFileError(errorCode, prompt);
        if (answer != MsgAnswer::Retry)
            return answer != MsgAnswer::Abort;
    }
    return true;
}

// Appends the text to the file at `path`; false when the person chose Abort.
bool appendChunk(const std::string &text, const std::string &path, UserPrompt &prompt)
{
    bool isAborted = false;
    const int file = openForAppend(path, prompt, isAborted);
    if (!isAborted)
        isAborted = !writeAll(file, text, prompt);
    if (file >= 0)
        ::close(file);
    return !isAborted;
}

// A build the person aborted: the progress bar is put back and no report is shown.
std::string abandoned(ReportHost &host)
{
    host.SetProgress(0, 100);
    return {};
}

} // namespace

void LoadReportDays(const std::string &begin, const std::string &end, UserPrompt &prompt)
{
    ReportDates.assign(1, std::string());
    ReportNotes.assign(1, std::string());
    std::string endText = end;
    const short count = reportDayCount(begin, endText);
    const auto first = parseDateText(begin);
    if (count < 0 || !first)
        return;
    if (count == 0) {
        ReportDates[0] = begin;
        ReportNotes[0] = ReadDayNote(begin, prompt);
        return;
    }
    ReportDates.resize(std::size_t(count) + 1);
    ReportNotes.resize(std::size_t(count) + 1);
    for (short k = 0; k <= count; ++k) {
        ReportDates[k] = shortDateText(first->day + days(k));
        ReportNotes[k] = ReadDayNote(ReportDates[k], prompt);
    }
}

std::string BuildReport(const std::string &begin, std::string &end, bool scripts, short &size,
                        ReportHost &host)
{
    return BuildReportFile(AppSettings.AppFolder + "TamCalendar.htm", begin, end, scripts, size,
                           host);
}

std::string BuildReportFile(const std::string &reportPath, const std::string &begin,
                            std::string &end, bool scripts, short &size, ReportHost &host)
{
    std::string path = reportPath;
    DeleteIfExists(path);
    const std::string title = reportTitle();
    if (size == 0)
        size = 10;
    std::string document = documentHead(scripts, size, title);
    const short count = reportDayCount(begin, end);
    const bool isBeginDate = parseDateText(begin).has_value();
    if (count == 0 && !isBeginDate)
        return {};
    const std::size_t listed = listedDayCount();
    if (isBeginDate && count >= 0 && listed > 0) {
        const float progressMax = count == 0 ? 1 : count;
        const short last = short(std::min<std::size_t>(count, listed - 1));
        ReportGrid grid(begin, scripts, host);
        for (short k = 0; k <= last; ++k) {
            host.SetProgress(k, progressMax);
            host.processPendingEvents();
            grid.addDay(document, k, k == last, k == last ? std::string() : ReportDates[k + 1]);
            // Abort gives up on the whole report, not on this day's part alone.
            if (!appendChunk(document, path, host))
                return abandoned(host);
            document.clear();
        }
    }
    addLines(document, {"</BODY>", "</HTML>"});
    if (!appendChunk(document, path, host))
        return abandoned(host);
    host.SetProgress(0, 100);
    return path;
}

void DeleteIfExists(const std::string &path)
{
    std::error_code error;
    if (std::filesystem::is_regular_file(path, error) &&
        std::filesystem::file_size(path, error) > 0 && !error)
        std::filesystem::remove(path, error);
}

std::string AppendTextFile(const std::string &text, std::string &path, UserPrompt &prompt)
{
    if (path.empty())
        path = AppSettings.AppFolder + "tempdump.txt";
    appendChunk(text, path, prompt);
    return path;
}

std::string WriteTextFile(const std::string &text, std::string &path, UserPrompt &prompt)
{
    if (path.empty())
        path = AppSettings.AppFolder + "tmpdump.rtf";
    // Emptied first, so that the append writes the page whole. A file that can't be
    // emptied can't be appended to either, and the append asks what to do about it.
    std::error_code ignored;
    if (std::filesystem::is_regular_file(path, ignored))
        std::filesystem::resize_file(path, 0, ignored);
    return AppendTextFile(text, path, prompt);
}

} // namespace tamcal
