#include "notes/notesearch.h"

#include "notes/cipher.h"
#include "notes/daynotes.h"
#include "notes/notedays.h"
#include "notes/password.h"
#include "profile/inifile.h"
#include "profile/settings.h"
#include "profile/userprompt.h"
#include "report/datetext.h"

#include <algorithm>
#include <cstdint>
#include <optional>

namespace tamcal {

namespace {

using std::chrono::sys_days;

struct DayRange
{
    sys_days first;
    sys_days last;
};

std::string folded(std::string_view text)
{
    std::string result(text);
    std::transform(result.begin(), result.end(), result.begin(), foldCase);
    return result;
}

// "7/4/2004" is that day, "7/2004" that month; any other text is no date.
std::optional<DayRange> dateRangeOf(std::string_view text)
{
    if (const auto date = parseDateText(text))
        return DayRange{date->day, date->day};
    const std::size_t slash = text.find('/');
    if (slash == std::string_view::npos || text.find('/', slash + 1) != std::string_view::npos)
        return std::nullopt;
    std::string firstOfMonth(text.substr(0, slash));
    firstOfMonth += "/1/";
    firstOfMonth += text.substr(slash + 1);
    const auto first = parseDateText(firstOfMonth);
    if (!first || first->timeOfDay.count() != 0)
        return std::nullopt;
    const std::chrono::year_month_day ymd{first->day};
    const std::chrono::year_month_day_last last{ymd.year(),
                                                std::chrono::month_day_last{ymd.month()}};
    return DayRange{first->day, sys_days(last)};
}

// The line of `text` that holds the byte at `pos`, as [start, end).
std::pair<std::size_t, std::size_t> lineAround(const std::string &text, std::size_t pos)
{
    const std::size_t before = text.find_last_of("\r\n", pos == 0 ? 0 : pos - 1);
    const std::size_t start = pos == 0 || before == std::string::npos ? 0 : before + 1;
    const std::size_t end = std::min(text.find_first_of("\r\n", pos), text.size());
    return {start, end};
}

} // namespace

char foldCase(char byte)
{
    const auto code = static_cast<unsigned char>(byte);
    const bool isUpper =
        (code >= 'A' && code <= 'Z') || (code >= 0xC0 && code <= 0xDE && code != 0xD7); // not ×
    if (isUpper)
        return static_cast<char>(code + 0x20);
    switch (code) {
    case 0x8A: // Š
    case 0x8C: // Œ
    case 0x8E: // Ž
        return static_cast<char>(code + 0x10);
    case 0x9F: // Ÿ
        return static_cast<char>(0xFF);
    default:
        return byte;
    }
}

NoteSearch::NoteSearch(UserPrompt &prompt)
{
    readNotes(prompt);
}

void NoteSearch::readNotes(UserPrompt &prompt)
{
    for (const auto &day : NotedDays()) {
        const std::string stored =
            ReadIni("Days", *dayKey(displayDateText(day)), {}, AppSettings.IniPath, SIZE_MAX);
        Note note{day, readNote(stored, prompt), {}, false};
        note.isUnreadable = note.text.empty();
        note.folded = folded(note.text);
        m_notes.push_back(std::move(note));
    }
    std::reverse(m_notes.begin(), m_notes.end());
}

// A note as the day store reads it, except that a protected one never asks:
// the password was asked for once, at the first protected note.
std::string NoteSearch::readNote(const std::string &stored, UserPrompt &prompt)
{
    if (!isEncipheredForm(stored))
        return HexCode(stored, true);
    if (!AppSettings.UsePass || !hasUsablePassword(prompt, stored))
        return {};
    return noteUnder(stored, CurrentPassword).value_or(std::string());
}

// A password proven earlier in this run stays in use even when one note does not
// open under it; one just typed must open the first protected note.
bool NoteSearch::hasUsablePassword(UserPrompt &prompt, const std::string &firstStored)
{
    if (m_passwordUse != PasswordUse::NotTried)
        return m_passwordUse == PasswordUse::Usable;
    m_passwordUse = PasswordUse::Unusable;
    const bool mustAsk =
        CurrentPassword.empty() || CurrentPasswordStanding == PasswordStanding::Rejected;
    if (mustAsk && !AskPassword(prompt))
        return false;
    const bool opens = noteUnder(firstStored, CurrentPassword).has_value();
    if (opens)
        CurrentPasswordStanding = PasswordStanding::Trusted;
    if (!opens && CurrentPasswordStanding != PasswordStanding::Trusted) {
        CurrentPasswordStanding = PasswordStanding::Rejected;
        prompt.showMessage({"Password is Incorrect", "Password is Incorrect", MsgButtons::Ok,
                            MsgIcon::Exclamation, 1});
        return false;
    }
    m_passwordUse = PasswordUse::Usable;
    return true;
}

std::vector<FoundDay> NoteSearch::find(std::string_view text) const
{
    std::vector<FoundDay> found;
    const std::string wanted = folded(text);
    const auto range = dateRangeOf(text);
    for (const Note &note : m_notes) {
        const std::size_t pos = wanted.empty() ? std::string::npos : note.folded.find(wanted);
        if (pos != std::string::npos) {
            const auto [start, end] = lineAround(note.text, pos);
            found.push_back({note.day, note.text.substr(start, end - start), pos - start,
                             wanted.size(), false});
        } else if (range && sys_days(note.day) >= range->first &&
                   sys_days(note.day) <= range->last) {
            const auto [start, end] = lineAround(note.text, 0);
            found.push_back(
                {note.day, note.text.substr(start, end - start), 0, 0, note.isUnreadable});
        }
    }
    return found;
}

} // namespace tamcal
