#include "notes/daynotes.h"

#include "notes/cipher.h"
#include "notes/password.h"
#include "profile/inifile.h"
#include "profile/safetycopy.h"
#include "profile/settings.h"
#include "report/datetext.h"

#include <chrono>
#include <cstdint>
#include <cstdio>

namespace tamcal {

namespace {

constexpr const char *kDaysSection = "Days";

// Notes are read in full: a value cut at the profile's usual limit would come back
// shortened, and saving that text would destroy the rest of the note.
std::string readStoredValue(const std::string &key)
{
    return ReadIni(kDaysSection, key, std::string(), AppSettings.IniPath, SIZE_MAX);
}

// Every note write goes through here, so the first one of a day finds the
// profile still as it was and keeps that day's safety copy of it.
WriteResult storeValue(const std::string &key, const std::optional<std::string> &value,
                       UserPrompt &prompt)
{
    keepDailySafetyCopy(prompt);
    return WriteIni(kDaysSection, key, value, AppSettings.IniPath);
}

} // namespace

std::optional<std::string> dayKey(const std::string &dayText)
{
    const auto date = parseDateText(dayText);
    if (!date)
        return std::nullopt;
    const std::chrono::year_month_day ymd{date->day};
    char key[16];
    std::snprintf(key, sizeof key, "%02u%02u%04dT", static_cast<unsigned>(ymd.month()),
                  static_cast<unsigned>(ymd.day()), static_cast<int>(ymd.year()));
    return std::string(key);
}

bool DayHasNote(const std::string &dayText)
{
    const auto key = dayKey(dayText);
    return key && !readStoredValue(*key).empty();
}

// A stored value is read in the form it is in, whatever the protection setting:
// an enciphered one needs the password and is locked without protection, and a
// plain one is the note itself, enciphered the next time it is saved.
std::string ReadDayNote(const std::string &dayText, UserPrompt &prompt)
{
    const auto key = dayKey(dayText);
    if (!key)
        return {};
    const std::string stored = readStoredValue(*key);
    if (stored.empty())
        return {};
    std::string note;
    if (!isEncipheredForm(stored))
        note = HexCode(stored, true);
    else if (AppSettings.UsePass)
        note = DecryptNote(stored, prompt);
    return note.empty() ? std::string(kUnreadableNote) : note;
}

SaveResult WriteDayNote(const std::string &dayText, const std::string &noteText, UserPrompt &prompt)
{
    const auto key = dayKey(dayText);
    if (!key)
        return SaveCause::NotADate;
    if (!AppSettings.UsePass)
        return storeValue(*key, HexCode(noteText, false), prompt);
    if (noteText.empty())
        return storeValue(*key, std::nullopt, prompt);
    const Encipherment enciphered = encipherNote(noteText, prompt);
    if (!enciphered.value)
        return enciphered.cause;
    return storeValue(*key, enciphered.value, prompt);
}

std::string describe(const SaveResult &result)
{
    switch (result.cause) {
    case SaveCause::Stored:
        return {};
    case SaveCause::NotADate:
        return "The day is not a date the diary knows.";
    case SaveCause::NoPassword:
        return "Nothing was stored, because no password was given.";
    case SaveCause::PasswordRefused:
        return "Nothing was stored, because the password given does not open the notes "
               "already kept under this diary's password.";
    case SaveCause::NotEnciphered:
        return "Nothing was stored, because the password followed by the note begins with "
               "\"737\" and cannot be enciphered.";
    case SaveCause::Profile:
        return result.failure ? describe(*result.failure) : std::string();
    }
    return {};
}

} // namespace tamcal
