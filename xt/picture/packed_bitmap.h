// The packed bitmap: one block holding a 40-byte information header, a colour table of blue,
// green, red, reserved entries, and bottom-up pixel rows padded to 4 bytes. Captured pictures,
// colour-reduced pictures and previews all travel in this form.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace xt {

using PackedBitmap = std::vector<std::uint8_t>;

constexpr std::uint32_t kBitmapInfoHeaderSize = 40;
constexpr std::size_t kColorEntrySize = 4;  // blue, green, red, reserved

struct BitmapInfoHeader {
  std::uint32_t size = kBitmapInfoHeaderSize;
  std::int32_t width = 0;
  std::int32_t height = 0;  // positive: rows stored bottom-up
  std::uint16_t planes = 1;
  std::uint16_t bit_count = 0;
  std::uint32_t compression = 0;
  std::uint32_t size_image = 0;
  std::int32_t x_pels_per_meter = 0;
  std::int32_t y_pels_per_meter = 0;
  std::uint32_t clr_used = 0;
  std::uint32_t clr_important = 0;
};

// Reads the header at the start of `block`, which must hold at least 40 bytes.
BitmapInfoHeader ReadInfoHeader(const std::uint8_t* block);
void WriteInfoHeader(const BitmapInfoHeader& header, std::uint8_t* block);

// Bytes per row: ((bits x width + 31) / 32) x 4.
std::size_t DibRowStride(int bit_count, int width);
// Colours used, else 2, 16 or 256 for 1, 4 or 8 bits per pixel, else 0.
std::uint32_t DibNumColors(const BitmapInfoHeader& header);
// Entries x 4 bytes.
std::size_t DibColorTableSize(const BitmapInfoHeader& header);
// Offset of the pixel rows from the start of the block.
std::size_t DibBitsOffset(const BitmapInfoHeader& header);

// A zero-filled block for the header, `colors` table entries and the rows. The header's image
// size is set to stride x height.
PackedBitmap NewPackedBitmap(BitmapInfoHeader header, std::uint32_t colors);

// A checked view of a packed bitmap: the block is long enough for its header, colour table and
// rows, the depth is 1, 4, 8 or 24, nothing is compressed, and both sizes are positive.
struct BitmapView {
  BitmapInfoHeader header;
  int width = 0;
  int height = 0;
  int bit_count = 0;
  std::size_t stride = 0;
  std::uint32_t color_count = 0;
  const std::uint8_t* colors = nullptr;  // color_count entries of 4 bytes
  const std::uint8_t* bits = nullptr;    // height rows of stride bytes, bottom row first

  // Stored row `i` (0 = bottom row).
  const std::uint8_t* Row(int i) const { return bits + static_cast<std::size_t>(i) * stride; }
  // Picture row `r` counted from the top.
  const std::uint8_t* TopRow(int r) const { return Row(height - 1 - r); }
};

std::optional<BitmapView> ViewBitmap(std::span<const std::uint8_t> block);

}  // namespace xt
