#include "support/tempfolder.h"

#include <sys/stat.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <stdexcept>
#include <system_error>

namespace tamcal::test {

TempFolder::TempFolder()
{
    std::string pattern = (std::filesystem::temp_directory_path() / "tamcal-test-XXXXXX").string();
    if (!mkdtemp(pattern.data()))
        throw std::runtime_error("cannot create a temporary folder");
    m_path = pattern;
}

TempFolder::~TempFolder()
{
    std::error_code ignored;
    std::filesystem::permissions(m_path, std::filesystem::perms::owner_all,
                                 std::filesystem::perm_options::add, ignored);
    std::filesystem::remove_all(m_path, ignored);
}

std::set<std::string> TempFolder::names() const
{
    std::set<std::string> result;
    for (const auto &entry : std::filesystem::directory_iterator(m_path))
        result.insert(entry.path().filename().string());
    return result;
}

std::string TempFolder::listing() const
{
    std::string text;
    for (const std::string &name : names()) {
        if (!name.ends_with(".lock"))
            text += name + "\n";
    }
    return text;
}

std::string readBytes(const std::string &file)
{
    std::ifstream in(file, std::ios::binary | std::ios::ate);
    std::string bytes(std::size_t(std::max<std::streamoff>(in.tellg(), 0)), '\0');
    in.seekg(0);
    in.read(bytes.data(), std::streamsize(bytes.size()));
    return bytes;
}

void writeBytes(const std::string &file, const std::string &bytes)
{
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), std::streamsize(bytes.size()));
    if (!out.flush())
        throw std::runtime_error("cannot write " + file);
}

bool exists(const std::string &file)
{
    struct stat status;
    return ::lstat(file.c_str(), &status) == 0;
}

} // namespace tamcal::test
