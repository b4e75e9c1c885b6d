#include "notes/password.h"

#include "notes/cipher.h"
#include "notesfixture.h"

#include <string>
#include <vector>

namespace tamcal::test {
namespace {

using PasswordSession = NotesFixture;

std::string protectedValue(const std::string &password, const std::string &note)
{
    return CryptText(password + note, password);
}

TEST_F(PasswordSession, AskPasswordKeepsThePasswordWhenCancelled)
{
    CurrentPassword = "old";
    m_prompt.passwords = {std::nullopt, "new"};
    AskPassword(m_prompt);
    EXPECT_EQ(CurrentPassword, "old");
    AskPassword(m_prompt);
    EXPECT_EQ(CurrentPassword, "new");
    EXPECT_EQ(m_prompt.passwordRequests, (std::vector<std::string>{"old", "old"}));
}

TEST_F(PasswordSession, KnownPasswordDeciphersWithoutAsking)
{
    CurrentPassword = "Pass";
    EXPECT_EQ(DecryptNote(protectedValue("Pass", "line\r\nnext"), m_prompt), "line\r\nnext");
    EXPECT_TRUE(m_prompt.passwordRequests.empty());
    EXPECT_TRUE(m_prompt.messages.empty());
}

TEST_F(PasswordSession, FirstPasswordRightDeciphersWithoutOffer)
{
    m_prompt.passwords = {"Pass"};
    EXPECT_EQ(DecryptNote(protectedValue("Pass", "note"), m_prompt), "note");
    EXPECT_EQ(m_prompt.passwordRequests, std::vector<std::string>{""});
    EXPECT_TRUE(m_prompt.messages.empty());
    EXPECT_TRUE(AskSavePassword);
}

TEST_F(PasswordSession, CancelledFirstPromptReturnsEmptyWithoutMessage)
{
    EXPECT_EQ(DecryptNote(protectedValue("Pass", "note"), m_prompt), "");
    EXPECT_EQ(m_prompt.passwordRequests.size(), 1u);
    EXPECT_TRUE(m_prompt.messages.empty());
    EXPECT_EQ(CurrentPassword, "");
}

TEST_F(PasswordSession, EmptyStoredValueAsksNothing)
{
    EXPECT_EQ(DecryptNote("", m_prompt), "");
    EXPECT_TRUE(m_prompt.passwordRequests.empty());
}

TEST_F(PasswordSession, WrongThenRightOffersToSaveOncePerRun)
{
    struct Case
    {
        const char *name;
        MsgAnswer answer;
        std::string ping;
    };
    const std::vector<Case> cases = {
        {"yes keeps the password as plain hex", MsgAnswer::Yes, "50617373"},
        {"no keeps nothing", MsgAnswer::No, "<absent>"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        startRun();
        CurrentPassword = "wrong";
        m_prompt.passwords = {"Pass", "Pass"};
        m_prompt.answers = {c.answer};
        EXPECT_EQ(DecryptNote(protectedValue("Pass", "note"), m_prompt), "note");
        ASSERT_EQ(m_prompt.messages.size(), 1u);
        expectMessage(m_prompt.messages[0], kSavePasswordOffer);
        EXPECT_EQ(m_prompt.passwordRequests, std::vector<std::string>{"wrong"});
        EXPECT_FALSE(AskSavePassword);
        EXPECT_EQ(stored("Main", "ping"), c.ping);

        CurrentPassword = "wrong";
        m_prompt.passwordRequests.clear();
        EXPECT_EQ(DecryptNote(protectedValue("Pass", "again"), m_prompt), "again");
        EXPECT_EQ(m_prompt.passwordRequests, std::vector<std::string>{"wrong"});
        EXPECT_EQ(m_prompt.messages.size(), 1u) << "the offer comes once per run";
    }
}

TEST_F(PasswordSession, WrongTwiceSaysIncorrectAndKeepsTheFailedPassword)
{
    struct Case
    {
        const char *name;
        std::optional<std::string> second;
        std::string kept;
    };
    const std::vector<Case> cases = {
        {"second password wrong too", "alsoWrong", "alsoWrong"},
        {"second prompt cancelled", std::nullopt, "wrong"},
        {"letter case differs", "pass", "pass"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        startRun();
        m_prompt.passwords = {"wrong", c.second};
        EXPECT_EQ(DecryptNote(protectedValue("Pass", "note"), m_prompt), "");
        ASSERT_EQ(m_prompt.messages.size(), 1u);
        expectMessage(m_prompt.messages[0], kPasswordIncorrect);
        EXPECT_EQ(m_prompt.passwordRequests, (std::vector<std::string>{"", "wrong"}));
        EXPECT_EQ(CurrentPassword, c.kept);
    }
}

// A value without the cipher marker would be enciphered by the check, and its result,
// which starts with "737", would pass for a password that is a prefix of the marker.
TEST_F(PasswordSession, PlainHexValueFailsTheCheckForEveryPassword)
{
    for (const std::string password : {"7", "73", "737", "Pass"}) {
        SCOPED_TRACE(password);
        CurrentPassword = password;
        m_prompt = {};
        EXPECT_EQ(DecryptNote(HexCode("note", false), m_prompt), "");
        ASSERT_EQ(m_prompt.messages.size(), 1u);
        expectMessage(m_prompt.messages[0], kPasswordIncorrect);
    }
}

TEST_F(PasswordSession, SavedPasswordIsUsedForSavingButNotForReading)
{
    ASSERT_TRUE(WriteIni("Main", "ping", HexCode("Pass", false), AppSettings.IniPath));
    const auto value = EncryptNote("note", m_prompt);
    EXPECT_EQ(value, protectedValue("Pass", "note"));
    EXPECT_EQ(CurrentPassword, "Pass");
    EXPECT_TRUE(m_prompt.passwordRequests.empty());

    CurrentPassword.clear();
    m_prompt.passwords = {"Pass"};
    EXPECT_EQ(DecryptNote(*value, m_prompt), "note");
    EXPECT_EQ(m_prompt.passwordRequests.size(), 1u);
}

TEST_F(PasswordSession, EncipheredFormHoldsPasswordAndNote)
{
    CurrentPassword = "Pass";
    const std::string note = "two\r\nlines \xE9";
    const auto value = EncryptNote(note, m_prompt);
    ASSERT_TRUE(value);
    EXPECT_EQ(value->size(), 3 + 2 * (CurrentPassword.size() + note.size()));
    EXPECT_EQ(CryptText(*value, "Pass"), "Pass" + note);
    EXPECT_TRUE(m_prompt.messages.empty());
}

TEST_F(PasswordSession, EmptyNoteIsNotEncipheredAndAsksNothing)
{
    EXPECT_EQ(EncryptNote("", m_prompt), std::nullopt);
    EXPECT_TRUE(m_prompt.passwordRequests.empty());
    EXPECT_TRUE(m_prompt.messages.empty());
}

TEST_F(PasswordSession, EnteredPasswordEnciphers)
{
    m_prompt.passwords = {"Pass"};
    EXPECT_EQ(EncryptNote("note", m_prompt), protectedValue("Pass", "note"));
    EXPECT_EQ(m_prompt.passwordRequests, std::vector<std::string>{""});
}

TEST_F(PasswordSession, NoPasswordOffersToTurnProtectionOff)
{
    struct Case
    {
        const char *name;
        MsgAnswer answer;
        bool usePass;
        std::string stored;
    };
    const std::vector<Case> cases = {
        {"yes turns it off at once", MsgAnswer::Yes, false, "False"},
        {"no keeps it on", MsgAnswer::No, true, "<absent>"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        startRun();
        AppSettings.UsePass = true;
        m_prompt.answers = {c.answer};
        EXPECT_EQ(EncryptNote("note", m_prompt), std::nullopt);
        EXPECT_EQ(m_prompt.passwordRequests.size(), 1u);
        ASSERT_EQ(m_prompt.messages.size(), 1u);
        expectMessage(m_prompt.messages[0], kNotSaved);
        EXPECT_EQ(AppSettings.UsePass, c.usePass);
        EXPECT_EQ(stored("Main", "UsePass"), c.stored);
    }
}

TEST_F(PasswordSession, TextStartingWithTheMarkerCannotBeEnciphered)
{
    struct Case
    {
        const char *password;
        const char *note;
    };
    for (const auto &c : {Case{"737abc", "note"}, Case{"7", "37 note"}, Case{"73", "7"}}) {
        SCOPED_TRACE(c.password);
        CurrentPassword = c.password;
        m_prompt = {};
        EXPECT_EQ(EncryptNote(c.note, m_prompt), std::nullopt);
        ASSERT_EQ(m_prompt.messages.size(), 1u);
        const Message &shown = m_prompt.messages[0];
        EXPECT_TRUE(shown.text.starts_with("an error occured!\r\n0 - ")) << shown.text;
        EXPECT_NE(shown.text.find("\"737\""), std::string::npos);
        expectMessage(shown,
                      {shown.text, "Now what did you do!", MsgButtons::Ok, MsgIcon::Critical, 1});
    }
}

} // namespace
} // namespace tamcal::test
