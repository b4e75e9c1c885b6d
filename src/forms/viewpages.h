#pragma once

#include <string>

namespace tamcal {

class UserPrompt;

// The two small pages the report window shows instead of a report: the one
// shown while a report is built, and the one shown when a build wrote nothing.
std::string waitPageText();
std::string errorPageText();

// Replaces the file with the text and returns the path. An empty path becomes
// AppFolder + "tmpdump.rtf" in the caller's variable. A failing step asks
// Abort, Retry or Ignore, as the report file's writer does.
std::string WriteTextFile(const std::string &text, std::string &path, UserPrompt &prompt);

} // namespace tamcal
