#include "report/daycells.h"

#include "documentlines.h"
#include "fakereporthost.h"

#include <gtest/gtest.h>

using tamcal::BuildDayItem;
using tamcal::BuildSkipCells;

using tamcal::test::splitLines;

namespace {

// The document form of lines: each one CR LF and its text.
std::string documentLines(std::initializer_list<std::string> lines)
{
    std::string text;
    for (const std::string &line : lines)
        text += "\r\n" + line;
    return text;
}

std::string indent(int count, const std::string &text)
{
    return std::string(count, ' ') + text;
}

const std::string kHashes(55, '#');

} // namespace

TEST(DayCells, DayItemWithScriptsIsExact)
{
    const std::string expected = documentLines({
        indent(8, "<!-- " + kHashes + " BEG SUN  -->"),
        indent(9, R"(<TD class=nobord valign=top height="99%">)"),
        indent(12, R"(<!-- /////////////// BEGIN ITEM 0 \\\\\\\\\\\\\\\\\\\ -->)"),
        indent(12, R"(<TABLE borderColor=black cellSpacing=0 cellPadding=0 height="99%" )"
                   R"(width="98%" border=1>)"),
        indent(16, "<TR height=10 vAlign=top><TD class=nobord>"),
        indent(24, R"(<SPAN onclick=ToggleBox(0); id=btnDing0 class=wing )"
                   R"(onselectstart="return false;" title="Show/Hide Details">6</SPAN>)"),
        indent(24, R"(<SPAN class=txtDate title="Click the blue icon to expand or contract )"
                   R"(the information">)"),
        indent(28, "05"),
        indent(24, "</SPAN>"),
        indent(20, "</TD>"),
        indent(16, "</TR>"),
        indent(16, "<TR vAlign=top height=3><TD class=nobord><span class=txtTiny>&nbsp;</span>"
                   "</TD></TR>"),
        indent(16, R"(<TR id=rowDong0 style="DISPLAY: inline">)"),
        indent(20, R"(<TD style="margin-right:2pt;margin-left:2pt;" class=nobord vAlign=top>)"),
        indent(24, "<SPAN class=txtNotes>&nbsp;"),
        indent(28, "Dentist at 10"),
        indent(24, "</SPAN>"),
        indent(20, "</TD>"),
        indent(16, "</TR>"),
        indent(16, R"(<TR><TD class=tdseperator height=1 width="100%">&nbsp;</TD></TR>)"),
        indent(12, "</TABLE>"),
        indent(12, "<!-- /////////////// END ITEM 0 ///////////////  -->"),
        indent(8, "</TD>"),
        indent(8, "<!-- " + kHashes + " END SUN  -->"),
    });
    EXPECT_EQ(BuildDayItem(0, "01/05/2003", "Dentist at 10", true), expected);
}

TEST(DayCells, DayItemWithoutScriptsHasNoToggleNoIdsNoTitle)
{
    const auto lines = splitLines(BuildDayItem(7, "1/5/2003", "Dentist at 10", false));
    ASSERT_EQ(lines.size(), 24u); // the leading empty piece and 23 lines
    EXPECT_EQ(lines[6], indent(24, "<SPAN class=txtDate >"));
    EXPECT_EQ(lines[7], indent(28, "05"));
    EXPECT_EQ(lines[12], indent(16, "<TR >"));
    EXPECT_EQ(lines[3], indent(12, R"(<!-- /////////////// BEGIN ITEM 7 \\\\\\\\\\\\\\\\\\\ -->)"));
    const std::string all = BuildDayItem(7, "1/5/2003", "Dentist at 10", false);
    for (const char *absent : {"btnDing", "rowDong", "title=", "ToggleBox"})
        EXPECT_EQ(all.find(absent), std::string::npos) << absent;
}

TEST(DayCells, NoteTextGoesInAsItIsWithLineBreaksMarked)
{
    struct Case
    {
        const char *name;
        std::string note;
        std::string written; // after the 28-blank indent, up to the "</SPAN>" line
    };
    const Case cases[] = {
        {"empty note", "", ""},
        {"two lines", "a\r\nb", "a<BR>\r\nb"},
        {"three lines", "one\r\ntwo\r\nthree", "one<BR>\r\ntwo<BR>\r\nthree"},
        {"empty line inside", "a\r\n\r\nb", "a<BR>\r\n<BR>\r\nb"},
        {"lone CR and LF stay", "a\rb\nc\n\rd", "a\rb\nc\n\rd"},
        {"markup kept", "<b>bold</b> & <a href=\"x\">", "<b>bold</b> & <a href=\"x\">"},
        {"unreadable note", "~!##!~", "~!##!~"},
        {"ends with a line break", "a\r\n", "a<BR>\r\n"},
        {"high bytes", "caf\xE9", "caf\xE9"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        const std::string item = BuildDayItem(3, "07/04/2004", c.note, true);
        const std::string opening = "<SPAN class=txtNotes>&nbsp;\r\n" + std::string(28, ' ');
        const std::size_t from = item.find(opening) + opening.size();
        const std::size_t to = item.find("\r\n" + indent(24, "</SPAN>"), from);
        EXPECT_EQ(item.substr(from, to - from), c.written);
    }
}

TEST(DayCells, SkipCellsNumberTheirRunAndTheirDays)
{
    tamcal::test::FakeReportHost host;
    const auto lines = splitLines(BuildSkipCells(3, "01/26/2003", host));
    EXPECT_EQ(host.yields, 3);
    ASSERT_EQ(lines.size(), 1u + 3 * 23);
    const char *weekdays[] = {"SUN", "MON", "TUE"};
    const char *dayNumbers[] = {"26", "27", "28"};
    for (int j = 0; j < 3; ++j) {
        SCOPED_TRACE(j);
        const auto cell = lines.begin() + 1 + 23 * j;
        const std::string run = std::to_string(j) + "-01/26/2003";
        EXPECT_EQ(cell[0], indent(8, "<!-- " + kHashes + " BEG Skip" + weekdays[j] + "  -->"));
        EXPECT_EQ(cell[2], indent(12, "<!-- /////////////// BEGIN ITEM " + run + " " +
                                          std::string(19, '\\') + " -->"));
        EXPECT_EQ(cell[5], indent(24, "<SPAN class=txtTiny>"));
        EXPECT_EQ(cell[6], indent(28, dayNumbers[j]));
        EXPECT_EQ(cell[11], indent(16, "<TR>"));
        EXPECT_EQ(cell[12], indent(20, "<TD class=nobord vAlign=top>"));
        EXPECT_EQ(cell[14], indent(29, "<BR>"));
        EXPECT_EQ(cell[20], indent(12, "<!-- /////////////// END ITEM Skip" + run + " " +
                                           std::string(15, '/') + "  -->"));
        EXPECT_EQ(cell[22], indent(8, "<!-- " + kHashes + " END Skip" + weekdays[j] + "  -->"));
    }
}

TEST(DayCells, SkipCellsCrossAMonthEndAndIgnoreEmptyRuns)
{
    tamcal::test::FakeReportHost host;
    const auto lines = splitLines(BuildSkipCells(2, "02/28/2010", host));
    ASSERT_EQ(lines.size(), 1u + 2 * 23);
    EXPECT_EQ(lines[7], indent(28, "28"));
    EXPECT_EQ(lines[23 + 7], indent(28, "01"));
    EXPECT_NE(lines[23 + 3].find("BEGIN ITEM 1-02/28/2010 "), std::string::npos);
    for (short count : {0, -1}) {
        EXPECT_EQ(BuildSkipCells(count, "02/28/2010", host), "");
        EXPECT_EQ(host.yields, 2);
    }
    const std::string cells = BuildSkipCells(1, "02/28/2010", host);
    for (const char *absent : {"btnDing", "rowDong", "title=", "ToggleBox"})
        EXPECT_EQ(cells.find(absent), std::string::npos) << absent;
}
