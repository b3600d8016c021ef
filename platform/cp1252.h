// Windows-1252 <-> UTF-8, for the edges where the programs' 8-bit text meets the terminal, JSON
// or Qt. The five bytes that Windows-1252 leaves undefined (0x81, 0x8D, 0x8F, 0x90, 0x9D) map to
// the C1 control characters of the same number, so every byte string survives a round trip.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace platform {

std::string Cp1252ToUtf8(std::string_view text);

// Nothing when the text is not valid UTF-8 or holds a character Windows-1252 cannot represent.
std::optional<std::string> Utf8ToCp1252(std::string_view text);

// The name on disk of a path held as the system's text: file names on disk are UTF-8.
inline std::string DiskPath(std::string_view path) {
  return Cp1252ToUtf8(path);
}

// For messages that name something whatever its name: a character Windows-1252 cannot hold,
// and a byte that is not UTF-8, become "?".
std::string Utf8ToCp1252ForMessage(std::string_view text);

}  // namespace platform
