#pragma once

#include <optional>
#include <string>

namespace tamcal {

// The step of a profile write that failed.
enum class WriteStep {
    Entry,     // the key or value cannot be kept on one line
    Read,      // reading the profile as it stands
    Access,    // finding out whether the profile may be replaced
    Lock,      // taking the lock that other copies of the program respect
    Temporary, // creating the new file beside the profile
    Write,     // writing the new file
    Flush,     // putting the new file on the disk
    Rename,    // putting the new file in place of the old one
};

// Why a write did not reach the profile: the step, the system's error number
// (0 when the step has none) and the file the step worked on (the profile, its
// lock file or the new file beside it).
struct WriteFailure
{
    WriteStep step = WriteStep::Write;
    int error = 0;
    std::string profile;
    std::string file;
};

// The outcome of a write: success, or the failure that stopped it. It converts
// to true when the profile holds what was asked, so callers that only need to
// know whether it worked stay simple.
class WriteResult
{
public:
    WriteResult() = default;
    WriteResult(WriteFailure failure) : m_failure(std::move(failure)) {}

    operator bool() const { return !m_failure; }
    const std::optional<WriteFailure> &failure() const { return m_failure; }

private:
    std::optional<WriteFailure> m_failure;
};

// The failure in plain words, with the file and the system's reason, such as
// "/home/me/tamcal.ini could not be written (creating the new file
// /home/me/tamcal.ini.tmp12-0): Permission denied".
std::string describe(const WriteFailure &failure);

} // namespace tamcal
