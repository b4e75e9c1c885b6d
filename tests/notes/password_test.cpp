#include "notes/password.h"

#include "notes/cipher.h"
#include "notesfixture.h"

#include <deque>
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

// The person asked for a setting to be kept; when the profile cannot take it they
// are told why, after the question that asked for it.
TEST_F(PasswordSession, SettingsThatCannotBeKeptAreTold)
{
    AppSettings.IniPath = AppSettings.AppFolder + "gone/tamcal.ini";
    const std::string cause = "\r\n\r\nThe profile " + AppSettings.IniPath +
                              " could not be written (locking it through " + AppSettings.IniPath +
                              ".lock): No such file or directory.";
    CurrentPassword = "wrong";
    m_prompt.passwords = {"Pass"};
    m_prompt.answers = {MsgAnswer::Yes};
    EXPECT_EQ(DecryptNote(protectedValue("Pass", "note"), m_prompt), "note");
    AppSettings.UsePass = true;
    CurrentPassword.clear();
    m_prompt.answers = {MsgAnswer::Yes};
    EXPECT_EQ(EncryptNote("note", m_prompt), std::nullopt);
    EXPECT_FALSE(AppSettings.UsePass);
    expectMessages(
        {kSavePasswordOffer,
         {"Your password was not kept in the profile." + cause, "Not Saved!", MsgButtons::Ok,
          MsgIcon::Exclamation, 1},
         kNotSaved,
         {"Password protection is off for now, but the profile still says it is on." + cause,
          "Not Saved!", MsgButtons::Ok, MsgIcon::Exclamation, 1}});
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

// With nothing stored to check it against, the first password of a profile is
// typed twice; one slip would otherwise lock every note saved under it.
TEST_F(PasswordSession, FirstPasswordOfAProfileIsTypedTwice)
{
    const Message differ{"The two passwords are not the same, so nothing was stored.\r\n\r\n"
                         "Type the new password again, then once more to confirm it.",
                         "Passwords Differ", MsgButtons::Ok, MsgIcon::Exclamation, 1};
    struct Case
    {
        const char *name;
        std::deque<std::optional<std::string>> passwords; // typed, confirmed, ...
        std::optional<std::string> value;
        std::vector<Message> messages;
        int confirmations;
    };
    const std::vector<Case> cases = {
        {"the same twice", {"Pass", "Pass"}, protectedValue("Pass", "note"), {}, 1},
        {"a slip, then the same twice",
         {"Pass", "Pas", "Pass", "Pass"},
         protectedValue("Pass", "note"),
         {differ},
         2},
        {"confirmation cancelled", {"Pass"}, std::nullopt, {kNotSaved}, 1},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        startRun();
        m_prompt.passwords = c.passwords;
        m_prompt.answers = {MsgAnswer::Ok, MsgAnswer::No};
        EXPECT_EQ(EncryptNote("note", m_prompt), c.value);
        expectMessages(c.messages);
        EXPECT_EQ(m_prompt.confirmations, c.confirmations);
    }
}

// A password that has not opened a stored note is checked against one before it
// enciphers anything: a typo must never become the password of new notes.
TEST_F(PasswordSession, TypedPasswordMustOpenAStoredNoteBeforeItEnciphers)
{
    struct Case
    {
        const char *name;
        std::deque<std::optional<std::string>> passwords;
        std::optional<std::string> value;
        std::vector<Message> messages;
        std::vector<std::string> requests;
    };
    const std::vector<Case> cases = {
        {"right at once", {"hunter2"}, protectedValue("hunter2", "note"), {}, {""}},
        {"wrong, then right",
         {"hunter", "hunter2"},
         protectedValue("hunter2", "note"),
         {kPasswordIncorrect},
         {"", "hunter"}},
        {"wrong twice", {"hunter", "hunter3"}, std::nullopt, {kPasswordIncorrect}, {"", "hunter"}},
        {"wrong, then cancelled",
         {"hunter"},
         std::nullopt,
         {kPasswordIncorrect, kNotSaved},
         {"", "hunter"}},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        startRun();
        AppSettings.UsePass = true;
        ASSERT_TRUE(
            WriteIni("Days", "07042004T", protectedValue("hunter2", "old"), AppSettings.IniPath));
        m_prompt.passwords = c.passwords;
        m_prompt.answers = {MsgAnswer::Ok, MsgAnswer::No};
        EXPECT_EQ(EncryptNote("note", m_prompt), c.value);
        expectMessages(c.messages);
        EXPECT_EQ(m_prompt.passwordRequests, c.requests);
        EXPECT_EQ(m_prompt.confirmations, 0);
    }
}

// The person's sequence: a wrong password twice while reading, then a save. The
// rejected password is not used; the save asks again and checks the new one.
TEST_F(PasswordSession, RejectedPasswordIsNeverUsedToEncipher)
{
    struct Case
    {
        const char *name;
        std::deque<std::optional<std::string>> atSave;
        std::optional<std::string> value;
        std::size_t messages; // after the read's own "Password is Incorrect"
    };
    const std::vector<Case> cases = {
        {"right password at the save", {"hunter2"}, protectedValue("hunter2", "new"), 0},
        {"cancelled at the save", {}, std::nullopt, 1},
        {"the typo again, twice", {"hunter", "hunter"}, std::nullopt, 1},
    };
    const std::string stored = protectedValue("hunter2", "old");
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        startRun();
        m_prompt.passwords = {"hunter", "hunter"};
        EXPECT_EQ(DecryptNote(stored, m_prompt), "");
        ASSERT_TRUE(WriteIni("Days", "07042004T", stored, AppSettings.IniPath));
        m_prompt.passwords = c.atSave;
        m_prompt.passwordRequests.clear();
        m_prompt.messages.clear();
        m_prompt.answers = {MsgAnswer::No};
        EXPECT_EQ(EncryptNote("new", m_prompt), c.value);
        ASSERT_FALSE(m_prompt.passwordRequests.empty()) << "the save asks again";
        EXPECT_EQ(m_prompt.passwordRequests[0], "hunter");
        EXPECT_EQ(m_prompt.messages.size(), c.messages);
    }
}

TEST_F(PasswordSession, SavedPasswordIsTakenOnlyWhenItOpensTheNotes)
{
    struct Case
    {
        const char *name;
        std::string ping;
        bool hasNote; // a note under "hunter2" is stored
        bool isTaken;
    };
    const std::vector<Case> cases = {
        {"opens the stored note", "hunter2", true, true},
        {"stale", "hunter", true, false},
        {"no note to check it against", "anything", false, true},
        {"begins with the cipher marker", "737abc", false, false},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        startRun();
        ASSERT_TRUE(WriteIni("Main", "ping", HexCode(c.ping, false), AppSettings.IniPath));
        if (c.hasNote) {
            ASSERT_TRUE(WriteIni("Days", "07042004T", protectedValue("hunter2", "old"),
                                 AppSettings.IniPath));
        }
        m_prompt.answers = {MsgAnswer::No};
        const auto value = EncryptNote("note", m_prompt);
        EXPECT_EQ(value.has_value(), c.isTaken);
        EXPECT_EQ(m_prompt.passwordRequests.size(), c.isTaken ? 0u : 1u);
        EXPECT_EQ(CurrentPassword, c.isTaken ? c.ping : "");
    }
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
