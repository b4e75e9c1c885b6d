#pragma once

#include "profile/writeresult.h"

#include <optional>
#include <string>

namespace tamcal {

// Why a note was not stored, or that it was.
enum class SaveCause {
    Stored,
    NotADate,        // the day text names no day
    NoPassword,      // the password dialog was cancelled
    PasswordRefused, // the password given does not open the notes already stored
    NotEnciphered,   // the password followed by the note cannot be enciphered
    Profile,         // the profile could not be written; `failure` tells why
};

// The outcome of storing a note. Converts to true when the profile holds it.
struct SaveResult
{
    SaveCause cause = SaveCause::Stored;
    std::optional<WriteFailure> failure;

    SaveResult() = default;
    SaveResult(SaveCause why) : cause(why) {}
    SaveResult(const WriteResult &written)
        : cause(written ? SaveCause::Stored : SaveCause::Profile), failure(written.failure())
    {
    }

    operator bool() const { return cause == SaveCause::Stored; }
};

// Why the note was not stored, in words a person understands; empty when it was.
std::string describe(const SaveResult &result);

} // namespace tamcal
