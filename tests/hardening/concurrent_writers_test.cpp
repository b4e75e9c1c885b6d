// Two copies of the program writing the same profile at the same moment: the
// lock and the whole-file replacement must not let one undo the other's notes.
#include "samplenotes.h"
#include "support/childprocess.h"
#include "support/tempfolder.h"

#include "profile/inifile.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <unistd.h>

namespace tamcal::test {
namespace {

constexpr int kDaysPerWriter = 300;

// Waits until the parent closes `goFd`, then stores its own 300 days; the
// result is the number of writes that failed.
int storeDays(const std::string &profile, int firstDay, int goFd)
{
    char ignored = 0;
    (void)read(goFd, &ignored, 1);
    int failed = 0;
    for (int index = firstDay; index < firstDay + kDaysPerWriter; ++index)
        failed += WriteIni("Days", sampleDayKey(index), sampleValue(index, 40), profile) ? 0 : 1;
    return std::min(failed, 100);
}

TEST(TwoWriters, EveryDayOfBothIsStored)
{
    TempFolder folder;
    const std::string profile = folder.file("tamcal.ini");
    ASSERT_TRUE(WriteIni("Main", "UsePass", "False", profile));
    int go[2];
    ASSERT_EQ(pipe(go), 0);
    const int firstDays[] = {0, 1000};
    pid_t writers[2];
    for (int w = 0; w < 2; ++w) {
        writers[w] = startChild([&] {
            close(go[1]);
            return storeDays(profile, firstDays[w], go[0]);
        });
    }
    close(go[0]);
    close(go[1]);
    for (pid_t writer : writers) {
        const ChildEnd end = waitChild(writer);
        EXPECT_EQ(end.exitCode, 0) << "writes that failed: " << end.exitCode;
    }

    EXPECT_EQ(ReadIni("Main", "UsePass", "", profile), "False");
    for (int first : firstDays) {
        for (int index = first; index < first + kDaysPerWriter; ++index)
            EXPECT_EQ(ReadIni("Days", sampleDayKey(index), "missing", profile),
                      sampleValue(index, 40))
                << sampleDayKey(index);
    }
}

} // namespace
} // namespace tamcal::test
