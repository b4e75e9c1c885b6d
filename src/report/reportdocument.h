#pragma once

#include <string>
#include <vector>

namespace tamcal {

class ReportHost;
class UserPrompt;

// The days of the last loaded report range, as date texts, and their notes as
// ReadDayNote gives them; parallel lists, each one empty entry when nothing is listed.
inline std::vector<std::string> ReportDates{std::string()};
inline std::vector<std::string> ReportNotes{std::string()};

// Lists every day from begin to end (both included) with its note. A range
// whose day count is 0 (one day, or no count) lists the begin text as given;
// an end before the begin lists nothing.
void LoadReportDays(const std::string &begin, const std::string &end, UserPrompt &prompt);

// Writes the report of the loaded days to AppFolder + "TamCalendar.htm", one
// month table per month, and returns its path; empty when the begin is no date
// and nothing was written, or when the person chose Abort at a write error. A size of 0 becomes 10
// in the caller's variable; an empty end becomes now (see DayCountText). Reports progress before
// each day.
std::string BuildReport(const std::string &begin, std::string &end, bool scripts, short &size,
                        ReportHost &host);

// The same report, written to `path` instead; returns `path`, or empty text
// when nothing was written.
std::string BuildReportFile(const std::string &path, const std::string &begin, std::string &end,
                            bool scripts, short &size, ReportHost &host);

// Removes the file when it exists and is not empty; failures go unnoticed.
void DeleteIfExists(const std::string &path);

// Appends the text to the file, creating it. An empty path becomes AppFolder +
// "tempdump.txt" in the caller's variable. A failing step asks Abort, Retry or
// Ignore. Returns the path in every case.
std::string AppendTextFile(const std::string &text, std::string &path, UserPrompt &prompt);

// Replaces the file with the text and returns the path. An empty path becomes
// AppFolder + "tmpdump.rtf" in the caller's variable. A failing step asks
// Abort, Retry or Ignore, as AppendTextFile does.
std::string WriteTextFile(const std::string &text, std::string &path, UserPrompt &prompt);

} // namespace tamcal
