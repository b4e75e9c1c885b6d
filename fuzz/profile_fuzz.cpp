// Arbitrary bytes as the profile file, then reads, one write and removals
// through the profile-file operations. Keys readable before and not touched
// read the same after; a written value reads back as written; a write changes
// at most the one line it is about; a value holding a line end is refused.
//
// Input: byte 0 picks names and operations, byte 1 picks keys found in the
// file, byte 2 is the length of the value that follows; the rest is the file.
#include "profile/inifile.h"

#include "fuzzcheck.h"
#include "fuzzfolder.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <limits>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace {

using tamcal::fuzz::check;
using tamcal::fuzz::fail;

constexpr auto kWhole = std::numeric_limits<std::size_t>::max();
constexpr std::size_t kMostKeys = 24;

struct Name
{
    std::string section;
    std::string key;
};

struct Input
{
    std::uint8_t choice = 0;
    std::uint8_t pick = 0;
    std::string value;
    std::string file;
};

Input splitInput(std::string_view data)
{
    Input input;
    if (data.size() < 3) {
        input.file = data;
        return input;
    }
    input.choice = std::uint8_t(data[0]);
    input.pick = std::uint8_t(data[1]);
    const std::size_t length = std::min<std::size_t>(std::uint8_t(data[2]), data.size() - 3);
    input.value = data.substr(3, length);
    input.file = data.substr(3 + length);
    return input;
}

bool isBlank(char c)
{
    return c == ' ' || c == '\t';
}

std::string trimmed(std::string_view text)
{
    while (!text.empty() && isBlank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && isBlank(text.back()))
        text.remove_suffix(1);
    return std::string(text);
}

char lower(char c)
{
    return (c >= 'A' && c <= 'Z') ? char(c - 'A' + 'a') : c;
}

bool sameName(const std::string &a, const std::string &b)
{
    const std::string x = trimmed(a), y = trimmed(b);
    if (x.size() != y.size())
        return false;
    for (std::size_t i = 0; i < x.size(); ++i) {
        if (lower(x[i]) != lower(y[i]))
            return false;
    }
    return true;
}

// The section and key names that the file's lines hold, found the simple way:
// a reading of the file independent of the one under test.
std::vector<Name> namesInFile(std::string_view file)
{
    if (file.substr(0, 3) == "\xEF\xBB\xBF")
        file.remove_prefix(3);
    std::vector<Name> names;
    std::string section;
    while (!file.empty() && names.size() < kMostKeys) {
        const std::size_t end = std::min(file.find_first_of("\r\n"), file.size());
        const std::string line = trimmed(file.substr(0, end));
        file.remove_prefix(std::min(end + 1, file.size()));
        const std::size_t close = line.rfind(']');
        if (!line.empty() && line[0] == '[' && close != std::string::npos)
            section = trimmed(std::string_view(line).substr(1, close - 1));
        else if (!line.empty() && line[0] != ';' && line.find('=') != std::string::npos)
            names.push_back({section, trimmed(line.substr(0, line.find('=')))});
    }
    return names;
}

// A name that a write can create as a line of its own kind.
bool isWritable(const Name &name)
{
    const std::string section = trimmed(name.section), key = trimmed(name.key);
    return !section.empty() && !key.empty() && key[0] != '[' && key[0] != ';' &&
           key.find('=') == std::string::npos &&
           (section + key).find_first_of("\r\n") == std::string::npos;
}

// What a read of `value` gives once stored: blanks around it gone, and one pair
// of matching quotes around it taken off.
std::string storedForm(const std::string &value)
{
    std::string text = trimmed(value);
    if (text.size() >= 2 && text.front() == text.back() &&
        (text.front() == '"' || text.front() == '\''))
        text = text.substr(1, text.size() - 2);
    return text;
}

bool holdsLineEnd(const std::string &text)
{
    return text.find_first_of("\r\n") != std::string::npos;
}

class ProfileUnderTest
{
public:
    ProfileUnderTest() : m_folder("profile"), m_path(m_folder.prefix() + "tamcal.ini") {}

    const std::string &path() const { return m_path; }

    void reset(const std::optional<std::string> &bytes)
    {
        std::error_code ignored;
        std::filesystem::remove(m_path, ignored);
        if (!bytes)
            return;
        std::ofstream out(m_path, std::ios::binary);
        out.write(bytes->data(), std::streamsize(bytes->size()));
    }

    std::optional<std::string> bytes() const
    {
        std::ifstream in(m_path, std::ios::binary);
        if (!in)
            return std::nullopt;
        return std::string{std::istreambuf_iterator<char>(in), {}};
    }

    // The key's value, or nothing when it is not there; two different defaults
    // tell a missing key from one that holds a default's text.
    std::optional<std::string> read(const Name &name) const
    {
        for (const char *missing : {"\x01", "\x02"}) {
            std::string value = tamcal::ReadIni(name.section, name.key, missing, m_path, kWhole);
            if (value != missing)
                return value;
        }
        return std::nullopt;
    }

private:
    tamcal::fuzz::FuzzFolder m_folder;
    std::string m_path;
};

std::size_t lineEndsIn(std::string_view bytes)
{
    std::size_t count = 0;
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        const bool isCrLf = bytes[i] == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n';
        count += (bytes[i] == '\n' || (bytes[i] == '\r' && !isCrLf)) ? 1 : 0;
    }
    return count;
}

// A change of one key rewrites, adds or removes its own lines only: the bytes
// it took out hold at most one line end, and it put in no more than
// `mostAdded` bytes. Where the taken bytes could sit is ambiguous when they
// repeat their neighbours ("T=\r\nT=\r" less four bytes): the kindest place counts.
void checkOneLineChanged(const std::string &before, const std::string &after, std::size_t mostAdded)
{
    const std::size_t shorter = std::min(before.size(), after.size());
    std::size_t front = 0;
    while (front < shorter && before[front] == after[front])
        ++front;
    std::size_t back = 0;
    while (back < shorter && before[before.size() - 1 - back] == after[after.size() - 1 - back])
        ++back;
    const std::size_t kept = std::min(front + back, shorter);
    const std::size_t taken = before.size() - kept;
    const std::size_t firstStart = before.size() - std::min(before.size(), back + taken);
    std::size_t fewest = lineEndsIn(std::string_view(before).substr(firstStart, taken));
    for (std::size_t start = firstStart + 1; start <= front && fewest > 1; ++start)
        fewest = std::min(fewest, lineEndsIn(std::string_view(before).substr(start, taken)));
    check(fewest <= 1, "a change took out more than one line");
    check(after.size() - kept <= mostAdded, "a change put in more than its own lines");
}

struct Reading
{
    Name name;
    std::optional<std::string> value;
};

std::vector<Reading> readAll(const ProfileUnderTest &profile, const std::vector<Name> &names)
{
    std::vector<Reading> readings;
    for (const Name &name : names)
        readings.push_back({name, profile.read(name)});
    return readings;
}

void checkUntouchedUnchanged(const ProfileUnderTest &profile, const std::vector<Reading> &before,
                             const Name &touched)
{
    for (const Reading &reading : before) {
        if (sameName(reading.name.section, touched.section) &&
            sameName(reading.name.key, touched.key))
            continue;
        check(profile.read(reading.name) == reading.value,
              "an untouched key changed: [" + reading.name.section + "] " + reading.name.key);
    }
}

Name chooseName(const Input &input, const std::vector<Name> &names, int which)
{
    static const Name fixed[] = {{"Days", "07042004T"}, {"Main", "UsePass"}, {"Fuzz", "New"}};
    const unsigned mode = (input.choice >> (which * 2)) & 3;
    if (mode < 3 && !names.empty()) {
        const Name &found = names[(which ? input.pick >> 4 : input.pick & 15) % names.size()];
        if (isWritable(found))
            return found;
    }
    return fixed[(input.pick + mode) % 3];
}

void checkWrite(ProfileUnderTest &profile, const Name &name, const std::string &value)
{
    const auto before = profile.bytes();
    const bool isStored = tamcal::WriteIni(name.section, name.key, value, profile.path());
    if (holdsLineEnd(value)) {
        check(!isStored, "a value holding a line end was stored");
        check(profile.bytes() == before, "a refused write changed the file");
        return;
    }
    check(isStored, "a write failed");
    check(profile.read(name) == storedForm(value), "the written value does not read back");
    const std::string limited =
        tamcal::IniAccess(name.section, name.key, "", false, profile.path());
    check(limited == storedForm(value).substr(0, tamcal::kIniValueLimit), "IniAccess cut wrong");
    // At most a line end, "[section]", a line end, "key=value" and a line end.
    const std::size_t ownLines = name.section.size() + name.key.size() + value.size() + 9;
    checkOneLineChanged(before.value_or(""), profile.bytes().value_or(""), ownLines);
}

// Removes the key until no line holds it any more: the file may hold it on
// every one of its lines, and each removal takes one.
void checkRemoval(ProfileUnderTest &profile, const Name &name)
{
    const std::size_t lines = lineEndsIn(profile.bytes().value_or("")) + 1;
    for (std::size_t removal = 0; removal <= lines; ++removal) {
        const auto before = profile.bytes();
        const bool isPresent = profile.read(name).has_value();
        check(tamcal::WriteIni(name.section, name.key, std::nullopt, profile.path()),
              "a removal failed");
        if (!isPresent) {
            check(profile.bytes() == before, "removing a missing key changed the file");
            return;
        }
        checkOneLineChanged(before.value_or(""), profile.bytes().value_or(""), 2);
    }
    fail("a key is still there after as many removals as the file has lines");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    static ProfileUnderTest profile;
    Input input = splitInput(std::string_view(reinterpret_cast<const char *>(data), size));
    const bool isMissing = input.file.empty() && (input.choice & 0x40);
    profile.reset(isMissing ? std::nullopt : std::optional<std::string>(input.file));
    if (!(input.choice & 0x10))
        std::erase_if(input.value, [](char c) { return c == '\r' || c == '\n'; });

    const auto names = namesInFile(input.file);
    const auto readings = readAll(profile, names);
    check(profile.bytes() == (isMissing ? std::nullopt : std::optional<std::string>(input.file)),
          "reading changed the file");

    const Name written = chooseName(input, names, 0);
    checkWrite(profile, written, input.value);
    checkUntouchedUnchanged(profile, readings, written);

    const Name removed = (input.choice & 0x20) ? written : chooseName(input, names, 1);
    const auto afterWrite = readAll(profile, names);
    checkRemoval(profile, removed);
    checkUntouchedUnchanged(profile, afterWrite, removed);
    return 0;
}
