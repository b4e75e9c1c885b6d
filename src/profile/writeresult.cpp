#include "profile/writeresult.h"

#include <cerrno>
#include <cstring>

namespace tamcal {

namespace {

std::string stepWords(const WriteFailure &failure)
{
    switch (failure.step) {
    case WriteStep::Entry:
        return "the text would not stay on one line";
    case WriteStep::Read:
        return "reading it";
    case WriteStep::Access:
        return "checking that it may be replaced";
    case WriteStep::Lock:
        return "locking it through " + failure.file;
    case WriteStep::Temporary:
        return "creating the new file " + failure.file;
    case WriteStep::Write:
        return "writing the new file " + failure.file;
    case WriteStep::Flush:
        return "putting the new file " + failure.file + " on the disk";
    case WriteStep::Rename:
        return "putting the new file " + failure.file + " in its place";
    }
    return {};
}

std::string reasonWords(const WriteFailure &failure)
{
    if (failure.step == WriteStep::Lock && failure.error == EWOULDBLOCK)
        return "another program is writing the profile";
    if (failure.step == WriteStep::Entry)
        return "a line break cannot be kept in the profile";
    return failure.error == 0 ? std::string("unknown reason") : std::strerror(failure.error);
}

} // namespace

std::string describe(const WriteFailure &failure)
{
    if (failure.step == WriteStep::Entry)
        return "The profile " + failure.profile + " was not changed: " + reasonWords(failure) + ".";
    return "The profile " + failure.profile + " could not be written (" + stepWords(failure) +
           "): " + reasonWords(failure) + ".";
}

} // namespace tamcal
