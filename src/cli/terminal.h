#pragma once

#include <optional>
#include <string>

namespace tamcal {

// Shows the prompt on standard error and reads one line from the terminal on
// standard input without showing what is typed. Nothing when the input ends.
std::optional<std::string> readHiddenLine(const char *prompt);

} // namespace tamcal
