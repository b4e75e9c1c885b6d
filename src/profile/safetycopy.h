#pragma once

#include <chrono>
#include <functional>
#include <optional>
#include <string>

namespace tamcal {

class UserPrompt;

// How many daily copies are kept when the profile does not say.
inline constexpr int kDefaultSafetyCopies = 14;

// The "Backups" key of [Main]: how many daily copies to keep, 0 for none;
// kDefaultSafetyCopies when the key is missing or not a whole number.
int safetyCopyCount(const std::string &profile);

// A daily copy that could not be made or tidied: the file and the system's reason.
struct SafetyCopyFailure
{
    std::string file;
    std::string reason;
};

// Copies the profile as it stands now to "backups/NAME-YYYY-MM-DD.ini" beside it
// (NAME being the profile's own name, "tamcal" for tamcal.ini), unless the day's
// copy is there already, then removes the oldest copies beyond `keep`. Does
// nothing when `keep` is 0 or the profile does not exist yet.
std::optional<SafetyCopyFailure> keepSafetyCopy(const std::string &profile,
                                                std::chrono::year_month_day today, int keep);

// Today in local civil time.
std::chrono::year_month_day localToday();

// The date the daily copies are named after; tests set another day.
inline std::function<std::chrono::year_month_day()> SafetyCopyToday = localToday;

// Whether a copy that could not be made was reported in this run already.
inline bool SafetyCopyFailureReported = false;

// Run before a note is written: makes the day's copy of AppSettings.IniPath and
// tells the person, once per run, when it cannot be made. Never stops the save.
void keepDailySafetyCopy(UserPrompt &prompt);

} // namespace tamcal
