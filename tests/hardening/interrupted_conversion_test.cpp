// A change of password killed at random moments: the profile must hold every
// note in the old form or every note in the new one, never a mix, and the
// protection setting must match the notes.
#include "samplenotes.h"
#include "support/childprocess.h"
#include "support/tempfolder.h"

#include "notes/cipher.h"
#include "notes/password.h"
#include "notes/protection.h"
#include "profile/inifile.h"
#include "profile/settings.h"

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <random>
#include <unistd.h>

namespace tamcal::test {
namespace {

constexpr int kNotes = 400;
const std::string kPassword = "Secret";

std::string noteOf(int index)
{
    return "note of day " + std::to_string(index) + "\r\nsecond line";
}

// Turns protection on and off until killed.
int convertUntilKilled()
{
    for (bool isOn = ReadIni("Main", "UsePass", "", AppSettings.IniPath) == "True";; isOn = !isOn) {
        const Conversion done = isOn ? convertNotes(kPassword, {}) : convertNotes({}, kPassword);
        if (!done.written || done.converted != std::size_t(kNotes))
            return 3;
    }
}

// The form every note is in, or a failure naming the first note that is not in it.
testing::AssertionResult isWholeInOneForm(const std::string &profile)
{
    const bool isOn = ReadIni("Main", "UsePass", "", profile) == "True";
    for (int index = 0; index < kNotes; ++index) {
        const std::string value = ReadIni("Days", sampleDayKey(index), "", profile, SIZE_MAX);
        const std::string expected =
            isOn ? CryptText(kPassword + noteOf(index), kPassword) : HexCode(noteOf(index), false);
        if (value != expected)
            return testing::AssertionFailure() << sampleDayKey(index) << " is not in the "
                                               << (isOn ? "enciphered" : "plain") << " form";
    }
    return testing::AssertionSuccess();
}

std::chrono::microseconds timeOfOneConversion()
{
    const auto start = std::chrono::steady_clock::now();
    convertNotes({}, kPassword);
    convertNotes(kPassword, {});
    return std::chrono::duration_cast<std::chrono::microseconds>(std::chrono::steady_clock::now() -
                                                                 start) /
           2;
}

TEST(KilledConversion, LeavesTheOldNotesOrTheNewOnesNeverAMix)
{
    TempFolder folder;
    AppSettings = {};
    AppSettings.IniPath = folder.file("tamcal.ini");
    for (int index = 0; index < kNotes; ++index)
        ASSERT_TRUE(WriteIni("Days", sampleDayKey(index), HexCode(noteOf(index), false),
                             AppSettings.IniPath));
    ASSERT_TRUE(WriteIni("Main", "UsePass", "False", AppSettings.IniPath));
    // Each kill lands anywhere in the next few conversions: reading, enciphering or writing.
    const auto conversionTime = timeOfOneConversion();
    std::mt19937 random(20040704);
    std::uniform_int_distribution<long> delayMicroseconds(0, 3 * conversionTime.count());
    for (int round = 0; round < 40; ++round) {
        SCOPED_TRACE("kill " + std::to_string(round));
        const pid_t converter = startChild(convertUntilKilled);
        usleep(useconds_t(delayMicroseconds(random)));
        kill(converter, SIGKILL);
        const ChildEnd end = waitChild(converter);
        ASSERT_EQ(end.signal, SIGKILL)
            << "the converter stopped by itself, exit code " << end.exitCode;
        ASSERT_TRUE(isWholeInOneForm(AppSettings.IniPath));
    }
    EXPECT_TRUE(convertNotes({}, kPassword).written) << "the kills left the profile unwritable";
}

} // namespace
} // namespace tamcal::test
