#pragma once

#include <filesystem>
#include <set>
#include <string>

namespace tamcal::test {

// A fresh folder for one test, removed with everything in it when the test ends.
class TempFolder
{
public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder &) = delete;
    TempFolder &operator=(const TempFolder &) = delete;

    const std::filesystem::path &path() const { return m_path; }
    std::string file(const std::string &name) const { return (m_path / name).string(); }
    // Names of everything in the folder.
    std::set<std::string> names() const;
    // Names of everything in the folder but lock files, sorted, one a line.
    std::string listing() const;

private:
    std::filesystem::path m_path;
};

std::string readBytes(const std::string &file);
void writeBytes(const std::string &file, const std::string &bytes);
// Whether anything, a dangling link included, stands at the path.
bool exists(const std::string &file);

} // namespace tamcal::test
