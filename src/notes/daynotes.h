#pragma once

#include "notes/saveresult.h"

#include <optional>
#include <string>

namespace tamcal {

class UserPrompt;

// What ReadDayNote gives for a stored note that cannot be deciphered.
inline constexpr const char *kUnreadableNote = "~!##!~";

// "MMDDYYYYT" for a day text such as "07/04/2004" or "7/4/2004"; nothing when
// the text is not a date.
std::optional<std::string> dayKey(const std::string &dayText);

// Whether the day holds a stored note. Never deciphers, never asks anything.
bool DayHasNote(const std::string &dayText);

// The day's note: empty when none, else its text or kUnreadableNote. Reads the
// stored value in full, however long. A value in the enciphered form is
// unreadable while protection is off; one in the plain form is read as it is.
// May ask for the password.
std::string ReadDayNote(const std::string &dayText, UserPrompt &prompt);

// Stores the note for the day. Returns whether the profile now holds it, and if
// not, why; a note that could not be enciphered or written leaves the stored
// value as it was.
SaveResult WriteDayNote(const std::string &dayText, const std::string &noteText,
                        UserPrompt &prompt);

} // namespace tamcal
