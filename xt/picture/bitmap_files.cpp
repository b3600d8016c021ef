#include "xt/picture/bitmap_files.h"

#include <cctype>
#include <cstdio>
#include <fstream>
#include <memory>
#include <utility>

#include "xt/picture/gif_preview.h"

namespace xt {
namespace {

constexpr int kPpmMaxValue = 255;
constexpr long kMaxPpmSide = 0x7FFFFF;
constexpr std::uint64_t kMaxPictureBytes = std::uint64_t{1} << 30;

std::uint32_t Get32(const std::uint8_t* p) {
  return p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}

void Put32(std::uint32_t v, std::uint8_t* p) {
  for (int i = 0; i < 4; ++i)
    p[i] = static_cast<std::uint8_t>(v >> (8 * i));
}

struct FileCloser {
  void operator()(std::FILE* f) const { std::fclose(f); }
};

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

// Rows are read straight into their place in the bitmap and turned into blue-green-red there.
std::optional<PackedBitmap> ReadPpm(std::FILE* file) {
  if (std::fgetc(file) != 'P' || std::fgetc(file) != '6') return std::nullopt;
  int width = 0, height = 0, max_value = 0;
  if (!PpmNumber(file, width) || !PpmNumber(file, height) || !PpmNumber(file, max_value) ||
      max_value != kPpmMaxValue || width <= 0 || height <= 0 ||
      DibRowStride(24, width) * static_cast<std::uint64_t>(height) > kMaxPictureBytes)
    return std::nullopt;
  BitmapInfoHeader header;
  header.width = width;
  header.height = height;
  header.bit_count = 24;
  PackedBitmap bitmap = NewPackedBitmap(header, 0);
  const std::size_t stride = DibRowStride(24, width);
  const std::size_t row_bytes = 3 * static_cast<std::size_t>(width);
  for (int r = 0; r < height; ++r) {
    std::uint8_t* row = bitmap.data() + kBitmapInfoHeaderSize + stride * (height - 1 - r);
    if (std::fread(row, 1, row_bytes, file) != row_bytes) return std::nullopt;
    for (std::size_t x = 0; x < row_bytes; x += 3)
      std::swap(row[x], row[x + 2]);
  }
  return bitmap;
}

}  // namespace

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
  std::unique_ptr<std::FILE, FileCloser> file(std::fopen(path.c_str(), "rb"));
  if (!file) return std::nullopt;
  const int first = std::fgetc(file.get());
  std::rewind(file.get());
  if (first == 'P') return ReadPpm(file.get());
  file.reset();
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

bool WriteWholeFile(const std::string& path, std::span<const std::uint8_t> bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()),
            static_cast<std::streamsize>(bytes.size()));
  out.close();
  return static_cast<bool>(out);
}

}  // namespace xt
