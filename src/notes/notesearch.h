#pragma once

#include <chrono>
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace tamcal {

class UserPrompt;

// One day the search found: the line of its note that matched, with the match
// as a byte span of that line. A day found by its date shows its note's first
// line with an empty match; an unreadable note has no line at all.
struct FoundDay
{
    std::chrono::year_month_day day;
    std::string line;
    std::size_t matchStart = 0;
    std::size_t matchLength = 0;
    bool isUnreadable = false;
};

// Windows-1252 letters in lower case (A-Z, the accented letters, Š Œ Ž Ÿ); any
// other byte stays as it is.
char foldCase(char byte);

// Every note of the profile, read once, searched as often as the person types.
// Protected notes are read only with the password of this run: when it is not
// known yet, the prompt asks for it once, here, and never per note.
class NoteSearch
{
public:
    explicit NoteSearch(UserPrompt &prompt);

    // Days whose note holds `text` regardless of letter case, and, when `text`
    // is a date ("7/4/2004") or a month ("7/2004"), the days of that date or
    // month that hold a note, unreadable ones too. Newest first.
    std::vector<FoundDay> find(std::string_view text) const;

    std::size_t noteCount() const { return m_notes.size(); }

private:
    struct Note
    {
        std::chrono::year_month_day day;
        std::string text;   // empty when unreadable
        std::string folded; // text in lower case, byte for byte
        bool isUnreadable = false;
    };

    void readNotes(UserPrompt &prompt);
    std::string readNote(const std::string &stored, UserPrompt &prompt);
    bool hasUsablePassword(UserPrompt &prompt, const std::string &firstStored);

    enum class PasswordUse { NotTried, Usable, Unusable };

    std::vector<Note> m_notes; // newest first
    PasswordUse m_passwordUse = PasswordUse::NotTried;
};

} // namespace tamcal
