#pragma once

#include <optional>
#include <string>

namespace tamcal {

class UserPrompt;

// The password of this run: empty at start, never cleared once set.
inline std::string CurrentPassword;
// The offer to keep the password in the profile may still be made this run.
inline bool AskSavePassword = false;

// Asks for the password through the prompt; OK replaces CurrentPassword,
// Cancel leaves it as it was.
void AskPassword(UserPrompt &prompt);

// The note behind an enciphered stored value, or empty text when no password
// was given or it does not fit.
std::string DecryptNote(const std::string &storedValue, UserPrompt &prompt);

// The enciphered form of CurrentPassword followed by the note, or nothing when
// the note is empty or cannot be enciphered (the person has been told).
std::optional<std::string> EncryptNote(const std::string &noteText, UserPrompt &prompt);

} // namespace tamcal
