#include "report/daycells.h"

#include "report/datetext.h"
#include "report/htmllines.h"
#include "report/reporthost.h"

#include <cstdio>

namespace tamcal {

namespace {

using namespace std::chrono;

// The weekday abbreviation and two-digit day number of a cell's day; both
// empty when the text is no date.
struct CellDay
{
    std::string weekday;
    std::string dayNumber;
};

CellDay cellDay(std::optional<sys_days> day)
{
    if (!day)
        return {};
    char number[4];
    std::snprintf(number, sizeof number, "%02u", unsigned(year_month_day(*day).day()));
    return {weekdayAbbreviation(weekday(*day)), number};
}

std::optional<sys_days> dayOf(const std::string &dayText)
{
    if (const auto value = parseDateText(dayText))
        return value->day;
    return std::nullopt;
}

// marker is " BEG ", " END ", " BEG Skip" or " END Skip".
std::string hashBanner(std::string_view marker, const std::string &weekday)
{
    return "<!-- " + std::string(55, '#') + std::string(marker) + weekday + "  -->";
}

std::string beginItemComment(const std::string &item)
{
    return "<!-- /////////////// BEGIN ITEM " + item + " " + std::string(19, '\\') + " -->";
}

std::string endItemComment(const std::string &item)
{
    return "<!-- /////////////// END ITEM " + item + " " + std::string(15, '/') + "  -->";
}

void openCell(std::string &out, const std::string &banner, const std::string &comment)
{
    addLine(out, banner, 8);
    addLine(out, R"(<TD class=nobord valign=top height="99%">)", 9);
    addLine(out, comment, 12);
    addLine(out,
            R"(<TABLE borderColor=black cellSpacing=0 cellPadding=0 height="99%" width="98%" )"
            "border=1>",
            12);
    addLine(out, "<TR height=10 vAlign=top><TD class=nobord>", 16);
}

void closeDayNumber(std::string &out)
{
    addLine(out, "</SPAN>", 24);
    addLine(out, "</TD>", 20);
    addLine(out, "</TR>", 16);
    addLine(out,
            "<TR vAlign=top height=3><TD class=nobord><span class=txtTiny>&nbsp;</span></TD>"
            "</TR>",
            16);
}

void closeCell(std::string &out, const std::string &comment, const std::string &banner)
{
    addLine(out, "</SPAN>", 24);
    addLine(out, "</TD>", 20);
    addLine(out, "</TR>", 16);
    addLine(out, R"(<TR><TD class=tdseperator height=1 width="100%">&nbsp;</TD></TR>)", 16);
    addLine(out, "</TABLE>", 12);
    addLine(out, comment, 12);
    addLine(out, "</TD>", 8);
    addLine(out, banner, 8);
}

// Each CR LF of the note becomes "<BR>" CR LF; lone CRs and LFs stay as they are.
std::string noteLines(const std::string &noteText)
{
    std::string lines;
    lines.reserve(noteText.size() + noteText.size() / 8);
    std::size_t from = 0;
    for (std::size_t at; (at = noteText.find("\r\n", from)) != std::string::npos; from = at + 2) {
        lines.append(noteText, from, at - from);
        lines += "<BR>\r\n";
    }
    lines.append(noteText, from);
    return lines;
}

void appendSkipCell(std::string &out, const std::string &item, sys_days day)
{
    const CellDay cell = cellDay(day);
    openCell(out, hashBanner(" BEG Skip", cell.weekday), beginItemComment(item));
    addLine(out, "<SPAN class=txtTiny>", 24);
    addLine(out, cell.dayNumber, 28);
    closeDayNumber(out);
    addLine(out, "<TR>", 16);
    addLine(out, "<TD class=nobord vAlign=top>", 20);
    addLine(out, "<SPAN class=txtNotes>&nbsp;", 24);
    addLine(out, "<BR>", 29);
    closeCell(out, endItemComment("Skip" + item), hashBanner(" END Skip", cell.weekday));
}

} // namespace

std::string BuildDayItem(short itemNumber, const std::string &dayText, const std::string &noteText,
                         bool scripts)
{
    const CellDay cell = cellDay(dayOf(dayText));
    const std::string k = std::to_string(itemNumber);
    std::string out;
    out.reserve(2048 + noteText.size());
    openCell(out, hashBanner(" BEG ", cell.weekday), beginItemComment(k));
    if (scripts)
        addLine(
            out,
            "<SPAN onclick=ToggleBox(" + k + "); id=btnDing" + k +
                R"( class=wing onselectstart="return false;" title="Show/Hide Details">6</SPAN>)",
            24);
    addLine(out,
            scripts ? R"(<SPAN class=txtDate title="Click the blue icon to expand or contract the )"
                      R"(information">)"
                    : "<SPAN class=txtDate >",
            24);
    addLine(out, cell.dayNumber, 28);
    closeDayNumber(out);
    addLine(out, scripts ? "<TR id=rowDong" + k + R"( style="DISPLAY: inline">)" : "<TR >", 16);
    addLine(out, R"(<TD style="margin-right:2pt;margin-left:2pt;" class=nobord vAlign=top>)", 20);
    addLine(out, "<SPAN class=txtNotes>&nbsp;", 24);
    addLine(out, noteLines(noteText), 28);
    closeCell(out, endItemComment(k), hashBanner(" END ", cell.weekday));
    return out;
}

std::string BuildSkipCells(short count, const std::string &startText, ReportHost &host)
{
    const auto start = dayOf(startText);
    std::string out;
    if (count <= 0 || !start)
        return out;
    for (short j = 0; j < count; ++j) {
        appendSkipCell(out, std::to_string(j) + "-" + startText, *start + days(j));
        host.processPendingEvents();
    }
    return out;
}

} // namespace tamcal
