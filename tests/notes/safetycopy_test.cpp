#include "notesfixture.h"

#include "notes/cipher.h"
#include "notes/daynotes.h"
#include "profile/safetycopy.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <climits>
#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

namespace tamcal::test {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono;

class SafetyCopies : public NotesFixture
{
protected:
    fs::path backups() const { return m_folder.path() / "backups"; }

    static std::string fileText(const fs::path &file)
    {
        std::ifstream in(file, std::ios::binary);
        std::ostringstream text;
        text << in.rdbuf();
        return text.str();
    }

    // The names in the backups folder, sorted; none when it does not exist.
    std::vector<std::string> copies() const
    {
        std::vector<std::string> names;
        std::error_code error;
        for (const auto &entry : fs::directory_iterator(backups(), error))
            names.push_back(entry.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }

    // Saves a note as on that day of March 2026.
    void saveOn(unsigned dayOfMonth, const std::string &note)
    {
        SafetyCopyToday = [dayOfMonth] { return 2026y / March / day(dayOfMonth); };
        ASSERT_TRUE(WriteDayNote("3/" + std::to_string(dayOfMonth) + "/2026", note, m_prompt));
    }
};

TEST_F(SafetyCopies, TheFirstSaveOfADayKeepsTheProfileAsItWasBeforeIt)
{
    saveOn(1, "first");
    EXPECT_TRUE(copies().empty()) << "a profile that did not exist has nothing to keep";
    fs::permissions(AppSettings.IniPath, fs::perms::owner_read | fs::perms::owner_write);
    const std::string beforeSecondDay = fileText(AppSettings.IniPath);

    saveOn(2, "second");
    saveOn(2, "third");
    ASSERT_EQ(copies(), std::vector<std::string>{"tamcal-2026-03-02.ini"});
    EXPECT_EQ(fileText(backups() / "tamcal-2026-03-02.ini"), beforeSecondDay);
    EXPECT_EQ(fs::status(backups() / "tamcal-2026-03-02.ini").permissions(),
              fs::perms::owner_read | fs::perms::owner_write);
    EXPECT_EQ(fs::status(backups()).permissions(), fs::perms::owner_all);
    EXPECT_EQ(stored("Days", "03022026T"), HexCode("third", false));
    EXPECT_TRUE(m_prompt.messages.empty());
}

TEST_F(SafetyCopies, OnlyTheNewestCopiesAreKept)
{
    struct Case
    {
        const char *name;
        std::optional<std::string> setting;
        unsigned days;
        std::size_t kept;
    };
    const Case cases[] = {
        {"no setting keeps 14", std::nullopt, 17, 14},
        {"not a number keeps 14", "many", 17, 14},
        {"3", "3", 6, 3},
        {"1", "1", 3, 1},
        {"0 keeps none", "0", 3, 0},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        startRun();
        fs::remove_all(backups());
        fs::create_directories(backups());
        // Files that are no copy of this profile are never touched.
        const std::vector<std::string> foreign{"notes.txt", "other-2026-01-01.ini",
                                               "tamcal-2026-1-1.ini"};
        for (const auto &name : foreign)
            std::ofstream(backups() / name) << "keep me";
        ASSERT_TRUE(WriteIni("Main", "Backups", c.setting, AppSettings.IniPath));
        for (unsigned d = 1; d <= c.days; ++d)
            saveOn(d, "note " + std::to_string(d));

        std::vector<std::string> expected = foreign;
        for (unsigned d = c.days - static_cast<unsigned>(c.kept) + 1; d <= c.days; ++d) {
            char name[32];
            std::snprintf(name, sizeof name, "tamcal-2026-03-%02u.ini", d);
            expected.push_back(name);
        }
        std::sort(expected.begin(), expected.end());
        EXPECT_EQ(copies(), expected);
        EXPECT_TRUE(m_prompt.messages.empty());
    }
}

TEST_F(SafetyCopies, ACopyThatCannotBeMadeIsToldOnceAndTheNoteIsStillSaved)
{
    saveOn(1, "first");
    // A file where the folder should be: nothing can be copied into it.
    std::ofstream(backups()) << "in the way";

    saveOn(2, "second");
    saveOn(3, "third");
    EXPECT_EQ(stored("Days", "03022026T"), HexCode("second", false));
    EXPECT_EQ(stored("Days", "03032026T"), HexCode("third", false));
    ASSERT_EQ(m_prompt.messages.size(), 1u);
    expectMessage(m_prompt.messages[0],
                  {"Today's safety copy of the diary could not be made: " + backups().string() +
                       ": File exists.\r\n\r\nYour note is saved all the same. Until the program "
                       "starts again, no other failed copy is reported.",
                   "Safety Copy Not Made", MsgButtons::Ok, MsgIcon::Exclamation, 1});
}

TEST_F(SafetyCopies, TheSettingIsAWholeNumber)
{
    const std::pair<std::optional<std::string>, int> cases[] = {
        {std::nullopt, 14},
        {"", 14},
        {"7", 7},
        {" 7 ", 7},
        {"0", 0},
        {"-1", 14},
        {"+2", 14},
        {"3 days", 14},
        {"2.5", 14},
        {"x", 14},
        {"99999999999", INT_MAX},
    };
    for (const auto &[setting, count] : cases) {
        SCOPED_TRACE(setting.value_or("<absent>"));
        ASSERT_TRUE(WriteIni("Main", "Backups", setting, AppSettings.IniPath));
        EXPECT_EQ(safetyCopyCount(AppSettings.IniPath), count);
    }
}

} // namespace
} // namespace tamcal::test
