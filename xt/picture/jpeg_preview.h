// DecodeJpegPreview: a JPEG file as a 24-bit packed bitmap (blue-green-red, bottom-up rows),
// for the library page's preview. Library errors show the "JPEG Error" message and give false.
#pragma once

#include <cstdint>
#include <span>
#include <string>

#include "xt/picture/packed_bitmap.h"

namespace xt {

// Pictures whose rows would take more than this are refused rather than allocated.
constexpr std::uint64_t kMaxJpegPreviewBytes = 256u << 20;

bool DecodeJpegPreview(const std::string& path, PackedBitmap& out);
bool DecodeJpegPreviewData(std::span<const std::uint8_t> data, PackedBitmap& out);

}  // namespace xt
