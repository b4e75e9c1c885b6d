#include "notes/notesearch.h"

#include "notes/cipher.h"
#include "notes/daynotes.h"
#include "notesfixture.h"
#include "report/datetext.h"

#include <string>
#include <vector>

namespace tamcal::test {
namespace {

using NoteSearchTest = NotesFixture;

void storePlain(const std::string &key, const std::string &note)
{
    ASSERT_TRUE(WriteIni("Days", key, HexCode(note, false), AppSettings.IniPath));
}

void storeEnciphered(const std::string &key, const std::string &note, const std::string &password)
{
    ASSERT_TRUE(WriteIni("Days", key, CryptText(password + note, password), AppSettings.IniPath));
}

// What a person reads in the list: the date and the line with the match in brackets.
std::string shown(const FoundDay &found)
{
    std::string text = displayDateText(found.day) + " ";
    if (found.isUnreadable)
        return text + "<unreadable>";
    text += found.line;
    if (found.matchLength > 0) {
        text.insert(displayDateText(found.day).size() + 1 + found.matchStart + found.matchLength,
                    "]");
        text.insert(displayDateText(found.day).size() + 1 + found.matchStart, "[");
    }
    return text;
}

std::vector<std::string> shownAll(const std::vector<FoundDay> &found)
{
    std::vector<std::string> lines;
    for (const auto &f : found)
        lines.push_back(shown(f));
    return lines;
}

TEST_F(NoteSearchTest, FindsLinesRegardlessOfLetterCaseNewestFirst)
{
    storePlain("03142004T", "Breakfast\r\nCaf\xE9 with ANNA\r\nrain");
    storePlain("12312003T", "New year's eve\r\nanna's party at the \xC9"
                            "COLE");
    storePlain("01012005T", "\x8A"
                            "koda repaired\r\n\xC6sop read");
    storePlain("02022004T", "");
    ASSERT_TRUE(WriteIni("Days", "notaday", "41", AppSettings.IniPath));
    const NoteSearch search(m_prompt);

    struct Case
    {
        const char *name;
        std::string text;
        std::vector<std::string> shown;
    };
    const std::vector<Case> cases = {
        {"lower finds upper",
         "anna",
         {"03/14/2004 Caf\xE9 with [ANNA]", "12/31/2003 [anna]'s party at the \xC9"
                                            "COLE"}},
        {"upper finds lower", "BREAKFAST", {"03/14/2004 [Breakfast]"}},
        {"\xE9 finds \xC9 and \xE9",
         "\xE9",
         {"03/14/2004 Caf[\xE9] with ANNA", "12/31/2003 anna's party at the [\xC9]"
                                            "COLE"}},
        {"\xC9"
         "cole finds \xC9"
         "COLE",
         "\xC9"
         "cole",
         {"12/31/2003 anna's party at the [\xC9"
          "COLE]"}},
        {"\x9A finds \x8A",
         "\x9A"
         "koda",
         {"01/01/2005 [\x8A"
          "koda] repaired"}},
        {"\xE6 finds \xC6",
         "\xE6"
         "sop",
         {"01/01/2005 [\xC6"
          "sop] read"}},
        {"a line of its own", "rain", {"03/14/2004 [rain]"}},
        {"no match", "snow", {}},
        {"empty text finds nothing", "", {}},
        {"a date finds its day", "3/14/2004", {"03/14/2004 Breakfast"}},
        {"a month finds its days", "12/2003", {"12/31/2003 New year's eve"}},
        {"a day without a note", "3/15/2004", {}},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(shownAll(search.find(c.text)), c.shown);
    }
    EXPECT_TRUE(m_prompt.passwordRequests.empty());
}

TEST(FoldCase, PairsEveryWindows1252Letter)
{
    const std::string upper = "AZ\x8A\x8C\x8E\x9F\xC0\xC9\xD6\xD8\xDE";
    const std::string lower = "az\x9A\x9C\x9E\xFF\xE0\xE9\xF6\xF8\xFE";
    for (std::size_t i = 0; i < upper.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(foldCase(upper[i]), lower[i]);
        EXPECT_EQ(foldCase(lower[i]), lower[i]);
    }
    for (const char unchanged : std::string("\xD7\xF7\xDF\xB5\x80"
                                            "1@[")) // × ÷ ß µ €
        EXPECT_EQ(foldCase(unchanged), unchanged);
}

// A diary with a plain note and two protected ones, searched in a new run.
TEST_F(NoteSearchTest, ProtectedNotesOnlyWithThePasswordAskedOnce)
{
    struct Case
    {
        const char *name;
        std::vector<std::optional<std::string>> passwords; // answers to the dialog
        std::string knownBefore;                           // a password trusted this run
        std::vector<std::string> shownForText;
        std::vector<std::string> shownForMonth;
        std::size_t asked;
        std::size_t messages;
    };
    const std::vector<Case> cases = {
        {"right password typed",
         {"pw"},
         "",
         {"07/05/2004 a [secret] plan", "07/04/2004 [secret] garden"},
         {"07/05/2004 a secret plan", "07/04/2004 secret garden", "07/01/2004 plain day"},
         1,
         0},
        {"password known this run",
         {},
         "pw",
         {"07/05/2004 a [secret] plan", "07/04/2004 [secret] garden"},
         {"07/05/2004 a secret plan", "07/04/2004 secret garden", "07/01/2004 plain day"},
         0,
         0},
        {"dialog cancelled",
         {std::nullopt},
         "",
         {},
         {"07/05/2004 <unreadable>", "07/04/2004 <unreadable>", "07/01/2004 plain day"},
         1,
         0},
        {"wrong password",
         {"nope"},
         "",
         {},
         {"07/05/2004 <unreadable>", "07/04/2004 <unreadable>", "07/01/2004 plain day"},
         1,
         1},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        startRun();
        AppSettings.UsePass = true;
        storePlain("07012004T", "plain day");
        storeEnciphered("07042004T", "secret garden", "pw");
        storeEnciphered("07052004T", "a secret plan", "pw");
        CurrentPassword = c.knownBefore;
        m_prompt.passwords.assign(c.passwords.begin(), c.passwords.end());

        const NoteSearch search(m_prompt);
        EXPECT_EQ(shownAll(search.find("SECRET")), c.shownForText);
        EXPECT_EQ(shownAll(search.find("7/2004")), c.shownForMonth);
        EXPECT_EQ(m_prompt.passwordRequests.size(), c.asked);
        ASSERT_EQ(m_prompt.messages.size(), c.messages);
        if (c.messages > 0)
            expectMessage(m_prompt.messages[0], kPasswordIncorrect);
    }
}

// Without protection an enciphered note is locked, as the editor shows it, and
// nothing is asked.
TEST_F(NoteSearchTest, EncipheredNoteWithoutProtectionIsUnreadable)
{
    storeEnciphered("07042004T", "secret garden", "pw");
    const NoteSearch search(m_prompt);
    EXPECT_EQ(shownAll(search.find("secret")), std::vector<std::string>{});
    EXPECT_EQ(shownAll(search.find("07/04/2004")),
              std::vector<std::string>{"07/04/2004 <unreadable>"});
    EXPECT_TRUE(m_prompt.passwordRequests.empty());
}

} // namespace
} // namespace tamcal::test
