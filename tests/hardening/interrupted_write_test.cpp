// Writes that never finish: a writer killed at random moments, and a disk that
// fills up in the middle of a write. Whatever a write had returned must be
// there afterwards, and nothing may be left half-written.
#include "samplenotes.h"
#include "support/childprocess.h"
#include "support/tempfolder.h"

#include "profile/inifile.h"

#include <gtest/gtest.h>

#include <ostream>

#include <chrono>
#include <csignal>
#include <random>
#include <set>
#include <sys/resource.h>
#include <unistd.h>
#include <vector>

namespace tamcal::test {
namespace {

// Stores sample notes from `first` on until killed, telling the parent through
// `doneFd` the index of every write that has returned.
int writeNotesUntilKilled(const std::string &profile, int first, int doneFd)
{
    for (int index = first;; ++index) {
        if (!WriteIni("Days", sampleDayKey(index), sampleValue(index), profile))
            return 3;
        if (write(doneFd, &index, sizeof index) != sizeof index)
            return 4;
    }
}

std::vector<int> readAllIndices(int fd)
{
    std::vector<int> indices;
    int index = 0;
    while (read(fd, &index, sizeof index) == sizeof index)
        indices.push_back(index);
    return indices;
}

// Starts a writer at `first`, waits for its first note, kills it `delay` later
// and gives back the indices of the writes that had returned.
std::vector<int> killWriterAfter(const std::string &profile, int first,
                                 std::chrono::microseconds delay)
{
    int fds[2];
    if (pipe(fds) != 0)
        throw std::runtime_error("pipe failed");
    const pid_t writer = startChild([&] {
        close(fds[0]);
        return writeNotesUntilKilled(profile, first, fds[1]);
    });
    close(fds[1]);
    std::vector<int> done(1);
    if (read(fds[0], done.data(), sizeof(int)) != sizeof(int))
        done.clear();
    usleep(useconds_t(delay.count()));
    kill(writer, SIGKILL);
    const ChildEnd end = waitChild(writer);
    EXPECT_EQ(end.signal, SIGKILL) << "the writer stopped by itself, exit code " << end.exitCode;
    const auto rest = readAllIndices(fds[0]);
    close(fds[0]);
    done.insert(done.end(), rest.begin(), rest.end());
    return done;
}

// How long one write of a sample note takes here: disks differ a hundredfold.
std::chrono::microseconds timeOfOneWrite(const std::string &profile, int first)
{
    constexpr int kWrites = 5;
    const auto start = std::chrono::steady_clock::now();
    for (int index = first; index < first + kWrites; ++index)
        WriteIni("Days", sampleDayKey(index), sampleValue(index), profile);
    return std::chrono::duration_cast<std::chrono::microseconds>(std::chrono::steady_clock::now() -
                                                                 start) /
           kWrites;
}

TEST(KilledWriter, EveryReturnedWriteSurvivesAndNothingIsHalfWritten)
{
    TempFolder folder;
    const std::string profile = folder.file("tamcal.ini");
    // Each writer stores one note, then the kill lands anywhere in its next few.
    const auto writeTime = timeOfOneWrite(profile, 0);
    std::mt19937 random(20040704);
    std::uniform_int_distribution<long> delayMicroseconds(0, 3 * writeTime.count());
    std::set<int> stored{0, 1, 2, 3, 4};
    int next = int(stored.size());
    for (int round = 0; round < 50; ++round) {
        SCOPED_TRACE("kill " + std::to_string(round));
        const int first = next;
        const auto done =
            killWriterAfter(profile, first, std::chrono::microseconds(delayMicroseconds(random)));
        const int inFlight = first + int(done.size());
        const auto notes = parseDaysProfile(readBytes(profile));
        ASSERT_TRUE(notes) << "the profile holds a line that is not a whole note";
        std::set<int> nowStored;
        for (const auto &[key, value] : *notes) {
            const auto index = sampleDayIndex(key);
            ASSERT_TRUE(index && *index <= inFlight) << "nobody wrote " << key;
            EXPECT_EQ(value, sampleValue(*index)) << key;
            nowStored.insert(*index);
        }
        for (int index : stored)
            EXPECT_TRUE(nowStored.count(index)) << "lost " << sampleDayKey(index);
        for (int index : done)
            EXPECT_TRUE(nowStored.count(index)) << "lost returned " << sampleDayKey(index);
        stored = nowStored;
        next = inFlight + 1;
    }
    EXPECT_TRUE(WriteIni("Days", sampleDayKey(next), sampleValue(next), profile))
        << "the kills left the profile unwritable";
    EXPECT_EQ(ReadIni("Days", sampleDayKey(next), "", profile), sampleValue(next));
}

struct FullDiskCase
{
    const char *name;
    long bytesOverOldSize; // the file size limit, relative to the old profile
    bool isSignalIgnored;  // SIGXFSZ ignored: the write sees EFBIG and goes on
};

void PrintTo(const FullDiskCase &c, std::ostream *out)
{
    *out << c.name;
}

class FullDisk : public testing::TestWithParam<FullDiskCase>
{
};

// The old profile: 30 notes. The write that fails adds a note of 2000 bytes.
TEST_P(FullDisk, FailedWriteLeavesTheOldProfileAndSaysSo)
{
    const FullDiskCase &c = GetParam();
    TempFolder folder;
    const std::string profile = folder.file("tamcal.ini");
    for (int index = 0; index < 30; ++index)
        ASSERT_TRUE(WriteIni("Days", sampleDayKey(index), sampleValue(index), profile));
    const std::string before = readBytes(profile);
    const std::string filesBefore = folder.listing();

    const ChildEnd end = runInChild([&] {
        const rlim_t limit = rlim_t(long(before.size()) + c.bytesOverOldSize);
        const rlimit fileSize{limit, limit};
        if (setrlimit(RLIMIT_FSIZE, &fileSize) != 0)
            return 5;
        if (c.isSignalIgnored)
            std::signal(SIGXFSZ, SIG_IGN);
        return WriteIni("Days", sampleDayKey(99), sampleValue(99, 2000), profile) ? 0 : 1;
    });

    if (c.isSignalIgnored) {
        EXPECT_EQ(end.exitCode, 1) << "the write was reported as stored";
        EXPECT_EQ(folder.listing(), filesBefore) << "a failed write left a file behind";
    } else {
        EXPECT_EQ(end.signal, SIGXFSZ);
    }
    EXPECT_EQ(readBytes(profile), before);
    EXPECT_EQ(ReadIni("Days", sampleDayKey(99), "none", profile), "none");
    EXPECT_TRUE(WriteIni("Days", sampleDayKey(99), sampleValue(99), profile));
}

INSTANTIATE_TEST_SUITE_P(Limits, FullDisk,
                         testing::Values(FullDiskCase{"below_the_old_size", -1000, true},
                                         FullDiskCase{"between_old_and_new_size", 500, true},
                                         FullDiskCase{"killed_by_the_limit_signal", 500, false}),
                         [](const auto &testInfo) { return std::string(testInfo.param.name); });

} // namespace
} // namespace tamcal::test
