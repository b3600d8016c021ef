// The per-user folder that stands for the Windows system folder, the Windows directory and the
// maker's registry key: ${XDG_CONFIG_HOME:-$HOME/.config}/Tarnby/, created when missing.
#pragma once

#include <string>

namespace platform {

// The folder's path without a trailing slash; created (with its parents) when missing.
// Empty when neither XDG_CONFIG_HOME nor HOME gives a usable folder or it cannot be created.
std::string ConfigFolder();

// The config folder joined with a file name.
std::string ConfigFile(const std::string& name);

// The user's home folder ($HOME, else the password database); it stands for the drive root "c:\".
std::string HomeFolder();

}  // namespace platform
