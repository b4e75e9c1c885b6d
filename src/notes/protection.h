#pragma once

#include "profile/writeresult.h"

#include <chrono>
#include <cstddef>
#include <functional>
#include <string>
#include <vector>

namespace tamcal {

class UserPrompt;

// Called now and then while notes are converted: how many of `total` are done.
using ConversionProgress = std::function<void(std::size_t done, std::size_t total)>;

// What converting the stored notes came to. `written` fails when the profile
// could not be replaced; then it holds every note as before.
struct Conversion
{
    WriteResult written;
    std::size_t converted = 0;                               // notes now in the new form
    std::vector<std::chrono::year_month_day> unreadableDays; // left as they were, oldest first
    bool isRefused = false; // `from` opens none of the enciphered notes: nothing written
};

// Rewrites every note of section Days in one replacement of the profile: each
// one deciphered under `from` (or `to`), or read from the plain form, is stored
// enciphered under `to`, or in the plain form when `to` is empty. UsePass is
// written to match, and a saved password is replaced by `to` or removed. Notes
// that open under neither password stay as they are. Keeps CurrentPassword and
// UsePass of this run in step when the profile took the change.
Conversion convertNotes(const std::string &from, const std::string &to,
                        const ConversionProgress &progress = {});

// The three changes of protection the settings window offers. Each asks what it
// needs through the prompt, converts the notes and tells the person what came of
// it. True when the profile now holds the notes in their new form.
bool turnProtectionOn(UserPrompt &prompt, const ConversionProgress &progress = {});
bool turnProtectionOff(UserPrompt &prompt, const ConversionProgress &progress = {});
bool changePassword(UserPrompt &prompt, const ConversionProgress &progress = {});

} // namespace tamcal
