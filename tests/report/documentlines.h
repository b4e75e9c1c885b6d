#pragma once

#include <string>
#include <vector>

namespace tamcal::test {

// The pieces of a report text between its CR LFs; a document's first piece is
// empty, since every line starts with CR LF.
inline std::vector<std::string> splitLines(const std::string &text)
{
    std::vector<std::string> lines;
    std::size_t from = 0;
    for (std::size_t at; (at = text.find("\r\n", from)) != std::string::npos; from = at + 2)
        lines.push_back(text.substr(from, at - from));
    lines.push_back(text.substr(from));
    return lines;
}

} // namespace tamcal::test
