#pragma once

#include <string>
#include <string_view>

namespace tamcal {

// Every line of the report document is CR LF followed by its text, so the
// document starts with a line end and has none after its last line.
inline void addLine(std::string &document, std::string_view text, std::size_t indent = 0)
{
    document += "\r\n";
    document.append(indent, ' ');
    document += text;
}

} // namespace tamcal
