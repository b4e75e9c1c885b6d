#include "cli/output.h"

#include "cli/actions.h"
#include "profile/settings.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

#include <fcntl.h>
#include <unistd.h>

namespace tamcal {

namespace {

class NoWindow : public SettingsHost
{
public:
    bool ynDoDailyPopup() const override { return false; }
    void setYnDoDailyPopup(bool) override {}
    void loadPicture(const std::string &) override {}
};

std::optional<std::string> writeAll(int file, std::string_view bytes)
{
    while (!bytes.empty()) {
        const ssize_t count = ::write(file, bytes.data(), bytes.size());
        if (count < 0 && errno == EINTR)
            continue;
        if (count <= 0)
            return std::strerror(count < 0 ? errno : ENOSPC);
        bytes.remove_prefix(std::size_t(count));
    }
    return std::nullopt;
}

} // namespace

void LoadProfileSettings()
{
    NoWindow window;
    LoadSettings(window);
}

std::optional<std::string> WritableReason(const std::string &path)
{
    const int file = ::open(path.c_str(), O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC, 0666);
    if (file < 0)
        return std::strerror(errno);
    ::close(file);
    return std::nullopt;
}

std::optional<std::string> WriteOutput(const std::string &path, std::string_view bytes)
{
    if (path.empty())
        return writeAll(STDOUT_FILENO, bytes);
    const int file = ::open(path.c_str(), O_WRONLY | O_TRUNC | O_CREAT | O_CLOEXEC, 0666);
    if (file < 0)
        return std::strerror(errno);
    std::optional<std::string> reason = writeAll(file, bytes);
    if (::close(file) != 0 && !reason)
        reason = std::strerror(errno);
    return reason;
}

int ReportNotWritten(const std::string &path, const std::string &reason)
{
    std::fprintf(stderr, "tamcal: cannot write %s: %s\n", path.c_str(), reason.c_str());
    return kExitNotWritten;
}

} // namespace tamcal
