// The HTML text of every Windows-1252 byte: the converter appends one entry per byte of plain
// text. Built once with the settings object; control bytes vanish except the line breaks that
// HTML needs, markup characters and the Latin-1 letters become entities.
#pragma once

#include <array>
#include <cstdint>
#include <string>

namespace xt {

class CharacterTable {
 public:
  CharacterTable();

  const std::string& operator[](std::uint8_t byte) const { return entries_[byte]; }

  // True when the byte's text is the byte itself, so stretches of such bytes can be copied.
  bool IsVerbatim(std::uint8_t byte) const { return verbatim_[byte]; }

 private:
  std::array<std::string, 256> entries_;
  std::array<bool, 256> verbatim_{};
};

}  // namespace xt
