#include "notes/password.h"

#include "notes/cipher.h"
#include "profile/inifile.h"
#include "profile/settings.h"
#include "profile/userprompt.h"

namespace tamcal {

namespace {

// The note behind `storedValue` when `password` deciphers it, nothing otherwise. Only a
// value carrying the cipher marker is deciphered: any other value would be enciphered
// instead, and a short password such as "7" would then pass the check on the marker.
std::optional<std::string> noteUnder(const std::string &storedValue, const std::string &password)
{
    if (!storedValue.starts_with(kCipherMarker))
        return std::nullopt;
    std::string plain = CryptText(storedValue, password);
    if (!plain.starts_with(password))
        return std::nullopt;
    return plain.substr(password.size());
}

void offerToSavePassword(UserPrompt &prompt)
{
    if (!AskSavePassword)
        return;
    AskSavePassword = false;
    const MsgAnswer answer =
        prompt.showMessage({"Would you like to save your password?", "Save Password?",
                            MsgButtons::YesNo, MsgIcon::Question, 1});
    if (answer == MsgAnswer::Yes)
        IniAccess("Main", "ping", HexCode(CurrentPassword, false), true);
}

void offerToTurnOffProtection(UserPrompt &prompt)
{
    const MsgAnswer answer =
        prompt.showMessage({"Not Saved! Do you want to Turn off Password encryption?\r\n",
                            "No Password Specified!", MsgButtons::YesNo, MsgIcon::Critical, 1});
    if (answer != MsgAnswer::Yes)
        return;
    AppSettings.UsePass = false;
    IniAccess("Main", "UsePass", "False", true);
}

// Enciphering starts from the password followed by the note; when that text begins with
// the cipher marker it would be deciphered instead, so there is nothing safe to store.
void reportMarkerClash(UserPrompt &prompt)
{
    prompt.showMessage({"an error occured!\r\n0 - The password followed by the note begins "
                        "with \"737\", the cipher marker, so it cannot be enciphered. Choose "
                        "a password that does not begin with \"737\".",
                        "Now what did you do!", MsgButtons::Ok, MsgIcon::Critical, 1});
}

} // namespace

void AskPassword(UserPrompt &prompt)
{
    const std::optional<std::string> entered = prompt.askPassword(CurrentPassword);
    if (entered && !entered->empty())
        CurrentPassword = *entered;
}

std::string DecryptNote(const std::string &storedValue, UserPrompt &prompt)
{
    if (storedValue.empty())
        return {};
    if (CurrentPassword.empty()) {
        AskPassword(prompt);
        if (CurrentPassword.empty())
            return {};
    }
    if (auto note = noteUnder(storedValue, CurrentPassword))
        return std::move(*note);
    AskPassword(prompt);
    if (auto note = noteUnder(storedValue, CurrentPassword)) {
        offerToSavePassword(prompt);
        return std::move(*note);
    }
    prompt.showMessage({"Password is Incorrect", "Password is Incorrect", MsgButtons::Ok,
                        MsgIcon::Exclamation, 1});
    return {};
}

std::optional<std::string> EncryptNote(const std::string &noteText, UserPrompt &prompt)
{
    if (noteText.empty())
        return std::nullopt;
    if (CurrentPassword.empty())
        CurrentPassword = HexCode(IniAccess("Main", "ping", std::string(), false), true);
    if (CurrentPassword.empty())
        AskPassword(prompt);
    if (CurrentPassword.empty()) {
        offerToTurnOffProtection(prompt);
        return std::nullopt;
    }
    const std::string plain = CurrentPassword + noteText;
    if (plain.starts_with(kCipherMarker)) {
        reportMarkerClash(prompt);
        return std::nullopt;
    }
    return CryptText(plain, CurrentPassword);
}

} // namespace tamcal
