// WriteJpegFile: a captured 24-bit picture (blue-green-red, rows bottom-up) as a baseline or
// progressive JPEG file at libjpeg's default quality 75.
#pragma once

#include <cstdint>
#include <functional>
#include <span>
#include <string>

#include "platform/status.h"
#include "xt/picture/packed_bitmap.h"

namespace xt {

// How writing a JPEG file ended: written, or a failure of the file itself (its path and the
// system's reason), or the libjpeg message code of the error that stopped compression (its
// message has then been shown). The two kinds of failure never share a number. On failure the
// file is as it was before: the new one replaces it only when complete.
struct JpegResult {
  platform::Status file;  // failure of the file; ok() when the file was not the cause
  int libjpeg_code = 0;   // libjpeg's message code; 0 when libjpeg did not stop
  bool ok() const { return file.ok() && libjpeg_code == 0; }
};

// A bitmap that is not a valid 24-bit packed bitmap is refused with JERR_BAD_IN_COLORSPACE
// before anything is written.
JpegResult WriteJpegFile(std::span<const std::uint8_t> picture, const std::string& path,
                         bool progressive);

// The order of the three bytes of a pixel in the rows handed to WriteJpegRows.
enum class JpegPixelOrder { kBlueGreenRed, kRedGreenBlue };

// Gives the next row of the picture, top row first, or nullptr when it cannot.
using JpegRowSource = std::function<const std::uint8_t*()>;

// Compresses as WriteJpegFile does, taking the rows one at a time from `next_row`, so that the
// picture need never be held whole. A source that runs dry stops with JERR_INPUT_EOF.
JpegResult WriteJpegRows(int width, int height, JpegPixelOrder order, const JpegRowSource& next_row,
                         const std::string& path, bool progressive);

}  // namespace xt
