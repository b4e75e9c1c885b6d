#include "profile/asciitext.h"

#include <algorithm>

namespace tamcal {

bool isBlank(char c)
{
    return c == ' ' || c == '\t';
}

std::string_view trimLeadingBlanks(std::string_view text)
{
    while (!text.empty() && isBlank(text.front()))
        text.remove_prefix(1);
    return text;
}

std::string_view trimTrailingBlanks(std::string_view text)
{
    while (!text.empty() && isBlank(text.back()))
        text.remove_suffix(1);
    return text;
}

std::string_view trimBlanks(std::string_view text)
{
    return trimTrailingBlanks(trimLeadingBlanks(text));
}

char lowerAscii(char c)
{
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

char upperAscii(char c)
{
    return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}

std::string lowerAscii(std::string_view text)
{
    std::string lower(text);
    for (char &c : lower)
        c = lowerAscii(c);
    return lower;
}

bool equalsIgnoringAsciiCase(std::string_view a, std::string_view b)
{
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return lowerAscii(x) == lowerAscii(y);
           });
}

} // namespace tamcal
