#include "notes/protection.h"

#include "notes/cipher.h"
#include "notes/notedays.h"
#include "notes/password.h"
#include "profile/inichange.h"
#include "profile/inifile.h"
#include "profile/settings.h"
#include "profile/userprompt.h"
#include "report/datetext.h"

#include <algorithm>
#include <optional>

namespace tamcal {

namespace {

// How often the progress is told, in notes: often enough for a smooth bar, rarely
// enough to cost nothing.
constexpr std::size_t kProgressStep = 128;
// The days named in one message; the rest are counted.
constexpr std::size_t kDaysNamed = 20;

struct NoteReading
{
    std::optional<std::string> note; // nothing when neither password opens it
    bool isEnciphered = false;
    bool isOpenedByFrom = false;
};

NoteReading readStored(const std::string &value, const std::string &from, const std::string &to)
{
    if (!isEncipheredForm(value))
        return {HexCode(value, true), false, false};
    if (!from.empty()) {
        if (auto note = noteUnder(value, from))
            return {std::move(note), true, true};
    }
    return {to.empty() ? std::nullopt : noteUnder(value, to), true, false};
}

// The stored form of a note under `to`; nothing when the password followed by the
// note would begin with the cipher marker and so could not be enciphered.
std::optional<std::string> storedForm(const std::string &note, const std::string &to)
{
    if (to.empty())
        return HexCode(note, false);
    const std::string plain = to + note;
    if (plain.starts_with(kCipherMarker))
        return std::nullopt;
    return CryptText(plain, to);
}

bool hasSavedPassword()
{
    const auto keys = ReadIniKeys("Main", AppSettings.IniPath);
    return std::find(keys.begin(), keys.end(), "ping") != keys.end();
}

void addSettingChanges(std::vector<IniChange> &changes, const std::string &to)
{
    changes.push_back({"Main", "UsePass", to.empty() ? "False" : "True"});
    if (hasSavedPassword())
        changes.push_back(
            {"Main", "ping", to.empty() ? std::nullopt : std::optional(HexCode(to, false))});
}

void keepRunInStep(const std::string &to)
{
    AppSettings.UsePass = !to.empty();
    if (to.empty())
        return;
    CurrentPassword = to;
    CurrentPasswordStanding = PasswordStanding::Trusted;
}

void tell(UserPrompt &prompt, const std::string &text, const std::string &title)
{
    prompt.showMessage({text, title, MsgButtons::Ok, MsgIcon::Exclamation, 1});
}

void reportIncorrect(UserPrompt &prompt)
{
    tell(prompt, "Password is Incorrect", "Password is Incorrect");
}

std::string dayList(const std::vector<std::chrono::year_month_day> &days)
{
    std::string list;
    for (std::size_t d = 0; d < days.size() && d < kDaysNamed; ++d)
        list += (d ? ", " : "") + shortDateText(days[d]);
    if (days.size() > kDaysNamed)
        list += " and " + std::to_string(days.size() - kDaysNamed) + " more";
    return list;
}

// Tells the person what they must know of a conversion; true when it was written.
bool reportConversion(const Conversion &conversion, UserPrompt &prompt)
{
    if (conversion.isRefused) {
        reportIncorrect(prompt);
        return false;
    }
    if (!conversion.written) {
        tell(prompt,
             "The notes were not converted; the profile is as it was.\r\n\r\n" +
                 describe(*conversion.written.failure()),
             "Not Saved!");
        return false;
    }
    const auto &left = conversion.unreadableDays;
    if (!left.empty())
        tell(prompt,
             std::to_string(left.size()) + (left.size() == 1 ? " note" : " notes") +
                 " could not be deciphered with this password and stayed as they were: " +
                 dayList(left) + ".",
             "Notes Left As They Were");
    return true;
}

// A new password, typed twice alike, that can encipher notes; nothing when the
// person gives up.
std::optional<std::string> askNewPassword(UserPrompt &prompt)
{
    for (;;) {
        const auto first = prompt.askNewPassword();
        if (!first || first->empty())
            return std::nullopt;
        if (first->starts_with(kCipherMarker)) {
            tell(prompt,
                 "A password cannot begin with \"737\": every protected note begins so. "
                 "Choose another one.",
                 "Password Refused");
            continue;
        }
        const auto again = prompt.confirmPassword();
        if (!again)
            return std::nullopt;
        if (*again == *first)
            return first;
        tell(prompt,
             "The two passwords are not the same.\r\n\r\n"
             "Type the new password again, then once more to confirm it.",
             "Passwords Differ");
    }
}

// The password in use as the person types it; it must open a stored note, if any.
std::optional<std::string> askCurrentPassword(UserPrompt &prompt)
{
    const auto given = prompt.askPassword({});
    if (!given || given->empty())
        return std::nullopt;
    const auto opens = [&](std::string_view value) {
        return isEncipheredForm(value) && noteUnder(std::string(value), *given);
    };
    const bool hasEnciphered =
        FindIniValue(
            "Days", [](std::string_view v) { return isEncipheredForm(v); }, AppSettings.IniPath)
            .has_value();
    if (hasEnciphered && !FindIniValue("Days", opens, AppSettings.IniPath)) {
        reportIncorrect(prompt);
        return std::nullopt;
    }
    return given;
}

} // namespace

Conversion convertNotes(const std::string &from, const std::string &to,
                        const ConversionProgress &progress)
{
    Conversion result;
    const auto entries = ReadIniSection("Days", AppSettings.IniPath);
    std::vector<IniChange> changes;
    changes.reserve(entries.size() + 2);
    std::size_t enciphered = 0;
    std::size_t openedByFrom = 0;
    for (std::size_t e = 0; e < entries.size(); ++e) {
        if (progress && e % kProgressStep == 0)
            progress(e, entries.size());
        const auto &[key, value] = entries[e];
        if (value.empty())
            continue;
        const NoteReading reading = readStored(value, from, to);
        enciphered += reading.isEnciphered;
        openedByFrom += reading.isOpenedByFrom;
        const auto newForm = reading.note ? storedForm(*reading.note, to) : std::nullopt;
        if (!newForm) {
            if (const auto day = dayOfKey(key))
                result.unreadableDays.push_back(*day);
            continue;
        }
        changes.push_back({"Days", key, *newForm});
        ++result.converted;
    }
    result.isRefused = !from.empty() && enciphered > 0 && openedByFrom == 0;
    if (result.isRefused)
        return result;
    std::sort(result.unreadableDays.begin(), result.unreadableDays.end());
    addSettingChanges(changes, to);
    result.written = WriteIniBatch(changes, AppSettings.IniPath);
    if (result.written)
        keepRunInStep(to);
    if (progress)
        progress(entries.size(), entries.size());
    return result;
}

bool turnProtectionOn(UserPrompt &prompt, const ConversionProgress &progress)
{
    const auto password = askNewPassword(prompt);
    return password && reportConversion(convertNotes({}, *password, progress), prompt);
}

bool turnProtectionOff(UserPrompt &prompt, const ConversionProgress &progress)
{
    const auto password = askCurrentPassword(prompt);
    return password && reportConversion(convertNotes(*password, {}, progress), prompt);
}

bool changePassword(UserPrompt &prompt, const ConversionProgress &progress)
{
    const auto old = askCurrentPassword(prompt);
    if (!old)
        return false;
    const auto password = askNewPassword(prompt);
    return password && reportConversion(convertNotes(*old, *password, progress), prompt);
}

} // namespace tamcal
