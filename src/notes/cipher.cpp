#include "notes/cipher.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>
#include <utility>

namespace tamcal {

namespace {

constexpr char kHexDigits[] = "0123456789ABCDEF";

std::optional<int> hexDigitValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    return std::nullopt;
}

void appendHexByte(std::string &out, unsigned char byte)
{
    out += kHexDigits[byte >> 4];
    out += kHexDigits[byte & 0x0F];
}

// A plain-hex pair reads as the value of its leading hex digits, 0 when it has none.
char leadingHexValue(std::string_view pair)
{
    int value = 0;
    for (const char c : pair) {
        const auto digit = hexDigitValue(c);
        if (!digit)
            break;
        value = value * 16 + *digit;
    }
    return static_cast<char>(value);
}

// A pair behind the marker counts only when every character of it is a hex digit.
std::optional<char> wholeHexValue(std::string_view pair)
{
    int value = 0;
    for (const char c : pair) {
        const auto digit = hexDigitValue(c);
        if (!digit)
            return std::nullopt;
        value = value * 16 + *digit;
    }
    return static_cast<char>(value);
}

std::string encodeHex(const std::string &text)
{
    std::string out;
    out.reserve(text.size() * 2);
    for (const char c : text)
        appendHexByte(out, static_cast<unsigned char>(c));
    return out;
}

// The pair count is half the length rounded half to even, so an odd length ending in a
// lone digit adds that digit as a pair of its own only when the rounding goes up.
std::string decodeHex(const std::string &text)
{
    const std::size_t n = text.size();
    std::size_t pairs = n / 2;
    if (n % 2 == 1 && pairs % 2 == 1)
        ++pairs;
    std::string out;
    out.reserve(pairs);
    const std::string_view view(text);
    for (std::size_t p = 0; p < pairs; ++p)
        out += leadingHexValue(view.substr(p * 2, 2));
    return out;
}

std::string cipherInput(std::string_view hex)
{
    std::string out;
    out.reserve(hex.size() / 2 + 1);
    for (std::size_t pos = 0; pos < hex.size(); pos += 2) {
        if (const auto value = wholeHexValue(hex.substr(pos, 2)))
            out += *value;
    }
    return out;
}

// RC4: key scheduling, then one keystream byte per input byte, none discarded.
std::string rc4(const std::string &input, const std::string &key)
{
    std::array<std::uint8_t, 256> s{};
    for (std::size_t a = 0; a < s.size(); ++a)
        s[a] = static_cast<std::uint8_t>(a);
    std::uint8_t j = 0;
    for (std::size_t a = 0; a < s.size(); ++a) {
        j = static_cast<std::uint8_t>(j + s[a] + static_cast<std::uint8_t>(key[a % key.size()]));
        std::swap(s[a], s[j]);
    }
    std::uint8_t i = 0;
    j = 0;
    std::string out;
    out.reserve(input.size());
    for (const char c : input) {
        i = static_cast<std::uint8_t>(i + 1);
        j = static_cast<std::uint8_t>(j + s[i]);
        std::swap(s[i], s[j]);
        const std::uint8_t k = s[static_cast<std::uint8_t>(s[i] + s[j])];
        out += static_cast<char>(static_cast<std::uint8_t>(c) ^ k);
    }
    return out;
}

} // namespace

bool isEncipheredForm(std::string_view value)
{
    return value.size() > kCipherMarker.size() && value.size() % 2 == 1 &&
           value.starts_with(kCipherMarker);
}

std::string HexCode(const std::string &text, bool decode)
{
    return decode ? decodeHex(text) : encodeHex(text);
}

std::string CryptText(const std::string &text, const std::string &key)
{
    const bool deciphering = text.starts_with(kCipherMarker);
    const std::string input =
        deciphering ? cipherInput(std::string_view(text).substr(kCipherMarker.size())) : text;
    if (key.empty() || input.empty())
        return {};
    const std::string output = rc4(input, key);
    if (deciphering)
        return output;
    return std::string(kCipherMarker) + encodeHex(output);
}

} // namespace tamcal
