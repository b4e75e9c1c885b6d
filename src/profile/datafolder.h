#pragma once

#include <string>

namespace tamcal {

// The user's own data folder for TamCal, ending with "/": $XDG_DATA_HOME/TamCal/,
// or ~/.local/share/TamCal/ when XDG_DATA_HOME is unset or not an absolute path.
std::string UserDataFolder();

// Whether the program keeps its data beside the executable: its folder holds the
// profile already, or this user may write there and it is no installed program's
// folder (one whose prefix holds the program's desktop entry, as a package or
// `cmake --install` leaves it; root may write there, but it is no place for data).
bool IsPortableFolder(const std::string &appFolder, const std::string &iniPath);

// Makes the folder, and any missing folder above it, with mode 0700 (only the
// user may look inside). Returns whether the folder exists afterwards.
bool MakePrivateFolder(const std::string &folder);

} // namespace tamcal
