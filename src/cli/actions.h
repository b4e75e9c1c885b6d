#pragma once

#include <chrono>
#include <optional>
#include <string>

namespace tamcal {

class CommandLinePrompt;

// Exit statuses of the command line.
inline constexpr int kExitSucceeded = 0;
inline constexpr int kExitNotWritten = 1;
inline constexpr int kExitBadInput = 2;

// A report as the report window would build it: the dates as typed, handed to
// the generator unchanged; `out` empty means TamCalendar.htm in AppFolder.
struct ReportRequest
{
    std::string begin;
    std::string end;
    bool scripts = true;
    short size = 10;
    std::string out;
};

enum class ExportFormat { Text, Json };

// Every note from `from` to `to`, both included; an open end reaches to the
// first or the last note. `out` empty means standard output.
struct ExportRequest
{
    std::optional<std::chrono::year_month_day> from;
    std::optional<std::chrono::year_month_day> to;
    ExportFormat format = ExportFormat::Text;
    std::string out;
};

// Both load the settings of the profile (as the calendar window does when it
// starts) and never write them back. They return an exit status.
int RunReport(const ReportRequest &request, CommandLinePrompt &prompt);
int RunExport(const ExportRequest &request, CommandLinePrompt &prompt);

} // namespace tamcal
