#pragma once

#include <sys/stat.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>
#include <string>

namespace tamcal::test {

// A fresh folder for one test, removed with everything in it afterwards.
class TempFolder
{
public:
    TempFolder()
    {
        std::string pattern = (std::filesystem::temp_directory_path() / "tamcal-XXXXXX").string();
        m_path = ::mkdtemp(pattern.data());
    }
    ~TempFolder()
    {
        std::error_code error;
        std::filesystem::permissions(m_path, std::filesystem::perms::owner_all, error);
        std::filesystem::remove_all(m_path, error);
    }
    TempFolder(const TempFolder &) = delete;
    TempFolder &operator=(const TempFolder &) = delete;

    // The folder with a trailing "/".
    std::string path() const { return m_path + "/"; }
    std::string file(const std::string &name) const { return path() + name; }

    std::set<std::string> names() const
    {
        std::set<std::string> result;
        for (const auto &entry : std::filesystem::directory_iterator(m_path))
            result.insert(entry.path().filename().string());
        return result;
    }

private:
    std::string m_path;
};

inline void writeBytes(const std::string &path, const std::string &bytes)
{
    std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
}

inline std::string readBytes(const std::string &path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

inline bool exists(const std::string &path)
{
    struct stat status;
    return ::lstat(path.c_str(), &status) == 0;
}

} // namespace tamcal::test
