// ReduceColors: a true-colour packed bitmap reduced to an 8-bit one of at most 256 colours by
// libjpeg's two-pass median-cut quantizer, without dithering: the first pass gathers the
// histogram and chooses the colour map, the second maps every pixel to its nearest entry.
#pragma once

#include <optional>
#include <span>

#include "xt/picture/packed_bitmap.h"

namespace xt {

constexpr int kMaxReducedColors = 256;

// A new 8-bit bitmap whose header claims `colors` table entries (the quantizer may fill fewer;
// the rest stay black), or none when the input is not a 24-bit bitmap or libjpeg reports an
// error (its message has then been shown).
std::optional<PackedBitmap> ReduceColors(std::span<const std::uint8_t> dib,
                                         int colors = kMaxReducedColors);

}  // namespace xt
