#pragma once

#include <optional>

namespace tamcal {

// Runs what the command line asks for without any window, and returns its exit
// status; nothing when it asks for no action, and the windows should start.
// A profile named with --profile is kept in ProfileFile for them.
std::optional<int> RunCommandLine(int argc, char *argv[]);

} // namespace tamcal
