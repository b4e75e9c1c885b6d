// Arbitrary text through the plain hex form, the cipher and the password
// session: decoding anything is safe and gives as many bytes as it reads pairs,
// every text comes back from encoding and from enciphering under any key, and
// a note stored under the session's password reads back without a question.
//
// Input: byte 0 is the key's length, the key follows, the rest is the text.
#include "notes/cipher.h"
#include "notes/password.h"

#include "support/fakeprompt.h"

#include "fuzzcheck.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace {

using tamcal::fuzz::check;

bool isUpperHex(std::string_view text)
{
    return text.find_first_not_of("0123456789ABCDEF") == std::string_view::npos;
}

// n / 2 with halves going to the even neighbour, the count of pairs decoded.
std::size_t pairCount(std::size_t n)
{
    const std::size_t half = n / 2;
    return (n % 2 == 1 && half % 2 == 1) ? half + 1 : half;
}

void checkHexCode(const std::string &text)
{
    const std::string hex = tamcal::HexCode(text, false);
    check(hex.size() == 2 * text.size() && isUpperHex(hex), "plain hex form shape");
    check(tamcal::HexCode(hex, true) == text, "plain hex round trip");
    check(tamcal::HexCode(text, true).size() == pairCount(text.size()), "decoded length");
}

void checkCryptText(const std::string &text, const std::string &key)
{
    const std::string result = tamcal::CryptText(text, key);
    if (key.empty() || text.empty()) {
        check(result.empty(), "empty key or text gives empty text");
        return;
    }
    if (text.starts_with("737")) {
        check(result.size() <= (text.size() - 2) / 2, "deciphered length");
        return;
    }
    check(result.size() == 3 + 2 * text.size() && result.starts_with("737") &&
              isUpperHex(std::string_view(result).substr(3)),
          "enciphered form shape");
    check(tamcal::CryptText(result, key) == text, "cipher round trip");
    // Deciphering the marked plain hex form runs the same keystream over the text.
    const std::string keystreamed = tamcal::CryptText("737" + tamcal::HexCode(text, false), key);
    check("737" + tamcal::HexCode(keystreamed, false) == result, "both directions agree");
}

void checkPasswordSession(const std::string &note, const std::string &password)
{
    if (password.empty() || note.empty())
        return;
    // A password already known to be right: it enciphers without any question.
    tamcal::CurrentPassword = password;
    tamcal::CurrentPasswordStanding = tamcal::PasswordStanding::Trusted;
    tamcal::test::FakePrompt prompt;
    const auto stored = tamcal::EncryptNote(note, prompt);
    if ((password + note).starts_with("737")) {
        check(!stored && prompt.messages.size() == 1, "a clash with the marker is told");
        return;
    }
    check(stored && tamcal::DecryptNote(*stored, prompt) == note, "password session round trip");
    check(prompt.messages.empty() && prompt.passwordRequests.empty(), "nothing was asked");
    tamcal::DecryptNote(note, prompt);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const std::string_view input(reinterpret_cast<const char *>(data), size);
    const std::size_t keyLength = input.empty() ? 0 : std::min<std::size_t>(data[0], size - 1);
    const std::string key(input.substr(input.empty() ? 0 : 1, keyLength));
    const std::string text(input.substr(std::min<std::size_t>(size, 1 + keyLength)));
    checkHexCode(text);
    checkCryptText(text, key);
    checkCryptText("737" + text, key);
    checkPasswordSession(text, key);
    return 0;
}
