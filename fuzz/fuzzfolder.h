#pragma once

#include <filesystem>
#include <string>
#include <system_error>
#include <unistd.h>

namespace tamcal::fuzz {

// A folder of this process for the files a target writes, in memory where the
// machine has /dev/shm so that millions of writes spare the disk. Removed when
// the process ends.
class FuzzFolder
{
public:
    explicit FuzzFolder(const std::string &name)
    {
        std::error_code error;
        const std::filesystem::path shared = "/dev/shm";
        const auto base = std::filesystem::is_directory(shared, error)
                              ? shared
                              : std::filesystem::temp_directory_path();
        m_path = base / ("tamcal-fuzz-" + name + "-" + std::to_string(getpid()));
        std::filesystem::create_directories(m_path);
    }
    ~FuzzFolder()
    {
        std::error_code ignored;
        std::filesystem::remove_all(m_path, ignored);
    }
    FuzzFolder(const FuzzFolder &) = delete;
    FuzzFolder &operator=(const FuzzFolder &) = delete;

    // The folder's path followed by "/".
    std::string prefix() const { return m_path.string() + "/"; }

private:
    std::filesystem::path m_path;
};

} // namespace tamcal::fuzz
