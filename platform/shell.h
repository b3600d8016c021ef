// The desktop's file associations: opening a file with its program (xdg-open) and finding the
// command that opens a file (xdg-mime and the desktop entry it names).
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace platform {

// Opens `path` (a file or URL) with the program the desktop associates with it, without waiting.
// False when xdg-open could not be started.
bool OpenWithShell(const std::string& path);

// The command line, as words, that the desktop's default program for `path` runs to open it as
// `url`: the whole Exec line of its desktop entry with the field codes filled in; nothing when
// there is no such program.
std::optional<std::vector<std::string>> AssociatedCommand(const std::string& path,
                                                          const std::string& url);

// A desktop entry file's Exec line as words, its field codes filled in: %f and %F give `path`,
// %u and %U give `url`, %% a "%", the others nothing; a line without a file or URL code gets
// `url` appended. Nothing when the text has no Exec line or it cannot be split.
std::optional<std::vector<std::string>> CommandOfDesktopEntry(const std::string& entry_text,
                                                              const std::string& path,
                                                              const std::string& url);

}  // namespace platform
