#include "profile/inifile.h"

#include "profile/settings.h"
#include "support/childprocess.h"
#include "support/tempfolder.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <cstdint>
#include <functional>
#include <thread>
#include <vector>

namespace tamcal {
namespace {

using test::readBytes;
using test::TempFolder;
using test::writeBytes;

std::string withoutBlanksAround(const std::string &text)
{
    const std::size_t first = text.find_first_not_of(" \t");
    if (first == std::string::npos)
        return {};
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

struct ReadCase
{
    const char *name;
    std::string file;
    std::string section;
    std::string key;
    std::string expected;
};

// Every case reads with the default "<default>", so a default coming back shows.
const ReadCase kReadCases[] = {
    {"plain key", "[Main]\r\nUsePass=True\r\n", "Main", "UsePass", "True"},
    {"missing key", "[Main]\r\nUsePass=True\r\n", "Main", "DoPopup", "<default>"},
    {"missing section", "[Main]\r\nUsePass=True\r\n", "Days", "UsePass", "<default>"},
    {"letter case of A-Z ignored", "[mAIn]\nusepass=1\n", "MAIN", "USEPASS", "1"},
    {"other bytes match exactly", "[\xC4]\nk=1\n", "\xE4", "k", "<default>"},
    {"blanks around names and =", "  [ Main ]  \n\t Key \t=  value  \n", " Main ", "Key\t",
     "value"},
    {"blank inside a name counts", "[Main]\nmy key=1\n", "Main", "mykey", "<default>"},
    {"double quotes removed", "[S]\nk= \"a b\" \n", "S", "k", "a b"},
    {"single quotes removed", "[S]\nk='x'\n", "S", "k", "x"},
    {"unmatched quotes kept", "[S]\nk=\"x'\n", "S", "k", "\"x'"},
    {"lone quote kept", "[S]\nk=\"\n", "S", "k", "\""},
    {"only one pair removed", "[S]\nk=\"\"x\"\"\n", "S", "k", "\"x\""},
    {"no trailing comments", "[S]\na=1 ; x\n", "S", "a", "1 ; x"},
    {"value holding =", "[S]\nk=a=b\n", "S", "k", "a=b"},
    {"empty value is not the default", "[S]\nk=\n", "S", "k", ""},
    {"blank value is empty", "[S]\nk= \t \n", "S", "k", ""},
    {"comment is never a key", "[S]\n;k=1\n  ;k=2\n", "S", ";k", "<default>"},
    {"line without = is no key", "[S]\nk\n", "S", "k", "<default>"},
    {"[ without ] is no section", "[S]\n[T\nk=1\n", "S", "k", "1"},
    {"[ without ] holding = is a key", "[S]\n[T=1\n", "S", "[T", "1"},
    {"section name runs to the last ]", "[a]b] x\nk=1\n", "a]b", "k", "1"},
    {"first of repeated sections searched", "[S]\na=1\n[S]\nb=2\n", "S", "b", "<default>"},
    {"first of repeated keys wins", "[S]\nk=1\nk=2\n", "S", "k", "1"},
    {"lines before any section", "k=0\n[S]\nk=1\n", "", "k", "0"},
    {"CR-only line ends", "[S]\rk=1\rj=2", "S", "j", "2"},
    {"mixed line ends", "[S]\r\na=1\nb=2\rc=3\r\n", "S", "c", "3"},
    {"byte-order mark ignored", "\xEF\xBB\xBF[S]\r\nk=1\r\n", "S", "k", "1"},
    {"high bytes and NUL are bytes", std::string("[S]\nk=\xE9\0\xFF\n", 10), "S", "k",
     std::string("\xE9\0\xFF", 3)},
};

TEST(ReadIni, FollowsTheProfileRules)
{
    for (const ReadCase &c : kReadCases) {
        SCOPED_TRACE(c.name);
        TempFolder folder;
        const std::string path = folder.file("tamcal.ini");
        writeBytes(path, c.file);
        EXPECT_EQ(ReadIni(c.section, c.key, "<default>", path), c.expected);
        EXPECT_EQ(readBytes(path), c.file);
    }
}

TEST(ReadIni, MissingFileGivesTheDefaultAndCreatesNothing)
{
    TempFolder folder;
    const std::string path = folder.file("tamcal.ini");
    EXPECT_EQ(ReadIni("Main", "UsePass", "0", path), "0");
    EXPECT_EQ(ReadIni("Main", "UsePass", " d \t", path), " d");
    EXPECT_TRUE(folder.names().empty());
}

struct WriteCase
{
    const char *name;
    std::string before;
    std::string section;
    std::string key;
    std::optional<std::string> value;
    std::string after;
};

const WriteCase kWriteCases[] = {
    {"replace keeps the name's spelling and every other line",
     "; note\r\n[Main]\r\n  UsePass = 0 \r\n\r\n[Other]\r\nx=1\r\n", "main", "USEPASS", "True",
     "; note\r\n[Main]\r\nUsePass=True\r\n\r\n[Other]\r\nx=1\r\n"},
    {"new key after the section's last non-blank line", "[A]\r\na=1\r\n\r\n[B]\r\nb=1\r\n", "A",
     "n", "2", "[A]\r\na=1\r\nn=2\r\n\r\n[B]\r\nb=1\r\n"},
    {"a comment counts as non-blank", "[A]\na=1\n; end\n\n[B]\n", "A", "n", "2",
     "[A]\na=1\n; end\nn=2\n\n[B]\n"},
    {"new key in a section with no keys", "[S]\r\n\r\n", "S", "k", "v", "[S]\r\nk=v\r\n\r\n"},
    {"new key after a last line without line end", "[A]\na=1", "A", "n", "2", "[A]\na=1\nn=2\n"},
    {"new section at the end", "[A]\r\na=1\r\n", "B", "k", "v", "[A]\r\na=1\r\n[B]\r\nk=v\r\n"},
    {"new section after a missing final line end", "[A]\na=1", "B", "k", "v",
     "[A]\na=1\n[B]\nk=v\n"},
    {"new section after blank lines adds none", "[A]\na=1\n\n", "B", "k", "v",
     "[A]\na=1\n\n[B]\nk=v\n"},
    {"new lines take the first line break", "[A]\na=1\r\n", "B", "k", "v",
     "[A]\na=1\r\n[B]\nk=v\n"},
    {"CR-only file stays CR-only", "[A]\ra=1\r", "A", "n", "2", "[A]\ra=1\rn=2\r"},
    {"names written without surrounding blanks", "", " S ", " k ", "v", "[S]\r\nk=v\r\n"},
    {"key before any section", "[S]\r\n", "", "k", "1", "k=1\r\n[S]\r\n"},
    {"remove takes the whole line", "[A]\r\na=1\r\nb=2\r\n", "A", "a", std::nullopt,
     "[A]\r\nb=2\r\n"},
    {"remove keeps an emptied section", "[A]\r\na=1\r\n", "A", "a", std::nullopt, "[A]\r\n"},
    {"remove a last line without line end", "[A]\na=1\nb=2", "A", "b", std::nullopt, "[A]\na=1\n"},
    {"remove a missing key changes nothing", "[A]\na=1", "A", "b", std::nullopt, "[A]\na=1"},
    {"remove from a missing section changes nothing", "[A]\na=1", "B", "a", std::nullopt,
     "[A]\na=1"},
    {"empty value", "[A]\r\na=1\r\n", "A", "a", "", "[A]\r\na=\r\n"},
    {"leading blanks of a value dropped, trailing kept", "[A]\n", "A", "a", " \t v  ",
     "[A]\na=v  \n"},
    {"first of repeated keys replaced", "[S]\nk=1\nk=2\n", "S", "k", "9", "[S]\nk=9\nk=2\n"},
    {"new key goes to the first of repeated sections", "[S]\na=1\n[T]\n[S]\nb=2\n", "S", "c", "3",
     "[S]\na=1\nc=3\n[T]\n[S]\nb=2\n"},
    {"byte-order mark kept", "\xEF\xBB\xBF[S]\r\nk=1\r\n", "S", "k", "2",
     "\xEF\xBB\xBF[S]\r\nk=2\r\n"},
    {"high bytes and NUL kept", std::string("[\xE9]\n\0x=\xFF\n", 9), "\xE9", "k",
     std::string("\xFE\0", 2), std::string("[\xE9]\n\0x=\xFF\nk=\xFE\0\n", 14)},
};

TEST(WriteIni, ChangesOnlyTheLineWritten)
{
    for (const WriteCase &c : kWriteCases) {
        SCOPED_TRACE(c.name);
        TempFolder folder;
        const std::string path = folder.file("tamcal.ini");
        writeBytes(path, c.before);
        EXPECT_TRUE(WriteIni(c.section, c.key, c.value, path));
        EXPECT_EQ(readBytes(path), c.after);
        if (c.value) {
            EXPECT_EQ(ReadIni(c.section, c.key, "<default>", path), withoutBlanksAround(*c.value));
        }
    }
}

TEST(WriteIni, NewFileUsesCrLf)
{
    TempFolder folder;
    const std::string path = folder.file("tamcal.ini");
    EXPECT_TRUE(WriteIni("Main", "UsePass", "True", path));
    EXPECT_TRUE(WriteIni("Main", "DoPopup", "False", path));
    EXPECT_EQ(readBytes(path), "[Main]\r\nUsePass=True\r\nDoPopup=False\r\n");
}

TEST(WriteIni, RemovingFromAMissingFileCreatesNothing)
{
    TempFolder folder;
    EXPECT_TRUE(WriteIni("Main", "UsePass", std::nullopt, folder.file("tamcal.ini")));
    EXPECT_TRUE(folder.names().empty());
}

struct RefusedCase
{
    const char *name;
    std::string section;
    std::string key;
    std::string value;
};

// Each would split into lines or read back as something nobody wrote.
const RefusedCase kRefusedCases[] = {
    {"LF in the value", "Main", "k", "a\nb=c"},
    {"CR in the value", "Main", "k", "a\rb"},
    {"CR LF in the value", "Main", "k", "a\r\n[Days]"},
    {"LF in the section", "Ma\nin", "k", "v"},
    {"CR in the key", "Main", "k\r", "v"},
    {"key that is a section line", "Main", "[Days]", "v"},
    {"key that is a comment", "Main", " ;k", "v"},
    {"key holding =", "Main", "a=b", "v"},
};

TEST(WriteIni, RefusesEntriesThatWouldNotReadBack)
{
    for (const RefusedCase &c : kRefusedCases) {
        SCOPED_TRACE(c.name);
        TempFolder folder;
        const std::string path = folder.file("tamcal.ini");
        EXPECT_FALSE(WriteIni(c.section, c.key, c.value, path));
        EXPECT_TRUE(folder.names().empty());
        writeBytes(path, "[Main]\nk=1\n");
        EXPECT_FALSE(WriteIni(c.section, c.key, c.value, path));
        EXPECT_EQ(readBytes(path), "[Main]\nk=1\n");
    }
}

struct BatchCase
{
    const char *name;
    std::optional<std::string> before; // no file when absent
    std::vector<IniChange> changes;
    std::optional<std::string> after;
};

const BatchCase kBatchCases[] = {
    {"replacements and a removal in one pass",
     "; mine\r\n[Main]\r\nUsePass=0\r\nDoPopup = 1\r\n\r\n[Days]\r\n01012004T=41\r\n",
     {{"main", "USEPASS", "True"}, {"Days", "01012004T", std::nullopt}, {"Main", "dopopup", ""}},
     "; mine\r\n[Main]\r\nUsePass=True\r\nDoPopup=\r\n\r\n[Days]\r\n"},
    {"new keys and a new section in order",
     "[Main]\nUsePass=0",
     {{"Main", "Background", " /x/b.jpg "}, {"Days", "k", "v"}, {"Main", "UsePass", "True"}},
     "[Main]\nUsePass=True\nBackground=/x/b.jpg \n[Days]\nk=v\n"},
    {"the same key twice: the last value, the first spelling",
     "[A]\n",
     {{"A", "Key", "1"}, {"a", "KEY", "2"}},
     "[A]\nKey=2\n"},
    {"removed and written again goes to the section's end",
     "[A]\na=1\nb=2\n[B]\n",
     {{"A", "a", std::nullopt}, {"A", "a", "3"}},
     "[A]\nb=2\na=3\n[B]\n"},
    {"a new key follows what is left once the last lines went",
     "[A]\nx=0\na=1\n\nb=2\n[B]\n",
     {{"A", "a", std::nullopt}, {"A", "b", std::nullopt}, {"A", "c", "3"}},
     "[A]\nx=0\nc=3\n\n[B]\n"},
    {"a missing file is created with CR LF",
     std::nullopt,
     {{"Main", "UsePass", "False"}, {"Main", "DoPopup", "False"}},
     "[Main]\r\nUsePass=False\r\nDoPopup=False\r\n"},
    {"removing from a missing file creates nothing",
     std::nullopt,
     {{"Main", "UsePass", std::nullopt}},
     std::nullopt},
    {"values already stored leave the file alone",
     "[Main]\nUsePass=True\n",
     {{"Main", "UsePass", "True"}, {"Main", "gone", std::nullopt}},
     "[Main]\nUsePass=True\n"},
};

TEST(WriteIniBatch, EndsAsWritingEachChangeInTurn)
{
    for (const BatchCase &c : kBatchCases) {
        SCOPED_TRACE(c.name);
        TempFolder folder;
        const std::string batch = folder.file("batch.ini");
        const std::string inTurn = folder.file("inturn.ini");
        if (c.before) {
            writeBytes(batch, *c.before);
            writeBytes(inTurn, *c.before);
        }
        EXPECT_TRUE(WriteIniBatch(c.changes, batch));
        for (const IniChange &change : c.changes)
            EXPECT_TRUE(WriteIni(change.section, change.key, change.value, inTurn));
        EXPECT_EQ(test::exists(batch), c.after.has_value());
        EXPECT_EQ(readBytes(batch), c.after.value_or(""));
        EXPECT_EQ(readBytes(batch), readBytes(inTurn));
    }
}

TEST(WriteIniBatch, OneEntryThatWouldNotReadBackRefusesTheBatch)
{
    TempFolder folder;
    const std::string path = folder.file("tamcal.ini");
    const std::vector<IniChange> changes = {{"Main", "UsePass", "True"},
                                            {"Main", "Background", "a\nb"}};
    EXPECT_FALSE(WriteIniBatch(changes, path));
    EXPECT_TRUE(folder.names().empty());
    writeBytes(path, "[Main]\nUsePass=False\n");
    EXPECT_FALSE(WriteIniBatch(changes, path));
    EXPECT_EQ(readBytes(path), "[Main]\nUsePass=False\n");
}

TEST(IniAccess, CutsLongValuesWhereReadIniCanReadThemWhole)
{
    TempFolder folder;
    const std::string path = folder.file("tamcal.ini");
    std::string value(2500, 'x');
    for (std::size_t i = 0; i < value.size(); ++i)
        value[i] = static_cast<char>('a' + i % 26);
    EXPECT_EQ(IniAccess("Days", "01012004T", value, true, path), "");
    EXPECT_EQ(IniAccess("Days", "01012004T", "", false, path), value.substr(0, 1999));
    EXPECT_EQ(ReadIni("Days", "01012004T", "", path, SIZE_MAX), value);
    EXPECT_EQ(IniAccess("Days", "none", std::string(2100, 'd'), false, path),
              std::string(1999, 'd'));
}

TEST(IniAccess, EmptyFileMeansTheProfile)
{
    TempFolder folder;
    AppSettings.IniPath = folder.file("tamcal.ini");
    IniAccess("Main", "Background", "", true);
    EXPECT_EQ(IniAccess("Main", "Background", "/x/Background.jpg", false), "");
    EXPECT_EQ(IniAccess("Main", "UsePass", "0", false), "0");
    IniAccess("Main", "Background", std::nullopt, true);
    EXPECT_EQ(IniAccess("Main", "Background", "/x/Background.jpg", false), "/x/Background.jpg");
    EXPECT_EQ(readBytes(AppSettings.IniPath), "[Main]\r\n");
    AppSettings.IniPath.clear();
}

class ProfileFile : public ::testing::Test
{
protected:
    TempFolder folder;
    const std::string path = folder.file("tamcal.ini");
    const std::string original = "; kept\r\n[Main]\r\nUsePass=False\r\n";

    void SetUp() override { writeBytes(path, original); }

    void expectUnchangedAndReadable()
    {
        EXPECT_EQ(readBytes(path), original);
        EXPECT_EQ(ReadIni("Main", "UsePass", "", path), "False");
    }
};

TEST_F(ProfileFile, ReadOnlyFileIsNotWritten)
{
    ASSERT_EQ(::chmod(path.c_str(), 0444), 0);
    EXPECT_FALSE(WriteIni("Main", "UsePass", "True", path));
    EXPECT_FALSE(WriteIni("Main", "UsePass", std::nullopt, path));
    expectUnchangedAndReadable();
    EXPECT_EQ(folder.names(), std::set<std::string>{"tamcal.ini"});
}

// Runs `write` in a child process without root's power to ignore file
// permissions (root may write anywhere), and gives back its result.
bool writesAsUser(const std::function<bool()> &write)
{
    const test::ChildEnd end = test::runInChild([&] {
        test::dropPermissionOverride();
        return write() ? 0 : 1;
    });
    EXPECT_TRUE(end.exitCode == 0 || end.exitCode == 1);
    return end.exitCode == 0;
}

TEST_F(ProfileFile, ReadOnlyFolderIsNotWritten)
{
    ASSERT_EQ(::chmod(path.c_str(), 0666), 0);
    ASSERT_EQ(::chmod(folder.path().c_str(), 0555), 0);
    EXPECT_FALSE(writesAsUser([&] { return WriteIni("Main", "UsePass", "True", path); }));
    expectUnchangedAndReadable();
    EXPECT_EQ(folder.names(), std::set<std::string>{"tamcal.ini"});
}

TEST_F(ProfileFile, UnwritablePlacesFailWithoutCreatingAnything)
{
    EXPECT_FALSE(WriteIni("Main", "UsePass", "True", folder.file("missing/tamcal.ini")));
    EXPECT_FALSE(WriteIni("Main", "UsePass", "True", ""));
    ::mkdir(folder.file("dir.ini").c_str(), 0755);
    EXPECT_FALSE(WriteIni("Main", "UsePass", "True", folder.file("dir.ini")));
    EXPECT_EQ(ReadIni("Main", "UsePass", "d", folder.file("dir.ini")), "d");
    EXPECT_EQ(folder.names(), (std::set<std::string>{"tamcal.ini", "dir.ini"}));
}

TEST_F(ProfileFile, WriteKeepsPermissionsAndLeavesNoTemporaryFile)
{
    ASSERT_EQ(::chmod(path.c_str(), 0640), 0);
    EXPECT_TRUE(WriteIni("Main", "UsePass", "True", path));
    struct stat status;
    ASSERT_EQ(::stat(path.c_str(), &status), 0);
    EXPECT_EQ(status.st_mode & 07777, 0640u);
    EXPECT_EQ(folder.names(), (std::set<std::string>{"tamcal.ini", "tamcal.ini.lock"}));
}

TEST_F(ProfileFile, WriteThroughASymbolicLinkKeepsTheLink)
{
    const std::string link = folder.file("link.ini");
    ASSERT_EQ(::symlink(path.c_str(), link.c_str()), 0);
    EXPECT_TRUE(WriteIni("Main", "UsePass", "True", link));
    struct stat status;
    ASSERT_EQ(::lstat(link.c_str(), &status), 0);
    EXPECT_TRUE(S_ISLNK(status.st_mode));
    EXPECT_EQ(ReadIni("Main", "UsePass", "", path), "True");
}

// Another program's writes, made the ways that could fool a cache of the file.
TEST_F(ProfileFile, ReadSeesEveryChangeMadeBehindItsBack)
{
    ASSERT_EQ(ReadIni("Main", "UsePass", "", path), "False");
    const std::string sameSize = "; kept\r\n[Main]\r\nUsePass=Fals0\r\n";

    writeBytes(path, sameSize); // in place, at once
    EXPECT_EQ(ReadIni("Main", "UsePass", "", path), "Fals0");

    const std::string other = folder.file("other.ini"); // renamed over it
    writeBytes(other, original);
    ASSERT_EQ(::rename(other.c_str(), path.c_str()), 0);
    EXPECT_EQ(ReadIni("Main", "UsePass", "", path), "False");

    // In place once the cache has settled, with the old modification time put back.
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    ASSERT_EQ(ReadIni("Main", "UsePass", "", path), "False");
    struct stat before;
    ASSERT_EQ(::stat(path.c_str(), &before), 0);
    writeBytes(path, sameSize);
    const timespec times[2] = {before.st_atim, before.st_mtim};
    ASSERT_EQ(::utimensat(AT_FDCWD, path.c_str(), times, 0), 0);
    EXPECT_EQ(ReadIni("Main", "UsePass", "", path), "Fals0");

    ::unlink(path.c_str());
    EXPECT_EQ(ReadIni("Main", "UsePass", "gone", path), "gone");
}

// The program reads its profile on a second thread while its windows start.
TEST_F(ProfileFile, PreloadOnAnotherThreadNeitherHidesNorPinsAnything)
{
    std::jthread preload([&] { PreloadIni(path); });
    EXPECT_EQ(ReadIni("Main", "UsePass", "", path), "False");
    preload.join();
    writeBytes(path, "[Main]\r\nUsePass=True\r\n");
    EXPECT_EQ(ReadIni("Main", "UsePass", "", path), "True");

    const std::string later = folder.file("later.ini");
    PreloadIni(later);
    writeBytes(later, original);
    EXPECT_EQ(ReadIni("Main", "UsePass", "", later), "False");
}

TEST_F(ProfileFile, WriteBuildsOnAChangeMadeBehindItsBack)
{
    ASSERT_EQ(ReadIni("Main", "UsePass", "", path), "False");
    writeBytes(path, "[Main]\r\nUsePass=Fals0\r\n[Days]\r\n");
    EXPECT_TRUE(WriteIni("Days", "01012004T", "41", path));
    EXPECT_EQ(readBytes(path), "[Main]\r\nUsePass=Fals0\r\n[Days]\r\n01012004T=41\r\n");
}

// Two running copies of the program, each writing its own keys at the same time.
TEST_F(ProfileFile, ConcurrentWritersLoseNothing)
{
    constexpr int kWriters = 3;
    constexpr int kKeysEach = 20;
    std::vector<pid_t> children;
    for (int writer = 0; writer < kWriters; ++writer) {
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            bool ok = true;
            for (int k = 0; k < kKeysEach; ++k)
                ok = WriteIni("Days", std::to_string(writer * 100 + k), "x", path) && ok;
            ::_exit(ok ? 0 : 1);
        }
        children.push_back(child);
    }
    for (const pid_t child : children) {
        int status = 0;
        ::waitpid(child, &status, 0);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    }
    for (int writer = 0; writer < kWriters; ++writer) {
        for (int k = 0; k < kKeysEach; ++k)
            EXPECT_EQ(ReadIni("Days", std::to_string(writer * 100 + k), "lost", path), "x");
    }
    EXPECT_EQ(ReadIni("Main", "UsePass", "", path), "False");
}

} // namespace
} // namespace tamcal
