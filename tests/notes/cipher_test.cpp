#include "notes/cipher.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace tamcal {
namespace {

using namespace std::string_literals;

// `hex` always decodes to `text`; it is also the text's own form when `isForm` is set.
struct HexCase
{
    const char *name;
    std::string text;
    std::string hex;
    bool isForm = true;
};

TEST(HexCode, EncodesTwoUppercaseDigitsAByteAndDecodesHalfToEvenPairs)
{
    const std::vector<HexCase> cases = {
        {"empty", "", ""},
        {"letters", "abc", "616263"},
        {"line feed alone", "\n", "0A"},
        {"code 255", "\xFF", "FF"},
        {"code 0", "\0"s, "00"},
        {"line break inside", "a\r\nb", "610D0A62"},
        {"one pair", "a", "61"},
        {"lower-case digit", "j", "6a", false},
        {"single digit rounds to no pair", "", "6", false},
        {"three digits: lone digit is the second pair", "a\x06", "616", false},
        {"five digits: last digit ignored", "ab", "61626", false},
        {"non-hex second digit keeps the first", "\x06", "6G", false},
        {"no leading hex digit reads 0", "\0"s, "G6", false},
        {"non-hex pair in the middle", "a\0c"s, "61zz63", false},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(HexCode(c.hex, true), c.text);
        if (c.isForm) {
            EXPECT_EQ(HexCode(c.text, false), c.hex);
        }
    }
}

TEST(HexCode, FormCutToAnOddLengthKeepsItsLastDigit)
{
    const std::string note(1000, 'a');
    const std::string cut = HexCode(note, false).substr(0, 1999);
    EXPECT_EQ(HexCode(cut, true), std::string(999, 'a') + "\x06");
    EXPECT_EQ(HexCode(HexCode(note, false) + "6", true).size(), 1000u);
}

TEST(HexCode, RoundTripsEveryByte)
{
    std::string all;
    for (int code = 0; code < 256; ++code)
        all += static_cast<char>(code);
    EXPECT_EQ(HexCode(HexCode(all, false), true), all);
}

// `text` gives `result`; when `isInverse` is set, `result` also gives `text` back.
struct CryptCase
{
    const char *name;
    std::string key;
    std::string text;
    std::string result;
    bool isInverse = false;
};

TEST(CryptText, PublishedRc4VectorsAndWhatAMarkedTextHolds)
{
    const std::vector<CryptCase> cases = {
        {"RC4 Key", "Key", "Plaintext", "737BBF316E8D940AF0AD3", true},
        {"RC4 Wiki", "Wiki", "pedia", "7371021BF0420", true},
        {"RC4 Secret", "Secret", "Attack at dawn", "73745A01F645FC35B383552544B9BF5", true},
        {"lower-case digits", "Key", "737bbf316e8d940af0ad3", "Plaintext"},
        {"non-hex pair is skipped", "Key", "737BBZZF316E8D940AF0AD3", "Plaintext"},
        {"half-hex pair is skipped", "Key", "737BBF3G116E8D940AF0AD3", "Plaintext"},
        {"lone last digit is a pair", "Key", "737BBF316E8D940AF0AD35", "Plaintext\x1C"},
        {"text to encipher that begins with the marker", "737x", "737xhi", ""},
        {"marker alone", "Key", "737", ""},
        {"nothing hex behind the marker", "Key", "737ZZ", ""},
        {"empty key deciphering", "", "737BBF316E8D940AF0AD3", ""},
        {"empty key enciphering", "", "Plaintext", ""},
        {"empty text", "Key", "", ""},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(CryptText(c.text, c.key), c.result);
        if (c.isInverse) {
            EXPECT_EQ(CryptText(c.result, c.key), c.text);
        }
    }
}

TEST(CryptText, RoundTripsAndKeepsTheFormsLength)
{
    std::string allBytes;
    for (int code = 0; code < 256; ++code)
        allBytes += static_cast<char>(code);
    const std::vector<CryptCase> cases = {
        {"one character", "k", "x", ""},
        {"note with line breaks", "pass", "pass line one\r\nline two\r\n", ""},
        {"every byte value", "\xFF\x80\x01", allBytes.substr(1), ""},
        {"key of every byte", allBytes, "text under a long key", ""},
        {"long note", "secret", std::string(5000, 'z'), ""},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        const std::string enciphered = CryptText(c.text, c.key);
        EXPECT_EQ(enciphered.size(), 3 + 2 * c.text.size());
        EXPECT_TRUE(enciphered.starts_with(kCipherMarker));
        EXPECT_EQ(enciphered.find_first_not_of("0123456789ABCDEF"), std::string::npos);
        EXPECT_EQ(CryptText(enciphered, c.key), c.text);
        EXPECT_EQ(CryptText(c.text, c.key), enciphered) << "same text, same key, same form";
    }
}

TEST(CryptText, KeyBeyond256CharactersAddsNothing)
{
    std::string key;
    for (int n = 0; n < 300; ++n)
        key += static_cast<char>('a' + n % 26);
    const std::string longer = key + "different tail";
    EXPECT_EQ(CryptText("note", longer), CryptText("note", key.substr(0, 256)));
}

} // namespace
} // namespace tamcal
