#pragma once

#include <string>

namespace tamcal {

class ReportHost;

// The HTML cell of one listed day of the report: its day number, its note
// (copied unescaped, CR LF becoming "<BR>" and CR LF) and, with scripts, the
// toggle icon btnDing<k> that folds the note row rowDong<k> away.
std::string BuildDayItem(short itemNumber, const std::string &dayText, const std::string &noteText,
                         bool scripts);

// `count` blank cells, day numbers only, for the days from `startText` on.
// Lets the host's pending events run after each cell. Empty when count <= 0.
std::string BuildSkipCells(short count, const std::string &startText, ReportHost &host);

} // namespace tamcal
