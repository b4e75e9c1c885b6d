#include "notes/daynotes.h"

#include "notes/cipher.h"
#include "notes/password.h"
#include "profile/inifile.h"
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

} // namespace

std::optional<std::string> DayKey(const std::string &dayText)
{
    const auto date = ParseDateText(dayText);
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
    const auto key = DayKey(dayText);
    return key && !readStoredValue(*key).empty();
}

std::string ReadDayNote(const std::string &dayText, UserPrompt &prompt)
{
    const auto key = DayKey(dayText);
    if (!key)
        return {};
    const std::string stored = readStoredValue(*key);
    if (stored.empty())
        return {};
    std::string note = AppSettings.UsePass ? DecryptNote(stored, prompt) : HexCode(stored, true);
    return note.empty() ? std::string(kUnreadableNote) : note;
}

bool WriteDayNote(const std::string &dayText, const std::string &noteText, UserPrompt &prompt)
{
    const auto key = DayKey(dayText);
    if (!key)
        return false;
    if (!AppSettings.UsePass)
        return WriteIni(kDaysSection, *key, HexCode(noteText, false), AppSettings.IniPath);
    if (noteText.empty())
        return WriteIni(kDaysSection, *key, std::nullopt, AppSettings.IniPath);
    const std::optional<std::string> enciphered = EncryptNote(noteText, prompt);
    return enciphered && WriteIni(kDaysSection, *key, enciphered, AppSettings.IniPath);
}

} // namespace tamcal
