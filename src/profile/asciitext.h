#pragma once

#include <string>
#include <string_view>

// Small text helpers for profile names, booleans and date text. They know only
// ASCII: blanks are space and tab, letter case is A-Z against a-z, and every
// other byte (0x80-0xFF included) stays as it is whatever the C locale says.
namespace tamcal {

bool isBlank(char c);
std::string_view trimLeadingBlanks(std::string_view text);
std::string_view trimTrailingBlanks(std::string_view text);
std::string_view trimBlanks(std::string_view text);

char lowerAscii(char c);
char upperAscii(char c);
std::string lowerAscii(std::string_view text);
bool equalsIgnoringAsciiCase(std::string_view a, std::string_view b);

} // namespace tamcal
