#pragma once

#include <string>
#include <string_view>

namespace tamcal {

// The start of every enciphered form.
inline constexpr std::string_view kCipherMarker = "737";

// Whether a stored value is in the enciphered form: the marker and an odd
// number of digits (3 + 2 a byte). A plain hex form always has an even number,
// even when its first character's code, like that of "s", begins with 737.
bool isEncipheredForm(std::string_view value);

// The plain hex form of a text (decode false: two uppercase digits a byte), or
// the text a plain hex form stands for (decode true).
std::string HexCode(const std::string &text, bool decode);

// RC4 under `key`, written as hex behind the marker "737". A text that starts
// with the marker is deciphered, any other is enciphered. Empty key or empty
// input gives empty text.
std::string CryptText(const std::string &text, const std::string &key);

} // namespace tamcal
