// A write that fails says which step failed, on which file and why, in words a
// person can act on; and a copy of the program holding the lock makes a write
// fail after a bounded wait instead of freezing it.
#include "support/childprocess.h"
#include "support/tempfolder.h"

#include "profile/filelock.h"
#include "profile/inifile.h"

#include <gtest/gtest.h>

#include <chrono>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace tamcal::test {
namespace {

namespace fs = std::filesystem;

constexpr const char *kProfile = "[Days]\r\n07042004T=4142\r\n";

// Runs the write in a child without root's power over permissions and gives
// back describe() of its failure, or "stored" when it worked.
std::string describedInChild(const std::string &profile)
{
    int channel[2];
    if (::pipe(channel) != 0)
        return "no pipe";
    const pid_t child = startChild([&] {
        dropPermissionOverride();
        const WriteResult result = WriteIni("Days", "07042004T", "43", profile);
        const std::string text = result ? "stored" : describe(*result.failure());
        const bool sent = ::write(channel[1], text.data(), text.size()) == ssize_t(text.size());
        return sent ? 0 : 1;
    });
    ::close(channel[1]);
    std::string text;
    char buffer[512];
    for (ssize_t count; (count = ::read(channel[0], buffer, sizeof buffer)) > 0;)
        text.append(buffer, std::size_t(count));
    ::close(channel[0]);
    waitChild(child);
    return text;
}

TEST(WriteCauses, NameTheFileTheStepAndTheSystemsReason)
{
    struct Case
    {
        const char *name;
        fs::perms folder;
        fs::perms profile;
        std::string expected; // with <dir> for the folder
    };
    const fs::perms rw = fs::perms::owner_read | fs::perms::owner_write;
    const std::vector<Case> cases = {
        {"read-only profile", fs::perms::owner_all, fs::perms::owner_read,
         "The profile <dir>/tamcal.ini could not be written (checking that it may be replaced): "
         "Permission denied."},
        {"folder takes no new files", fs::perms::owner_read | fs::perms::owner_exec, rw,
         "The profile <dir>/tamcal.ini could not be written (locking it through "
         "<dir>/tamcal.ini.lock): Permission denied."},
        {"unreadable profile", fs::perms::owner_all, fs::perms::owner_write,
         "The profile <dir>/tamcal.ini could not be written (reading it): Permission denied."},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        TempFolder folder;
        const std::string profile = folder.file("tamcal.ini");
        writeBytes(profile, kProfile);
        fs::permissions(profile, c.profile);
        fs::permissions(folder.path(), c.folder);
        std::string expected = c.expected;
        for (std::size_t at; (at = expected.find("<dir>")) != std::string::npos;)
            expected.replace(at, 5, folder.path().string());
        EXPECT_EQ(describedInChild(profile), expected);
        fs::permissions(folder.path(), fs::perms::owner_all);
        fs::permissions(profile, rw);
        EXPECT_EQ(readBytes(profile), kProfile);
    }
}

TEST(WriteCauses, TheNewFileBesideTheProfileIsNamed)
{
    TempFolder folder;
    const std::string profile = folder.file("tamcal.ini");
    writeBytes(profile, kProfile);
    // The lock file exists already, so only the new file needs the folder.
    writeBytes(profile + ".lock", "");
    fs::permissions(folder.path(), fs::perms::owner_read | fs::perms::owner_exec);
    const std::string described = describedInChild(profile);
    fs::permissions(folder.path(), fs::perms::owner_all);
    EXPECT_TRUE(described.starts_with("The profile " + profile +
                                      " could not be written (creating the new file " + profile +
                                      ".tmp"))
        << described;
    EXPECT_TRUE(described.ends_with("): Permission denied.")) << described;
}

TEST(WriteCauses, RefusedEntryAndFolderInPlaceOfTheProfile)
{
    TempFolder folder;
    const std::string profile = folder.file("tamcal.ini");
    const WriteResult refused = WriteIni("Days", "07042004T", "a\nb", profile);
    ASSERT_FALSE(refused);
    EXPECT_EQ(describe(*refused.failure()),
              "The profile " + profile +
                  " was not changed: a line break cannot be kept in the profile.");
    fs::create_directory(profile);
    const WriteResult onFolder = WriteIni("Days", "07042004T", "41", profile);
    ASSERT_FALSE(onFolder);
    EXPECT_EQ(describe(*onFolder.failure()),
              "The profile " + profile + " could not be written (reading it): Is a directory.");
}

// Another copy of the program holds the lock and never lets go: the write gives
// up after the wait, says why, and leaves the profile as it was.
TEST(WriteCauses, LockHeldByAnotherProgramFailsAfterTheWait)
{
    TempFolder folder;
    const std::string profile = folder.file("tamcal.ini");
    writeBytes(profile, kProfile);
    int ready[2];
    int release[2];
    ASSERT_EQ(::pipe(ready), 0);
    ASSERT_EQ(::pipe(release), 0);
    const pid_t holder = startChild([&] {
        ::close(release[1]);
        const int lock = ::open((profile + ".lock").c_str(), O_RDONLY | O_CREAT, 0666);
        if (lock < 0 || ::flock(lock, LOCK_EX) != 0)
            return 1;
        (void)!::write(ready[1], "x", 1);
        char ignored;
        (void)!::read(release[0], &ignored, 1);
        return 0;
    });
    char signal = 0;
    ASSERT_EQ(::read(ready[0], &signal, 1), 1);

    const auto start = std::chrono::steady_clock::now();
    const WriteResult result = WriteIni("Days", "07042004T", "43", profile);
    const auto waited = std::chrono::steady_clock::now() - start;

    ::close(release[1]);
    EXPECT_EQ(waitChild(holder).exitCode, 0);
    for (const int end : {ready[0], ready[1], release[0]})
        ::close(end);
    ASSERT_FALSE(result);
    EXPECT_EQ(describe(*result.failure()),
              "The profile " + profile + " could not be written (locking it through " + profile +
                  ".lock): another program is writing "
                  "the profile.");
    EXPECT_GE(waited, kLockWait);
    EXPECT_LT(waited, kLockWait + std::chrono::seconds(5));
    EXPECT_EQ(readBytes(profile), kProfile);
    EXPECT_TRUE(WriteIni("Days", "07042004T", "43", profile)) << "free again once released";
}

} // namespace
} // namespace tamcal::test
