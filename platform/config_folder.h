// The per-user folder that stands for the Windows system folder, the Windows directory and the
// maker's registry key: ${XDG_CONFIG_HOME:-$HOME/.config}/Tarnby/, created when missing. A run
// may name another folder instead (one settings folder per publication).
#pragma once

#include <string>

namespace platform {

// The environment variable that carries a chosen settings folder. The environment, not a
// variable of this library, because the plug-in holds its own copy of this code and the
// indexer it starts is another process: both must see the same folder.
inline constexpr const char* kConfigFolderVariable = "MARLIX_CONFIG_DIR";

// Makes `folder` (made absolute and created when missing) the settings folder of this process
// and the programs it starts. False with `error` set when it cannot be made a folder.
bool UseConfigFolder(const std::string& folder, std::string* error);

// The folder's path without a trailing slash; created (with its parents) when missing.
// Empty when neither the chosen folder, XDG_CONFIG_HOME nor HOME gives a usable folder or it
// cannot be created.
std::string ConfigFolder();

// The config folder joined with a file name.
std::string ConfigFile(const std::string& name);

// The user's home folder ($HOME, else the password database); it stands for the drive root "c:\".
std::string HomeFolder();

}  // namespace platform
