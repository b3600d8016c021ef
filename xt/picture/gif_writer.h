// EncodeGif: a packed bitmap as a complete GIF89a file in memory: one image, a global colour
// table, optionally a graphic control extension that makes the colour of the bottom-left pixel
// transparent, optionally interlaced. Pictures deeper than 8 bits are reduced to 256 colours
// first (ConvertDibDepth when they carry a colour table, else ReduceColors).
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "xt/picture/packed_bitmap.h"

namespace xt {

// The GIF file, or none when no 8-bit bitmap could be made (or the picture is wider or higher
// than a GIF can say).
std::optional<std::vector<std::uint8_t>> EncodeGif(std::span<const std::uint8_t> dib,
                                                   bool interlaced, bool transparent);

// Bits per colour table index for a colour count: 1 for up to 2, 4 for up to 16, else 8.
int GifColorDepth(std::uint32_t color_count);

// The picture rows (0 = top) in the order a GIF stores them.
std::vector<int> GifRowOrder(int height, bool interlaced);

}  // namespace xt
