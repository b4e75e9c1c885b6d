// Profiles that people, other programs and accidents make: a byte-order mark,
// NUL bytes, a line of 10 MB, a file of 50 MB, CR-only line ends, a section
// line without "]". Each is read without a crash, within the test's time limit,
// and a write through it changes its one line and keeps every other byte.
#include "support/tempfolder.h"

#include "profile/inifile.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <functional>
#include <limits>
#include <ostream>
#include <vector>

namespace tamcal::test {
namespace {

using namespace std::string_literals;

constexpr std::size_t kMegabyte = 1024 * 1024;
constexpr auto kWhole = std::numeric_limits<std::size_t>::max();

struct KeyRead
{
    std::string section;
    std::string key;
    std::string expected; // "none" is the default given
};

struct HostileCase
{
    const char *name;
    std::function<std::string()> file;
    std::vector<KeyRead> reads;
    KeyRead write; // what to store, and then read back
    std::function<std::string(const std::string &before)> after;
};

void PrintTo(const HostileCase &c, std::ostream *out)
{
    *out << c.name;
}

std::string replaced(std::string bytes, const std::string &from, const std::string &to)
{
    return bytes.replace(bytes.find(from), from.size(), to);
}

// 50 MB of notes in 100-byte CR LF lines behind a small [Main].
std::string fiftyMegabyteProfile()
{
    std::string bytes = "[Main]\r\nUsePass=False\r\n[Days]\r\n";
    bytes.reserve(51 * kMegabyte);
    const std::string filler(88, 'C');
    char key[16];
    for (int i = 0; bytes.size() < 50 * kMegabyte; ++i) {
        std::snprintf(key, sizeof key, "K%07d=", i);
        bytes.append(key).append(filler).append("\r\n");
    }
    return bytes + "07042004T=4142\r\n";
}

// Reports where two large byte strings part, instead of printing them whole.
testing::AssertionResult sameBytes(const std::string &actual, const std::string &expected)
{
    if (actual == expected)
        return testing::AssertionSuccess();
    std::size_t at = 0;
    while (at < actual.size() && at < expected.size() && actual[at] == expected[at])
        ++at;
    return testing::AssertionFailure()
           << "sizes " << actual.size() << " and " << expected.size() << ", first difference at "
           << at << ": \"" << actual.substr(at, 40) << "\" instead of \"" << expected.substr(at, 40)
           << "\"";
}

const HostileCase kCases[] = {
    {"byte_order_mark",
     [] { return "\xEF\xBB\xBF[Days]\r\n07042004T=4142\r\n"s; },
     {{"Days", "07042004T", "4142"}},
     {"Days", "07052004T", "43"},
     [](const std::string &before) { return before + "07052004T=43\r\n"; }},
    {"nul_bytes",
     [] { return "[Main]\nUse\0Pass=1\n[Days]\n07042004T=41\0 42\n07052004T=43\n"s; },
     {{"Days", "07052004T", "43"}},
     {"Days", "07052004T", "44"},
     [](const std::string &before) { return replaced(before, "07052004T=43", "07052004T=44"); }},
    {"value_of_10_mb",
     [] { return "[Days]\n07042004T=" + std::string(10 * kMegabyte, 'A') + "\n07052004T=43\n"; },
     {{"Days", "07052004T", "43"}},
     {"Days", "07052004T", "44"},
     [](const std::string &before) { return replaced(before, "07052004T=43", "07052004T=44"); }},
    {"junk_line_of_10_mb",
     [] { return "[Days]\n" + std::string(10 * kMegabyte, 'x') + "\n07042004T=41\n"; },
     {{"Days", "07042004T", "41"}},
     {"Days", "07052004T", "43"},
     [](const std::string &before) { return before + "07052004T=43\n"; }},
    {"profile_of_50_mb",
     fiftyMegabyteProfile,
     {{"Days", "07042004T", "4142"}, {"Days", "07052004T", "none"}},
     {"Main", "UsePass", "True"},
     [](const std::string &before) { return replaced(before, "UsePass=False", "UsePass=True"); }},
    {"cr_only_line_ends",
     [] { return "[Main]\rUsePass=False\r[Days]\r07042004T=41\r"s; },
     {{"Main", "UsePass", "False"}, {"Days", "07042004T", "41"}},
     {"Days", "07042004T", "42"},
     [](const std::string &before) { return replaced(before, "07042004T=41", "07042004T=42"); }},
    {"section_line_without_bracket",
     [] { return "[Days\n07042004T=41\n[Main]\nUsePass=True\n"s; },
     {{"Days", "07042004T", "none"}, {"Main", "UsePass", "True"}},
     {"Days", "07042004T", "42"},
     [](const std::string &before) { return before + "[Days]\n07042004T=42\n"; }},
};

class HostileFile : public testing::TestWithParam<HostileCase>
{
};

TEST_P(HostileFile, ReadsAndOneWriteKeepEveryOtherLine)
{
    const HostileCase &c = GetParam();
    TempFolder folder;
    const std::string profile = folder.file("tamcal.ini");
    const std::string before = c.file();
    writeBytes(profile, before);
    for (const KeyRead &read : c.reads)
        EXPECT_EQ(ReadIni(read.section, read.key, "none", profile, kWhole), read.expected)
            << read.section << "/" << read.key;
    EXPECT_TRUE(sameBytes(readBytes(profile), before)) << "a read changed the file";

    ASSERT_TRUE(WriteIni(c.write.section, c.write.key, c.write.expected, profile));
    EXPECT_TRUE(sameBytes(readBytes(profile), c.after(before)));
    EXPECT_EQ(ReadIni(c.write.section, c.write.key, "none", profile), c.write.expected);
    for (const KeyRead &read : c.reads) {
        if (read.key != c.write.key) {
            EXPECT_EQ(ReadIni(read.section, read.key, "none", profile, kWhole), read.expected);
        }
    }
}

TEST(HostileFile, LongValueReadsCutUnlessAskedWhole)
{
    TempFolder folder;
    const std::string profile = folder.file("tamcal.ini");
    const std::string value(10 * kMegabyte, 'A');
    writeBytes(profile, "[Days]\n07042004T=" + value + "\n");
    EXPECT_EQ(ReadIni("Days", "07042004T", "", profile), value.substr(0, kIniValueLimit));
    EXPECT_EQ(IniAccess("Days", "07042004T", "", false, profile), value.substr(0, kIniValueLimit));
    EXPECT_TRUE(ReadIni("Days", "07042004T", "", profile, kWhole) == value);
}

INSTANTIATE_TEST_SUITE_P(Files, HostileFile, testing::ValuesIn(kCases),
                         [](const auto &testInfo) { return std::string(testInfo.param.name); });

} // namespace
} // namespace tamcal::test
