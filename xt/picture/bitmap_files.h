// Packed bitmaps to and from the files the tools and tests exchange: BMP files (a 14-byte file
// header in front of the packed bitmap) and binary PPM (P6) files.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "xt/picture/packed_bitmap.h"

namespace xt {

constexpr std::size_t kBmpFileHeaderSize = 14;

// The packed bitmap of a BMP file (bottom-up, uncompressed, 1 to 24 bits), or none.
std::optional<PackedBitmap> ParseBmp(std::span<const std::uint8_t> file);
// A BMP file, or a binary PPM with a maximum value of 255 (as a 24-bit bitmap), told apart by
// their first bytes; none when the file is neither.
std::optional<PackedBitmap> LoadPicture(const std::string& path);

std::vector<std::uint8_t> BmpFileBytes(std::span<const std::uint8_t> dib);

bool WriteWholeFile(const std::string& path, std::span<const std::uint8_t> bytes);

}  // namespace xt
