#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace tamcal {

// Loads the settings of the profile that this run uses, as the calendar window
// does at start-up, without a window to take the daily pop-up or the picture.
void LoadProfileSettings();

// Why the file can't be opened for writing (the system's words), or nothing
// when it can; a missing file is created empty.
std::optional<std::string> WritableReason(const std::string &path);

// Writes the bytes in place of the file's content; empty `path` means standard
// output. Returns the system's reason when that fails.
std::optional<std::string> WriteOutput(const std::string &path, std::string_view bytes);

// Tells that the file was not written, and why; returns the exit status for it.
int ReportNotWritten(const std::string &path, const std::string &reason);

} // namespace tamcal
