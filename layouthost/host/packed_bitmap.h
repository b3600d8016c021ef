// The packed bitmap a rendering is handed over in: a 40-byte bitmap information header (width,
// positive height, 1 plane, 24 bits, no compression, image size, 72 pixels per inch), no colour
// table, then the rows bottom-up, each pixel blue, green, red, each row padded to 4 bytes.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace layouthost {

constexpr std::size_t kBitmapHeaderSize = 40;
constexpr std::int32_t kPixelsPerMeterAt72Dpi = 2835;

std::size_t PackedRowStride(int width);

// Packs top-down rows of red, green, blue bytes (`stride` bytes apart).
std::vector<std::uint8_t> PackBitmap24(int width, int height, const std::uint8_t* rgb_rows,
                                       std::size_t stride);

}  // namespace layouthost
