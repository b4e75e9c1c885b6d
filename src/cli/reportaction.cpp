#include "cli/actions.h"

#include "cli/cliprompt.h"
#include "cli/output.h"
#include "profile/settings.h"
#include "report/reportdocument.h"

#include <cstdio>

namespace tamcal {

int RunReport(const ReportRequest &request, CommandLinePrompt &prompt)
{
    LoadProfileSettings();
    const std::string path =
        request.out.empty() ? AppSettings.AppFolder + "TamCalendar.htm" : request.out;
    // A file that can't be opened is named with the system's reason before
    // anything is deleted or built.
    if (const std::optional<std::string> reason = WritableReason(path))
        return ReportNotWritten(path, *reason);

    std::string end = request.end;
    short size = request.size;
    LoadReportDays(request.begin, end, prompt);
    BuildReportFile(path, request.begin, end, request.scripts, size, prompt);
    if (prompt.hasFileError())
        return ReportNotWritten(path, "the write stopped part-way (the reason is above)");
    std::printf("%s\n", path.c_str());
    return kExitSucceeded;
}

} // namespace tamcal
