#pragma once

#include "notes/saveresult.h"

#include <optional>
#include <string>

namespace tamcal {

class UserPrompt;

// The password of this run: empty at start, never cleared once set.
inline std::string CurrentPassword;
// The offer to keep the password in the profile may still be made this run.
inline bool AskSavePassword = false;

// What is known of CurrentPassword. Only a trusted password enciphers a note:
// one that opened a stored note, was given twice for a profile without any, or
// came from the profile's saved password after passing the same check.
enum class PasswordStanding {
    Trusted,
    Typed,    // given in the dialog and not yet checked against a stored note
    Rejected, // failed a check in this run
};
inline PasswordStanding CurrentPasswordStanding = PasswordStanding::Trusted;

// The note behind `storedValue` when `password` deciphers it, nothing otherwise.
// Never asks anything.
std::optional<std::string> noteUnder(const std::string &storedValue, const std::string &password);

// Asks for the password through the prompt; OK replaces CurrentPassword (and
// makes it a typed one), Cancel leaves it as it was. Returns whether one was given.
bool AskPassword(UserPrompt &prompt);

// The note behind an enciphered stored value, or empty text when no password
// was given or it does not fit.
std::string DecryptNote(const std::string &storedValue, UserPrompt &prompt);

// The enciphered form of CurrentPassword followed by the note, or nothing when
// the note is empty or cannot be enciphered (the person has been told).
std::optional<std::string> EncryptNote(const std::string &noteText, UserPrompt &prompt);

// EncryptNote with the reason when there is nothing to store.
struct Encipherment
{
    std::optional<std::string> value;
    SaveCause cause = SaveCause::Stored;
};
Encipherment encipherNote(const std::string &noteText, UserPrompt &prompt);

} // namespace tamcal
