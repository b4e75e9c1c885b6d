#pragma once

#include "profile/writeresult.h"

#include <optional>
#include <string>

namespace tamcal {

// The program's settings for this run. AppFolder ends with "/".
struct Settings
{
    std::string AppFolder;
    std::string IniPath;
    bool UsePass = false;
    std::string BackgroundPath;
};

inline Settings AppSettings;

// The profile file named for this run (--profile), or empty for the usual one.
// Its folder then serves as AppFolder.
inline std::string ProfileFile;

// What LoadSettings and SaveSettings need from the calendar window.
class SettingsHost
{
public:
    virtual ~SettingsHost() = default;
    virtual bool ynDoDailyPopup() const = 0;
    virtual void setYnDoDailyPopup(bool vNewValue) = 0;
    // Loads the picture into the window's picture holder; a file that is not a
    // picture leaves the holder as it was.
    virtual void loadPicture(const std::string &path) = 0;
};

// The full path of the running executable.
std::string runningExecutablePath();

// Fills AppFolder and IniPath from an executable's path: its folder with one
// trailing "/", and that folder plus the file name without extension plus ".ini".
void formPaths(const std::string &executablePath);

// Fills AppFolder and IniPath for this run: ProfileFile when one is named;
// else beside the executable (portable) when its folder holds the profile, or
// may be written and is no installed program's folder; else in the user's data
// folder (installed), which is made with mode 0700 when it is missing.
void LocateProfile(const std::string &executablePath);

void LoadSettings(SettingsHost &host, const std::string &executablePath = runningExecutablePath());
// Writes the settings back; the first write that failed, with its cause.
WriteResult SaveSettings(const SettingsHost &host);

// "True"/"False" in any letter case, or a number (0 false); nothing otherwise.
std::optional<bool> readBoolean(const std::string &text);

} // namespace tamcal
