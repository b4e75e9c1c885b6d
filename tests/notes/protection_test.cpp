#include "notes/protection.h"

#include "notes/cipher.h"
#include "notesfixture.h"
#include "support/tempfolder.h"

#include <map>
#include <string>
#include <vector>

namespace tamcal::test {
namespace {

using Protection = NotesFixture;

std::string enciphered(const std::string &password, const std::string &note)
{
    return CryptText(password + note, password);
}

const std::map<std::string, std::string> kNotes{
    {"01022004T", "first\r\nline"}, {"07042004T", "fourth of July"}, {"12312009T", "last"}};

// Stores kNotes in the plain form, or enciphered under `password`, with protection to match.
void storeNotes(const std::string &password)
{
    for (const auto &[key, note] : kNotes)
        ASSERT_TRUE(WriteIni("Days", key,
                             password.empty() ? HexCode(note, false) : enciphered(password, note),
                             AppSettings.IniPath));
    ASSERT_TRUE(
        WriteIni("Main", "UsePass", password.empty() ? "False" : "True", AppSettings.IniPath));
    AppSettings.UsePass = !password.empty();
}

struct ConversionCase
{
    const char *name;
    std::string before; // the notes' password, empty for the plain form
    std::vector<std::optional<std::string>> typed;
    std::string after;
    bool (*convert)(UserPrompt &, const ConversionProgress &);
};

TEST_F(Protection, EveryNoteTakesTheNewFormAndTheSavedPasswordFollows)
{
    const std::vector<ConversionCase> cases{
        {"on", "", {"new", "new"}, "new", turnProtectionOn},
        {"off", "old", {"old"}, "", turnProtectionOff},
        {"change", "old", {"old", "new", "new"}, "new", changePassword},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        startRun();
        storeNotes(c.before);
        ASSERT_TRUE(WriteIni("Main", "ping", HexCode(c.before, false), AppSettings.IniPath));
        m_prompt.passwords = {c.typed.begin(), c.typed.end()};
        std::vector<std::size_t> progress;
        EXPECT_TRUE(c.convert(m_prompt, [&](std::size_t done, std::size_t total) {
            EXPECT_EQ(total, kNotes.size());
            progress.push_back(done);
        }));
        EXPECT_TRUE(m_prompt.messages.empty());
        for (const auto &[key, note] : kNotes)
            EXPECT_EQ(stored("Days", key),
                      c.after.empty() ? HexCode(note, false) : enciphered(c.after, note))
                << key;
        EXPECT_EQ(stored("Main", "UsePass"), c.after.empty() ? "False" : "True");
        EXPECT_EQ(stored("Main", "ping"), c.after.empty() ? "<absent>" : HexCode(c.after, false));
        EXPECT_EQ(AppSettings.UsePass, !c.after.empty());
        if (!c.after.empty()) {
            EXPECT_EQ(CurrentPassword, c.after);
        }
        ASSERT_FALSE(progress.empty());
        EXPECT_EQ(progress.back(), kNotes.size());
    }
}

TEST_F(Protection, NoSavedPasswordIsAddedByAConversion)
{
    storeNotes("");
    m_prompt.passwords = {"new", "new"};
    ASSERT_TRUE(turnProtectionOn(m_prompt));
    EXPECT_EQ(stored("Main", "ping"), "<absent>");
}

TEST_F(Protection, NewPasswordMustBeTypedTwiceAlikeAndNotBeginWith737)
{
    storeNotes("");
    m_prompt.passwords = {"7371", "first", "frist", "second", "second"};
    ASSERT_TRUE(turnProtectionOn(m_prompt));
    ASSERT_EQ(m_prompt.messages.size(), 2u);
    EXPECT_EQ(m_prompt.messages[0].title, "Password Refused");
    EXPECT_EQ(m_prompt.messages[1].title, "Passwords Differ");
    EXPECT_EQ(stored("Days", "07042004T"), enciphered("second", "fourth of July"));
}

TEST_F(Protection, WrongOrCancelledPasswordLeavesTheProfileByteForByte)
{
    struct Case
    {
        const char *name;
        std::vector<std::optional<std::string>> typed;
        bool (*convert)(UserPrompt &, const ConversionProgress &);
        std::size_t messages;
    };
    const std::vector<Case> cases{
        {"off, wrong password", {"Old"}, turnProtectionOff, 1},
        {"off, cancelled", {std::nullopt}, turnProtectionOff, 0},
        {"change, wrong old password", {"olds"}, changePassword, 1},
        {"change, new one cancelled", {"old", std::nullopt}, changePassword, 0},
        {"change, confirmation cancelled", {"old", "new", std::nullopt}, changePassword, 0},
    };
    storeNotes("old");
    const std::string before = readBytes(AppSettings.IniPath);
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        m_prompt = {};
        m_prompt.passwords = {c.typed.begin(), c.typed.end()};
        EXPECT_FALSE(c.convert(m_prompt, {}));
        ASSERT_EQ(m_prompt.messages.size(), c.messages);
        if (c.messages)
            expectMessage(m_prompt.messages[0], kPasswordIncorrect);
        EXPECT_EQ(readBytes(AppSettings.IniPath), before);
        EXPECT_TRUE(AppSettings.UsePass);
    }
}

// A profile with notes under two passwords, as an old hand edit may leave it.
TEST_F(Protection, NotesThatDoNotOpenStayAsTheyWereAndAreNamed)
{
    storeNotes("old");
    const std::string stray = enciphered("other", "kept");
    ASSERT_TRUE(WriteIni("Days", "03142004T", stray, AppSettings.IniPath));
    ASSERT_TRUE(WriteIni("Days", "03152004T", "", AppSettings.IniPath));
    m_prompt.passwords = {"old"};
    ASSERT_TRUE(turnProtectionOff(m_prompt));
    ASSERT_EQ(m_prompt.messages.size(), 1u);
    expectMessage(m_prompt.messages[0],
                  {"1 note could not be deciphered with this password and stayed as they "
                   "were: 3/14/2004.",
                   "Notes Left As They Were", MsgButtons::Ok, MsgIcon::Exclamation, 1});
    EXPECT_EQ(stored("Days", "03142004T"), stray);
    EXPECT_EQ(stored("Days", "03152004T"), "");
    EXPECT_EQ(stored("Days", "07042004T"), HexCode("fourth of July", false));
}

TEST_F(Protection, APlainNoteLeftOverUnderProtectionIsEnciphered)
{
    storeNotes("old");
    ASSERT_TRUE(WriteIni("Days", "03142004T", HexCode("plain", false), AppSettings.IniPath));
    m_prompt.passwords = {"old", "new", "new"};
    ASSERT_TRUE(changePassword(m_prompt));
    EXPECT_EQ(stored("Days", "03142004T"), enciphered("new", "plain"));
}

TEST_F(Protection, AProfileThatCannotBeReplacedIsReportedAndKept)
{
    storeNotes("");
    const std::string before = readBytes(AppSettings.IniPath);
    // A folder where the lock file belongs: the lock cannot be taken.
    std::filesystem::remove(AppSettings.IniPath + ".lock");
    std::filesystem::create_directory(AppSettings.IniPath + ".lock");
    m_prompt.passwords = {"new", "new"};
    EXPECT_FALSE(turnProtectionOn(m_prompt));
    ASSERT_EQ(m_prompt.messages.size(), 1u);
    EXPECT_EQ(m_prompt.messages[0].title, "Not Saved!");
    EXPECT_NE(m_prompt.messages[0].text.find("the profile is as it was"), std::string::npos);
    EXPECT_EQ(readBytes(AppSettings.IniPath), before);
    EXPECT_FALSE(AppSettings.UsePass);
}

} // namespace
} // namespace tamcal::test
