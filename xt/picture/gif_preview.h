// DecodeGifPreview: the first image of a GIF file as an 8-bit packed bitmap with a 256-entry
// colour table, for the library page's preview. The reader keeps to its buffers whatever the
// file holds: a broken file gives an error code, never a crash.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>

#include "xt/picture/packed_bitmap.h"

namespace xt {

enum GifPreviewError : int {
  kGifPreviewOk = 0,
  kGifDataEnds = 9002,        // data ends before the picture is complete
  kGifNotGif = 9003,          // the file does not start with "GIF"
  kGifBadVersion = 9004,      // neither "87a" nor "89a"
  kGifNoGlobalColors = 9005,  // no global colour table
  kGifTooWide = 9006,         // wider than kMaxGifPreviewWidth
  kGifBadCodeSize = 9007,     // LZW minimum code size differs from the colour bits
  kGifBadCode = 9009,         // a code beyond the next free code
  kGifStringTooLong = 9011,   // a decoded string longer than the output stack
};

constexpr int kMaxGifPreviewWidth = 3096;

struct GifPreview {
  int error = kGifPreviewOk;
  PackedBitmap bitmap;  // empty unless error is kGifPreviewOk
};

GifPreview DecodeGifPreviewData(std::span<const std::uint8_t> file);

// None when the file cannot be read or is not a GIF this reader decodes.
std::optional<PackedBitmap> DecodeGifPreview(const std::string& path);

// The whole file, or none when it cannot be read.
std::optional<std::vector<std::uint8_t>> ReadWholeFile(const std::string& path);

}  // namespace xt
