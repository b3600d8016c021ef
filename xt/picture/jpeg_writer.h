// WriteJpegFile: a captured 24-bit picture (blue-green-red, rows bottom-up) as a baseline or
// progressive JPEG file at libjpeg's default quality 75.
#pragma once

#include <span>
#include <string>

#include "xt/picture/packed_bitmap.h"

namespace xt {

constexpr int kJpegWritten = 0;
constexpr int kJpegCannotOpen = 1;

// kJpegWritten, kJpegCannotOpen, or the libjpeg message code of the error that stopped
// compression (the message has then been shown and the half-written file removed).
// A bitmap that is not a valid 24-bit packed bitmap is refused with JERR_BAD_IN_COLORSPACE
// before anything is written.
int WriteJpegFile(std::span<const std::uint8_t> picture, const std::string& path, bool progressive);

}  // namespace xt
