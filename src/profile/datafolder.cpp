#include "profile/datafolder.h"

#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

namespace tamcal {

namespace {

std::string environment(const char *name)
{
    const char *value = std::getenv(name);
    return value ? value : "";
}

std::string homeFolder()
{
    std::string home = environment("HOME");
    if (home.empty()) {
        if (const passwd *entry = ::getpwuid(::getuid()))
            home = entry->pw_dir ? entry->pw_dir : "";
    }
    return home;
}

bool isFolder(const std::string &path)
{
    struct stat status;
    return ::stat(path.c_str(), &status) == 0 && S_ISDIR(status.st_mode);
}

bool isPresent(const std::string &path)
{
    struct stat status;
    return ::stat(path.c_str(), &status) == 0;
}

// With the user's effective rights, so that a program started with fewer rights
// than its user has gets the answer that its writes will get.
bool isWritableFolder(const std::string &folder)
{
    return ::faccessat(AT_FDCWD, folder.c_str(), W_OK | X_OK, AT_EACCESS) == 0;
}

bool isInstalledProgramFolder(const std::string &appFolder)
{
    return isPresent(appFolder + "../share/applications/" TAMCAL_APP_ID ".desktop");
}

} // namespace

std::string UserDataFolder()
{
    std::string base = environment("XDG_DATA_HOME");
    if (base.empty() || base.front() != '/')
        base = homeFolder() + "/.local/share";
    while (base.size() > 1 && base.back() == '/')
        base.pop_back();
    return base + "/TamCal/";
}

bool IsPortableFolder(const std::string &appFolder, const std::string &iniPath)
{
    if (isPresent(iniPath))
        return true;
    return isWritableFolder(appFolder) && !isInstalledProgramFolder(appFolder);
}

bool MakePrivateFolder(const std::string &folder)
{
    for (std::size_t slash = folder.find('/', 1); slash != std::string::npos;
         slash = folder.find('/', slash + 1)) {
        const std::string step = folder.substr(0, slash);
        if (::mkdir(step.c_str(), 0700) != 0 && errno != EEXIST)
            return false;
    }
    if (!folder.empty() && folder.back() != '/' && ::mkdir(folder.c_str(), 0700) != 0 &&
        errno != EEXIST)
        return false;
    return isFolder(folder);
}

} // namespace tamcal
