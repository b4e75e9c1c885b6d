#include "notes/daynotes.h"

#include "notes/cipher.h"
#include "notesfixture.h"

#include <deque>
#include <string>
#include <vector>

namespace tamcal::test {
namespace {

using DayNoteStore = NotesFixture;

TEST(DayKey, FormsMonthDayYearT)
{
    struct Case
    {
        const char *dayText;
        std::optional<std::string> key;
    };
    const std::vector<Case> cases = {
        {"07/04/2004", "07042004T"},  {"7/4/2004", "07042004T"},
        {"12/31/1999", "12311999T"},  {"2/29/2000", "02292000T"},
        {" 3/14/2004 ", "03142004T"}, {"7/4/2004 10:00:00 PM", "07042004T"},
        {"", std::nullopt},           {"not a day", std::nullopt},
        {"2/30/2004", std::nullopt},  {"13/01/2004", std::nullopt},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.dayText);
        EXPECT_EQ(dayKey(c.dayText), c.key);
    }
}

TEST_F(DayNoteStore, DayWithoutNote)
{
    for (const bool usePass : {false, true}) {
        SCOPED_TRACE(usePass);
        AppSettings.UsePass = usePass;
        EXPECT_FALSE(DayHasNote("7/4/2004")) << "no profile file";
        ASSERT_TRUE(WriteIni("Days", "07042004T", "", AppSettings.IniPath));
        ASSERT_TRUE(WriteIni("Days", "07052004T", "61", AppSettings.IniPath));
        EXPECT_FALSE(DayHasNote("7/4/2004")) << "empty value";
        EXPECT_EQ(ReadDayNote("07/04/2004", m_prompt), "");
        EXPECT_FALSE(DayHasNote("7/6/2004")) << "missing key";
        EXPECT_EQ(ReadDayNote("07/06/2004", m_prompt), "");
        EXPECT_TRUE(m_prompt.passwordRequests.empty());
    }
}

TEST_F(DayNoteStore, PlainNoteIsStoredAsHexUnderTheDayKey)
{
    EXPECT_TRUE(WriteDayNote("07/04/2004", "a\r\nb", m_prompt));
    EXPECT_EQ(stored("Days", "07042004T"), "610D0A62");
    EXPECT_TRUE(DayHasNote("7/4/2004"));
    EXPECT_EQ(ReadDayNote("7/4/2004", m_prompt), "a\r\nb");
}

TEST_F(DayNoteStore, EmptyPlainNoteKeepsAnEmptyValue)
{
    ASSERT_TRUE(WriteDayNote("7/4/2004", "note", m_prompt));
    EXPECT_TRUE(WriteDayNote("7/4/2004", "", m_prompt));
    EXPECT_EQ(stored("Days", "07042004T"), "");
    EXPECT_FALSE(DayHasNote("7/4/2004"));
}

TEST_F(DayNoteStore, EmptyProtectedNoteRemovesTheKey)
{
    AppSettings.UsePass = true;
    EXPECT_TRUE(WriteDayNote("7/4/2004", "", m_prompt)) << "absent key";
    ASSERT_TRUE(WriteIni("Days", "07042004T", "737ABCD", AppSettings.IniPath));
    EXPECT_TRUE(WriteDayNote("7/4/2004", "", m_prompt));
    EXPECT_EQ(stored("Days", "07042004T"), "<absent>");
    EXPECT_TRUE(m_prompt.passwordRequests.empty());
    EXPECT_TRUE(m_prompt.messages.empty());
}

TEST_F(DayNoteStore, ProtectedNoteRoundTripsUnderThePassword)
{
    AppSettings.UsePass = true;
    m_prompt.passwords = {"Pass", "Pass"};
    EXPECT_TRUE(WriteDayNote("3/14/2004", "pi day\r\n", m_prompt));
    EXPECT_EQ(stored("Days", "03142004T"), CryptText("Passpi day\r\n", "Pass"));
    EXPECT_EQ(ReadDayNote("03/14/2004", m_prompt), "pi day\r\n");
    EXPECT_EQ(m_prompt.passwordRequests.size(), 1u);
    EXPECT_EQ(m_prompt.confirmations, 1) << "the first password of a profile is typed twice";
}

TEST_F(DayNoteStore, ProtectedNoteWithoutPasswordIsMarkedButUnreadable)
{
    AppSettings.UsePass = true;
    ASSERT_TRUE(WriteIni("Days", "07042004T", CryptText("Passnote", "Pass"), AppSettings.IniPath));
    EXPECT_TRUE(DayHasNote("7/4/2004"));
    EXPECT_TRUE(m_prompt.passwordRequests.empty()) << "marking never asks";
    EXPECT_EQ(ReadDayNote("7/4/2004", m_prompt), kUnreadableNote);
    EXPECT_EQ(m_prompt.passwordRequests.size(), 1u);
}

TEST_F(DayNoteStore, ValueDecodingToNothingIsUnreadable)
{
    ASSERT_TRUE(WriteIni("Days", "07042004T", "6", AppSettings.IniPath));
    EXPECT_TRUE(DayHasNote("7/4/2004"));
    EXPECT_EQ(ReadDayNote("7/4/2004", m_prompt), kUnreadableNote);
}

TEST_F(DayNoteStore, DayTextThatIsNoDateTouchesNothing)
{
    EXPECT_FALSE(DayHasNote("someday"));
    EXPECT_EQ(ReadDayNote("someday", m_prompt), "");
    EXPECT_FALSE(WriteDayNote("someday", "note", m_prompt));
    EXPECT_FALSE(std::filesystem::exists(AppSettings.IniPath));
}

TEST_F(DayNoteStore, LongNotesSurviveWriteAndRead)
{
    std::string note;
    for (int n = 0; n < 1500; ++n)
        note += static_cast<char>(n % 256);
    for (const bool usePass : {false, true}) {
        SCOPED_TRACE(usePass);
        AppSettings.UsePass = usePass;
        CurrentPassword = "Pass";
        ASSERT_TRUE(WriteDayNote("7/4/2004", note, m_prompt));
        EXPECT_GE(stored("Days", "07042004T").size(), 3000u);
        EXPECT_EQ(ReadDayNote("7/4/2004", m_prompt), note);
    }
}

TEST_F(DayNoteStore, NoteThatCannotBeEncipheredKeepsTheStoredOne)
{
    struct Case
    {
        const char *name;
        std::string password;
        std::string newNote;
    };
    const std::vector<Case> cases = {
        {"password dialog cancelled", "", "new note"},
        {"password begins with the marker", "737x", "new note"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        const std::string old = CryptText("Passold note", "Pass");
        ASSERT_TRUE(WriteIni("Days", "07042004T", old, AppSettings.IniPath));
        AppSettings.UsePass = true;
        CurrentPassword = c.password;
        m_prompt = {};
        m_prompt.answers = {MsgAnswer::No};
        EXPECT_FALSE(WriteDayNote("7/4/2004", c.newNote, m_prompt));
        EXPECT_EQ(stored("Days", "07042004T"), old);
        EXPECT_EQ(m_prompt.messages.size(), 1u);
    }
}

TEST_F(DayNoteStore, NoPasswordForADayWithoutNoteStoresNothing)
{
    AppSettings.UsePass = true;
    m_prompt.answers = {MsgAnswer::No};
    EXPECT_FALSE(WriteDayNote("7/4/2004", "note", m_prompt));
    EXPECT_EQ(stored("Days", "07042004T"), "<absent>");
    ASSERT_EQ(m_prompt.messages.size(), 1u);
    expectMessage(m_prompt.messages[0], kNotSaved);
}

TEST_F(DayNoteStore, UnwritableProfileIsReportedAsNotSaved)
{
    AppSettings.IniPath = AppSettings.AppFolder + "no such folder/tamcal.ini";
    const SaveResult plain = WriteDayNote("7/4/2004", "note", m_prompt);
    EXPECT_EQ(plain.cause, SaveCause::Profile);
    EXPECT_EQ(describe(plain), "The profile " + AppSettings.IniPath +
                                   " could not be written (locking it through " +
                                   AppSettings.IniPath + ".lock): No such file or directory.");
    AppSettings.UsePass = true;
    CurrentPassword = "Pass";
    EXPECT_EQ(WriteDayNote("7/4/2004", "note", m_prompt).cause, SaveCause::Profile);
    EXPECT_FALSE(DayHasNote("7/4/2004"));
}

TEST_F(DayNoteStore, EveryUnsavedNoteSaysWhy)
{
    struct Case
    {
        const char *name;
        std::string day;
        std::string password;
        std::deque<std::optional<std::string>> passwords;
        SaveCause cause;
        std::string words;
    };
    const std::vector<Case> cases = {
        {"not a date",
         "someday",
         "Pass",
         {},
         SaveCause::NotADate,
         "The day is not a date the diary knows."},
        {"dialog cancelled",
         "7/4/2004",
         "",
         {},
         SaveCause::NoPassword,
         "Nothing was stored, because no password was given."},
        {"password refused",
         "7/5/2004",
         "",
         {"typo", "typo"},
         SaveCause::PasswordRefused,
         "Nothing was stored, because the password given does not open the notes already "
         "kept under this diary's password."},
        {"text begins with the marker",
         "7/4/2004",
         "7",
         {},
         SaveCause::NotEnciphered,
         "Nothing was stored, because the password followed by the note begins with \"737\" "
         "and cannot be enciphered."},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        startRun();
        AppSettings.UsePass = true;
        ASSERT_TRUE(
            WriteIni("Days", "07042004T", CryptText("Passold", "Pass"), AppSettings.IniPath));
        CurrentPassword = c.password;
        m_prompt.passwords = c.passwords;
        m_prompt.answers = {MsgAnswer::Ok, MsgAnswer::No};
        const SaveResult result = WriteDayNote(c.day, "37 new", m_prompt);
        EXPECT_FALSE(result);
        EXPECT_EQ(result.cause, c.cause);
        EXPECT_EQ(describe(result), c.words);
        EXPECT_EQ(stored("Days", "07042004T"), CryptText("Passold", "Pass"));
        EXPECT_EQ(stored("Days", "07052004T"), "<absent>");
    }
}

// A stored value is read in the form it is in. Values that look alike: a plain
// note whose hex begins with 737 ("str" is 737472), an enciphered note, empty.
TEST_F(DayNoteStore, EachStoredFormIsReadAsWhatItIsWhateverTheSetting)
{
    const std::string enciphered = CryptText("Passsecret", "Pass");
    struct Case
    {
        const char *name;
        bool usePass;
        std::string value;
        std::string note;
        std::size_t requests;
    };
    const std::vector<Case> cases = {
        {"plain starting with 737, protection off", false, "737472696E67", "string", 0},
        {"plain starting with 737, protection on", true, "737472696E67", "string", 0},
        {"plain, protection on", true, "6E6F7465", "note", 0},
        {"enciphered, protection off", false, enciphered, kUnreadableNote, 0},
        {"enciphered, protection on", true, enciphered, "secret", 1},
        {"empty, protection off", false, "", "", 0},
        {"empty, protection on", true, "", "", 0},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        startRun();
        AppSettings.UsePass = c.usePass;
        ASSERT_TRUE(WriteIni("Days", "07042004T", c.value, AppSettings.IniPath));
        m_prompt.passwords = {"Pass"};
        EXPECT_EQ(ReadDayNote("7/4/2004", m_prompt), c.note);
        EXPECT_EQ(m_prompt.passwordRequests.size(), c.requests);
        EXPECT_TRUE(m_prompt.messages.empty());
    }
}

TEST_F(DayNoteStore, PlainNoteIsEncipheredWhenSavedUnderProtection)
{
    AppSettings.UsePass = true;
    ASSERT_TRUE(WriteIni("Days", "07042004T", HexCode("string", false), AppSettings.IniPath));
    ASSERT_TRUE(WriteIni("Main", "ping", HexCode("Pass", false), AppSettings.IniPath));
    const std::string note = ReadDayNote("7/4/2004", m_prompt);
    EXPECT_TRUE(WriteDayNote("7/4/2004", note + "!", m_prompt));
    EXPECT_EQ(stored("Days", "07042004T"), CryptText("Passstring!", "Pass"));
    EXPECT_TRUE(m_prompt.passwordRequests.empty());
}

} // namespace
} // namespace tamcal::test
