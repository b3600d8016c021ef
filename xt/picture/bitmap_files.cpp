#include "xt/picture/bitmap_files.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <utility>

#include "platform/file_replacement.h"
#include "xt/picture/gif_preview.h"

namespace xt {
namespace {

constexpr int kPpmMaxValue = 255;
constexpr long kMaxPpmSide = 0x7FFFFF;
constexpr std::uint64_t kMaxPictureBytes = std::uint64_t{1} << 30;
// Bytes of rows PpmReader::NextRow reads at a time.
constexpr std::size_t kReadAheadBytes = 64 * 1024;

std::uint32_t Get32(const std::uint8_t* p) {
  return p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}

void Put32(std::uint32_t v, std::uint8_t* p) {
  for (int i = 0; i < 4; ++i)
    p[i] = static_cast<std::uint8_t>(v >> (8 * i));
}

// One whitespace-separated decimal of a PPM header, skipping "#" comments.
bool PpmNumber(std::FILE* file, int& value) {
  int c = std::fgetc(file);
  while (c == '#' || std::isspace(c)) {
    if (c == '#') {
      while (c != '\n' && c != EOF)
        c = std::fgetc(file);
    }
    c = std::fgetc(file);
  }
  long v = 0;
  bool any = false;
  for (; c != EOF && std::isdigit(c) && v <= kMaxPpmSide; c = std::fgetc(file)) {
    v = v * 10 + (c - '0');
    any = true;
  }
  // The character after the number is its single separator.
  value = static_cast<int>(v);
  return any && v <= kMaxPpmSide && std::isspace(c);
}

// Turns a row of red-green-blue pixels into blue-green-red in place.
void SwapRedAndBlue(std::uint8_t* row, std::size_t pixels) {
  for (std::uint8_t* end = row + 3 * pixels; row != end; row += 3) {
    const std::uint8_t red = row[0];
    row[0] = row[2];
    row[2] = red;
  }
}

// Rows are read straight into their place in the bitmap and turned into blue-green-red there.
std::optional<PackedBitmap> ReadPpm(PpmReader& ppm) {
  BitmapInfoHeader header;
  header.width = ppm.width();
  header.height = ppm.height();
  header.bit_count = 24;
  PackedBitmap bitmap = NewPackedBitmap(header, 0);
  const std::size_t stride = DibRowStride(24, header.width);
  for (int r = 0; r < header.height; ++r) {
    std::uint8_t* row = bitmap.data() + kBitmapInfoHeaderSize + stride * (header.height - 1 - r);
    if (!ppm.ReadRow(row)) return std::nullopt;
    SwapRedAndBlue(row, static_cast<std::size_t>(header.width));
  }
  return bitmap;
}

}  // namespace

bool PpmReader::Open(const std::string& path) {
  *this = PpmReader();
  file_.reset(std::fopen(path.c_str(), "rb"));
  if (!file_) return false;
  std::FILE* file = file_.get();
  int width = 0, height = 0, max_value = 0;
  if (std::fgetc(file) != 'P' || std::fgetc(file) != '6' || !PpmNumber(file, width) ||
      !PpmNumber(file, height) || !PpmNumber(file, max_value) || max_value != kPpmMaxValue ||
      width <= 0 || height <= 0 ||
      DibRowStride(24, width) * static_cast<std::uint64_t>(height) > kMaxPictureBytes) {
    file_.reset();
    return false;
  }
  width_ = width;
  height_ = height;
  // A file cut short is refused before anything is made of it.
  const std::uint64_t pixels = row_bytes() * static_cast<std::uint64_t>(height);
  std::error_code error;
  const off_t start = ftello(file);
  if (std::filesystem::is_regular_file(path, error)) {
    const std::uintmax_t size = std::filesystem::file_size(path, error);
    if (error || start < 0 || size < static_cast<std::uint64_t>(start) + pixels) {
      *this = PpmReader();
      return false;
    }
  }
  rows_left_ = height;
  return true;
}

bool PpmReader::ReadRow(std::uint8_t* row) {
  if (!file_ || rows_left_ == 0) return false;
  if (std::fread(row, 1, row_bytes(), file_.get()) != row_bytes()) return false;
  --rows_left_;
  return true;
}

const std::uint8_t* PpmReader::NextRow() {
  if (block_next_ == block_rows_) {
    if (!file_ || rows_left_ == 0) return nullptr;
    // Several rows a read: one system call for many rows, few enough to stay in the cache.
    const std::size_t rows =
        std::min<std::size_t>(static_cast<std::size_t>(rows_left_),
                              std::max<std::size_t>(1, kReadAheadBytes / row_bytes()));
    block_.resize(rows * row_bytes());
    if (std::fread(block_.data(), 1, block_.size(), file_.get()) != block_.size()) return nullptr;
    rows_left_ -= static_cast<int>(rows);
    block_rows_ = rows;
    block_next_ = 0;
  }
  return block_.data() + row_bytes() * block_next_++;
}

std::optional<PackedBitmap> ParseBmp(std::span<const std::uint8_t> file) {
  if (file.size() < kBmpFileHeaderSize + kBitmapInfoHeaderSize || file[0] != 'B' || file[1] != 'M')
    return std::nullopt;
  const std::size_t bits_at = Get32(file.data() + 10);
  const std::span<const std::uint8_t> dib = file.subspan(kBmpFileHeaderSize);
  const BitmapInfoHeader header = ReadInfoHeader(dib.data());
  if (header.size != kBitmapInfoHeaderSize || header.height <= 0 || header.width <= 0)
    return std::nullopt;
  const std::size_t table = kBitmapInfoHeaderSize + DibColorTableSize(header);
  const std::uint64_t image =
      static_cast<std::uint64_t>(DibRowStride(header.bit_count, header.width)) * header.height;
  if (table > dib.size() || bits_at > file.size() || image > file.size() - bits_at)
    return std::nullopt;
  PackedBitmap bitmap(dib.begin(), dib.begin() + static_cast<std::ptrdiff_t>(table));
  bitmap.insert(bitmap.end(), file.begin() + static_cast<std::ptrdiff_t>(bits_at),
                file.begin() + static_cast<std::ptrdiff_t>(bits_at + image));
  if (!ViewBitmap(bitmap)) return std::nullopt;
  return bitmap;
}

std::optional<PackedBitmap> LoadPicture(const std::string& path) {
  platform::UniqueFile file(std::fopen(path.c_str(), "rb"));
  if (!file) return std::nullopt;
  const int first = std::fgetc(file.get());
  file.reset();
  if (first == 'P') {
    PpmReader ppm;
    if (!ppm.Open(path)) return std::nullopt;
    return ReadPpm(ppm);
  }
  const std::optional<std::vector<std::uint8_t>> bytes = ReadWholeFile(path);
  if (!bytes) return std::nullopt;
  return ParseBmp(*bytes);
}

std::vector<std::uint8_t> BmpFileBytes(std::span<const std::uint8_t> dib) {
  std::vector<std::uint8_t> file(kBmpFileHeaderSize, 0);
  file[0] = 'B';
  file[1] = 'M';
  Put32(static_cast<std::uint32_t>(kBmpFileHeaderSize + dib.size()), file.data() + 2);
  const std::size_t bits_at =
      dib.size() >= kBitmapInfoHeaderSize ? DibBitsOffset(ReadInfoHeader(dib.data())) : 0;
  Put32(static_cast<std::uint32_t>(kBmpFileHeaderSize + bits_at), file.data() + 10);
  file.insert(file.end(), dib.begin(), dib.end());
  return file;
}

platform::Status WriteWholeFile(const std::string& path, std::span<const std::uint8_t> bytes) {
  return platform::ReplaceFile(
      path, std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
}

}  // namespace xt
