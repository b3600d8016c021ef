#include "xt/export/drop_cap.h"

#include <array>
#include <fstream>

#include "platform/cp1252.h"

namespace xt {
namespace {

// A GIF file's logical screen width and height, little-endian, at these offsets.
constexpr std::size_t kGifWidthOffset = 6;
constexpr std::size_t kGifHeightOffset = 8;
constexpr std::size_t kGifSizeEnd = 10;

unsigned LittleEndian16(const std::array<unsigned char, kGifSizeEnd>& bytes, std::size_t at) {
  return bytes[at] | (bytes[at + 1] << 8);
}

}  // namespace

std::string DropCapPath(std::string_view dest_folder, std::uint8_t letter) {
  std::string path(dest_folder);
  path += "/initials/";
  path += static_cast<char>(letter);
  path += ".gif";
  return path;
}

std::string DropCapImage(std::string_view dest_folder, std::uint8_t letter,
                         std::string_view root_prefix) {
  const char c = static_cast<char>(letter);
  std::ifstream file(platform::DiskPath(DropCapPath(dest_folder, letter)), std::ios::binary);
  std::array<unsigned char, kGifSizeEnd> head{};
  // A file too short to hold the size counts as missing rather than giving a made-up size.
  if (!file || !file.read(reinterpret_cast<char*>(head.data()), head.size())) {
    return std::string(kMissedDropCap);
  }
  std::string tag = "<IMG SRC=\"";
  tag += root_prefix;
  tag += "initials/";
  tag += c;
  tag += ".gif\" ALIGN=\"LEFT\" ALT=\"";
  tag += c;
  tag += "\" WIDTH=" + std::to_string(LittleEndian16(head, kGifWidthOffset));
  tag += " HEIGHT=" + std::to_string(LittleEndian16(head, kGifHeightOffset)) + ">";
  return tag;
}

}  // namespace xt
