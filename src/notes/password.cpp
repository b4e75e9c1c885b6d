#include "notes/password.h"

#include "notes/cipher.h"
#include "profile/inifile.h"
#include "profile/settings.h"
#include "profile/userprompt.h"

namespace tamcal {

// Only a value carrying the cipher marker is deciphered: any other value would be
// enciphered instead, and a short password such as "7" would then pass the check on the marker.
std::optional<std::string> noteUnder(const std::string &storedValue, const std::string &password)
{
    if (!storedValue.starts_with(kCipherMarker))
        return std::nullopt;
    std::string plain = CryptText(storedValue, password);
    if (!plain.starts_with(password))
        return std::nullopt;
    return plain.substr(password.size());
}

namespace {

// One stored note in the enciphered form: what a password not yet proven must open.
std::optional<std::string> sampleEncipheredNote()
{
    return FindIniValue(
        "Days", [](std::string_view value) { return isEncipheredForm(value); },
        AppSettings.IniPath);
}

void trust(bool isTrusted)
{
    CurrentPasswordStanding = isTrusted ? PasswordStanding::Trusted : PasswordStanding::Rejected;
}

void reportIncorrect(UserPrompt &prompt)
{
    prompt.showMessage({"Password is Incorrect", "Password is Incorrect", MsgButtons::Ok,
                        MsgIcon::Exclamation, 1});
}

// The password kept in the profile, taken only when it opens the stored notes
// (any will do for a profile without enciphered notes); a stale one is ignored.
void adoptSavedPassword()
{
    const std::string saved = HexCode(IniAccess("Main", "ping", std::string(), false), true);
    if (saved.empty() || saved.starts_with(kCipherMarker))
        return;
    const auto sample = sampleEncipheredNote();
    if (sample && !noteUnder(*sample, saved))
        return;
    CurrentPassword = saved;
    trust(true);
}

// The first password of a profile is typed twice: with nothing stored to check it
// against, one slip would otherwise lock every note saved under it.
SaveCause confirmFirstPassword(UserPrompt &prompt)
{
    for (;;) {
        const std::optional<std::string> again = prompt.confirmPassword();
        if (!again)
            return SaveCause::NoPassword;
        if (*again == CurrentPassword) {
            trust(true);
            return SaveCause::Stored;
        }
        prompt.showMessage({"The two passwords are not the same, so nothing was stored.\r\n\r\n"
                            "Type the new password again, then once more to confirm it.",
                            "Passwords Differ", MsgButtons::Ok, MsgIcon::Exclamation, 1});
        if (!AskPassword(prompt))
            return SaveCause::NoPassword;
    }
}

// A typed password must open a stored note before it enciphers one: two tries.
SaveCause checkTypedPassword(UserPrompt &prompt, const std::string &sample)
{
    for (int attempt = 0;; ++attempt) {
        const bool opens = noteUnder(sample, CurrentPassword).has_value();
        trust(opens);
        if (opens)
            return SaveCause::Stored;
        if (attempt == 1)
            return SaveCause::PasswordRefused;
        reportIncorrect(prompt);
        if (!AskPassword(prompt))
            return SaveCause::NoPassword;
    }
}

// Makes CurrentPassword one that may encipher notes of this profile, asking when
// it must. SaveCause::Stored when it is.
SaveCause obtainTrustedPassword(UserPrompt &prompt)
{
    if (CurrentPassword.empty())
        adoptSavedPassword();
    const bool mustAsk =
        CurrentPassword.empty() || CurrentPasswordStanding == PasswordStanding::Rejected;
    if (mustAsk && !AskPassword(prompt))
        return SaveCause::NoPassword;
    if (CurrentPasswordStanding == PasswordStanding::Trusted)
        return SaveCause::Stored;
    const auto sample = sampleEncipheredNote();
    return sample ? checkTypedPassword(prompt, *sample) : confirmFirstPassword(prompt);
}

// A setting the person asked for that did not reach the profile: they are told why.
void tellIfNotKept(const WriteResult &written, const std::string &what, UserPrompt &prompt)
{
    if (written)
        return;
    prompt.showMessage({what + "\r\n\r\n" + describe(*written.failure()), "Not Saved!",
                        MsgButtons::Ok, MsgIcon::Exclamation, 1});
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
        tellIfNotKept(
            WriteIni("Main", "ping", HexCode(CurrentPassword, false), AppSettings.IniPath),
            "Your password was not kept in the profile.", prompt);
}

void offerToTurnOffProtection(UserPrompt &prompt)
{
    const MsgAnswer answer =
        prompt.showMessage({"Not Saved! Do you want to Turn off Password encryption?\r\n",
                            "No Password Specified!", MsgButtons::YesNo, MsgIcon::Critical, 1});
    if (answer != MsgAnswer::Yes)
        return;
    AppSettings.UsePass = false;
    tellIfNotKept(WriteIni("Main", "UsePass", "False", AppSettings.IniPath),
                  "Password protection is off for now, but the profile still says it is on.",
                  prompt);
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

bool AskPassword(UserPrompt &prompt)
{
    const std::optional<std::string> entered = prompt.askPassword(CurrentPassword);
    if (!entered || entered->empty())
        return false;
    CurrentPassword = *entered;
    CurrentPasswordStanding = PasswordStanding::Typed;
    return true;
}

std::string DecryptNote(const std::string &storedValue, UserPrompt &prompt)
{
    if (storedValue.empty())
        return {};
    if (CurrentPassword.empty() && !AskPassword(prompt))
        return {};
    for (int attempt = 0;; ++attempt) {
        auto note = noteUnder(storedValue, CurrentPassword);
        trust(note.has_value());
        if (note) {
            if (attempt == 1)
                offerToSavePassword(prompt);
            return std::move(*note);
        }
        if (attempt == 1)
            break;
        AskPassword(prompt);
    }
    reportIncorrect(prompt);
    return {};
}

std::optional<std::string> EncryptNote(const std::string &noteText, UserPrompt &prompt)
{
    return encipherNote(noteText, prompt).value;
}

Encipherment encipherNote(const std::string &noteText, UserPrompt &prompt)
{
    if (noteText.empty())
        return {};
    const SaveCause obtained = obtainTrustedPassword(prompt);
    if (obtained == SaveCause::NoPassword)
        offerToTurnOffProtection(prompt);
    if (obtained != SaveCause::Stored)
        return {std::nullopt, obtained};
    const std::string plain = CurrentPassword + noteText;
    if (plain.starts_with(kCipherMarker)) {
        reportMarkerClash(prompt);
        return {std::nullopt, SaveCause::NotEnciphered};
    }
    return {CryptText(plain, CurrentPassword), SaveCause::Stored};
}

} // namespace tamcal
