// ConvertDibDepth: a packed bitmap that has a colour table, redrawn at another depth through a
// palette made of that table: every pixel becomes the nearest palette entry (or, at 24 bits,
// that entry's colour). A bitmap without a colour table has no palette and is not converted.
#pragma once

#include <cstdint>
#include <optional>
#include <span>

#include "xt/picture/packed_bitmap.h"

namespace xt {

constexpr int kKeepDepth = 0;

// `bit_count` 1, 4, 8, 24, or kKeepDepth; `compression` must be 0 (uncompressed).
std::optional<PackedBitmap> ConvertDibDepth(std::span<const std::uint8_t> dib, int bit_count,
                                            std::uint32_t compression);

}  // namespace xt
