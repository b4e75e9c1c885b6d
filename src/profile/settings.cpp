#include "profile/settings.h"

#include "profile/asciitext.h"
#include "profile/datafolder.h"
#include "profile/inifile.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <map>
#include <optional>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace tamcal {

namespace {

constexpr std::string_view kPicturePrefix = "background.";

// Skips a run of digits; tells whether any was there and whether one was not 0.
bool skipDigits(std::string_view &text, bool &hasNonZero)
{
    std::size_t count = 0;
    while (count < text.size() && text[count] >= '0' && text[count] <= '9') {
        hasNonZero = hasNonZero || text[count] != '0';
        ++count;
    }
    text.remove_prefix(count);
    return count > 0;
}

// A decimal number: optional sign, digits with an optional fraction (at least
// one digit in all), an optional exponent. Its value is zero exactly when its
// digits before the exponent are all 0.
std::optional<bool> readNumberIsNonZero(std::string_view text)
{
    bool hasNonZero = false;
    if (!text.empty() && (text.front() == '+' || text.front() == '-'))
        text.remove_prefix(1);
    bool hasDigits = skipDigits(text, hasNonZero);
    if (!text.empty() && text.front() == '.') {
        text.remove_prefix(1);
        hasDigits = skipDigits(text, hasNonZero) || hasDigits;
    }
    if (hasDigits && !text.empty() && (text.front() == 'e' || text.front() == 'E')) {
        text.remove_prefix(1);
        if (!text.empty() && (text.front() == '+' || text.front() == '-'))
            text.remove_prefix(1);
        bool exponentNonZero = false;
        hasDigits = skipDigits(text, exponentNonZero);
    }
    if (!hasDigits || !text.empty())
        return std::nullopt;
    return hasNonZero;
}

std::string booleanWord(bool value)
{
    return value ? "True" : "False";
}

std::string fileNameOf(const std::string &path)
{
    return path.substr(path.rfind('/') + 1);
}

// An ordinary file: not a folder or a device, and not hidden by a leading dot.
bool isOrdinaryFile(const std::string &path)
{
    struct stat status;
    const std::string name = fileNameOf(path);
    return !name.empty() && name.front() != '.' && ::stat(path.c_str(), &status) == 0 &&
           S_ISREG(status.st_mode);
}

bool isPictureName(const std::string &name)
{
    return name.size() >= kPicturePrefix.size() &&
           equalsIgnoringAsciiCase(std::string_view(name).substr(0, kPicturePrefix.size()),
                                   kPicturePrefix);
}

// The first "Background.*" file of the folder in name order, so that every
// run picks the same one; empty when there is none.
std::string findBackgroundPicture(const std::string &folder)
{
    std::vector<std::string> names;
    std::error_code error;
    const std::filesystem::directory_iterator end;
    for (auto entry = std::filesystem::directory_iterator(folder, error); !error && entry != end;
         entry.increment(error)) {
        std::string name = entry->path().filename().string();
        if (isPictureName(name) && isOrdinaryFile(folder + name))
            names.push_back(std::move(name));
    }
    if (names.empty())
        return {};
    return folder + *std::min_element(names.begin(), names.end());
}

// A stored path that names no ordinary file, an empty one included, lets the
// search run, so a picture put beside the program meanwhile is found.
// A setting as the profile held it when it was read, and as the program then had it.
struct LoadedSetting
{
    std::optional<std::string> stored;
    std::string inMemory;
};
// The settings SaveSettings owns, as LoadSettings left them; empty before it ran.
std::map<std::string, LoadedSetting> loadedSettings;

std::optional<std::string> storedSetting(const std::string &key)
{
    const auto keys = ReadIniKeys("Main", AppSettings.IniPath);
    std::string lower = key;
    std::transform(lower.begin(), lower.end(), lower.begin(),
                   [](unsigned char c) { return char(std::tolower(c)); });
    if (std::find(keys.begin(), keys.end(), lower) == keys.end())
        return std::nullopt;
    return ReadIni("Main", key, {}, AppSettings.IniPath);
}

std::vector<std::pair<std::string, std::string>> ownSettings(const SettingsHost &host)
{
    return {{"UsePass", booleanWord(AppSettings.UsePass)},
            {"DoPopup", booleanWord(host.ynDoDailyPopup())},
            {"Background", AppSettings.BackgroundPath}};
}

// A setting edited in the profile while the program ran, and left alone by the
// program since it was read: the edit is kept at exit.
bool isEditedByHand(const std::string &key, const std::string &inMemory)
{
    const auto loaded = loadedSettings.find(key);
    return loaded != loadedSettings.end() && loaded->second.inMemory == inMemory &&
           storedSetting(key) != loaded->second.stored;
}

void loadBackground(SettingsHost &host)
{
    const std::string stored =
        IniAccess("Main", "Background", AppSettings.AppFolder + "Background.jpg", false);
    AppSettings.BackgroundPath =
        isOrdinaryFile(stored) ? stored : findBackgroundPicture(AppSettings.AppFolder);
    if (!AppSettings.BackgroundPath.empty())
        host.loadPicture(AppSettings.BackgroundPath);
}

} // namespace

std::string runningExecutablePath()
{
    std::error_code error;
    return std::filesystem::read_symlink("/proc/self/exe", error).string();
}

void formPaths(const std::string &executablePath)
{
    const std::size_t slash = executablePath.rfind('/');
    std::string folder =
        slash == std::string::npos ? std::string(".") : executablePath.substr(0, slash);
    while (!folder.empty() && folder.back() == '/')
        folder.pop_back();
    AppSettings.AppFolder = folder + "/";

    const std::string name = fileNameOf(executablePath);
    const std::size_t dot = name.rfind('.');
    const bool hasExtension = dot != std::string::npos && dot > 0;
    AppSettings.IniPath =
        AppSettings.AppFolder + name.substr(0, hasExtension ? dot : name.size()) + ".ini";
}

std::optional<bool> readBoolean(const std::string &text)
{
    const std::string_view word = trimBlanks(text);
    if (equalsIgnoringAsciiCase(word, "true"))
        return true;
    if (equalsIgnoringAsciiCase(word, "false"))
        return false;
    return readNumberIsNonZero(word);
}

void LocateProfile(const std::string &executablePath)
{
    if (!ProfileFile.empty()) {
        std::error_code error;
        AppSettings.IniPath =
            std::filesystem::absolute(ProfileFile, error).lexically_normal().string();
        AppSettings.AppFolder = AppSettings.IniPath.substr(0, AppSettings.IniPath.rfind('/') + 1);
        return;
    }
    formPaths(executablePath);
    if (IsPortableFolder(AppSettings.AppFolder, AppSettings.IniPath))
        return;
    const std::string profileName = fileNameOf(AppSettings.IniPath);
    AppSettings.AppFolder = UserDataFolder();
    AppSettings.IniPath = AppSettings.AppFolder + profileName;
    MakePrivateFolder(AppSettings.AppFolder);
}

void LoadSettings(SettingsHost &host, const std::string &executablePath)
{
    LocateProfile(executablePath);
    if (const auto usePass = readBoolean(IniAccess("Main", "UsePass", "0", false)))
        AppSettings.UsePass = *usePass;
    if (const auto doPopup = readBoolean(IniAccess("Main", "DoPopup", "0", false)))
        host.setYnDoDailyPopup(*doPopup);
    loadBackground(host);
    loadedSettings.clear();
    for (auto &[key, inMemory] : ownSettings(host))
        loadedSettings[key] = {storedSetting(key), std::move(inMemory)};
}

WriteResult SaveSettings(const SettingsHost &host)
{
    std::vector<IniChange> changes;
    for (auto &[key, inMemory] : ownSettings(host)) {
        if (!isEditedByHand(key, inMemory))
            changes.push_back({"Main", key, std::move(inMemory)});
    }
    // One write: every write of the profile flushes the file and its folder.
    return WriteIniBatch(changes, AppSettings.IniPath);
}

} // namespace tamcal
