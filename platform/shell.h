// The desktop's file associations: opening a file with its program (xdg-open) and finding the
// program that opens a file (xdg-mime and the desktop entry it names).
#pragma once

#include <optional>
#include <string>

namespace platform {

// Opens `path` (a file or URL) with the program the desktop associates with it, without waiting.
// False when xdg-open could not be started.
bool OpenWithShell(const std::string& path);

// The program (the first word of the desktop entry's Exec line, usually a bare name or an
// absolute path) that opens `path`; nothing when there is none.
std::optional<std::string> AssociatedProgram(const std::string& path);

// The program of a desktop entry file's Exec line; nothing when the text has none.
std::optional<std::string> ProgramOfDesktopEntry(const std::string& entry_text);

}  // namespace platform
