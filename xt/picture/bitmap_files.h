// Packed bitmaps to and from the files the tools and tests exchange: BMP files (a 14-byte file
// header in front of the packed bitmap) and binary PPM (P6) files.
#pragma once

#include <cstdint>
#include <cstdio>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "platform/file_closer.h"
#include "platform/status.h"
#include "xt/picture/packed_bitmap.h"

namespace xt {

constexpr std::size_t kBmpFileHeaderSize = 14;

// The packed bitmap of a BMP file (bottom-up, uncompressed, 1 to 24 bits), or none.
std::optional<PackedBitmap> ParseBmp(std::span<const std::uint8_t> file);
// A BMP file, or a binary PPM with a maximum value of 255 (as a 24-bit bitmap), told apart by
// their first bytes; none when the file is neither.
std::optional<PackedBitmap> LoadPicture(const std::string& path);

// A binary PPM file (P6, maximum value 255) read row by row, top row first, each row as red,
// green, blue bytes. Writers that take rows as they come never need the whole picture in memory.
// A reader is read with one of ReadRow and NextRow, not both.
class PpmReader {
 public:
  // False when the file cannot be opened, is no such PPM, or is a regular file too short to hold
  // all its rows.
  bool Open(const std::string& path);
  int width() const { return width_; }
  int height() const { return height_; }
  std::size_t row_bytes() const { return 3 * static_cast<std::size_t>(width_); }
  // Reads the next row into `row` (row_bytes() bytes); false past the last row or on an error.
  bool ReadRow(std::uint8_t* row);
  // The next row in the reader's own buffer, valid until the next call; nullptr as for ReadRow.
  const std::uint8_t* NextRow();

 private:
  platform::UniqueFile file_;
  int width_ = 0;
  int height_ = 0;
  int rows_left_ = 0;
  std::vector<std::uint8_t> block_;  // rows read ahead for NextRow
  std::size_t block_rows_ = 0;       // rows held in block_
  std::size_t block_next_ = 0;       // the first of them not yet handed out
};

std::vector<std::uint8_t> BmpFileBytes(std::span<const std::uint8_t> dib);

// Replaces (or creates) the file with the bytes; the old file stays on failure.
platform::Status WriteWholeFile(const std::string& path, std::span<const std::uint8_t> bytes);

}  // namespace xt
