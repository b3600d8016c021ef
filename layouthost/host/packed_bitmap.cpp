#include "layouthost/host/packed_bitmap.h"

namespace layouthost {

namespace {

void Put32(std::vector<std::uint8_t>& out, std::size_t at, std::uint32_t value) {
  for (int i = 0; i < 4; ++i)
    out[at + i] = static_cast<std::uint8_t>(value >> (8 * i));
}

void Put16(std::vector<std::uint8_t>& out, std::size_t at, std::uint16_t value) {
  out[at] = static_cast<std::uint8_t>(value);
  out[at + 1] = static_cast<std::uint8_t>(value >> 8);
}

}  // namespace

std::size_t PackedRowStride(int width) {
  return (static_cast<std::size_t>(width) * 24 + 31) / 32 * 4;
}

std::vector<std::uint8_t> PackBitmap24(int width, int height, const std::uint8_t* rgb_rows,
                                       std::size_t stride) {
  const std::size_t row_bytes = PackedRowStride(width);
  const std::size_t image_size = row_bytes * static_cast<std::size_t>(height);
  std::vector<std::uint8_t> out(kBitmapHeaderSize + image_size, 0);
  Put32(out, 0, kBitmapHeaderSize);
  Put32(out, 4, static_cast<std::uint32_t>(width));
  Put32(out, 8, static_cast<std::uint32_t>(height));
  Put16(out, 12, 1);
  Put16(out, 14, 24);
  Put32(out, 16, 0);
  Put32(out, 20, static_cast<std::uint32_t>(image_size));
  Put32(out, 24, kPixelsPerMeterAt72Dpi);
  Put32(out, 28, kPixelsPerMeterAt72Dpi);
  for (int y = 0; y < height; ++y) {
    const std::uint8_t* source = rgb_rows + static_cast<std::size_t>(y) * stride;
    std::uint8_t* target =
        out.data() + kBitmapHeaderSize + static_cast<std::size_t>(height - 1 - y) * row_bytes;
    for (int x = 0; x < width; ++x) {
      target[3 * x] = source[3 * x + 2];
      target[3 * x + 1] = source[3 * x + 1];
      target[3 * x + 2] = source[3 * x];
    }
  }
  return out;
}

}  // namespace layouthost
