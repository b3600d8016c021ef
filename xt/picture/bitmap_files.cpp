#include "xt/picture/bitmap_files.h"

#include <cctype>
#include <cstring>
#include <fstream>

#include "xt/picture/gif_preview.h"

namespace xt {
namespace {

constexpr int kPpmMaxValue = 255;

std::uint32_t Get32(const std::uint8_t* p) {
  return p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}

void Put32(std::uint32_t v, std::uint8_t* p) {
  for (int i = 0; i < 4; ++i)
    p[i] = static_cast<std::uint8_t>(v >> (8 * i));
}

// One whitespace-separated decimal of a PPM header, skipping "#" comments.
bool PpmNumber(std::span<const std::uint8_t> file, std::size_t& pos, int& value) {
  while (pos < file.size()) {
    if (file[pos] == '#') {
      while (pos < file.size() && file[pos] != '\n')
        ++pos;
    } else if (std::isspace(file[pos])) {
      ++pos;
    } else {
      break;
    }
  }
  long v = 0;
  const std::size_t start = pos;
  while (pos < file.size() && std::isdigit(file[pos]) && v <= 0xFFFFFF)
    v = v * 10 + (file[pos++] - '0');
  value = static_cast<int>(v);
  return pos > start && v <= 0xFFFFFF;
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

std::optional<PackedBitmap> ParsePpm(std::span<const std::uint8_t> file) {
  if (file.size() < 2 || file[0] != 'P' || file[1] != '6') return std::nullopt;
  std::size_t pos = 2;
  int width = 0, height = 0, max_value = 0;
  if (!PpmNumber(file, pos, width) || !PpmNumber(file, pos, height) ||
      !PpmNumber(file, pos, max_value) || max_value != kPpmMaxValue || width <= 0 || height <= 0)
    return std::nullopt;
  ++pos;  // the single whitespace before the pixels
  const std::size_t row_bytes = 3 * static_cast<std::size_t>(width);
  if (pos > file.size() || row_bytes * height > file.size() - pos) return std::nullopt;
  BitmapInfoHeader header;
  header.width = width;
  header.height = height;
  header.bit_count = 24;
  PackedBitmap bitmap = NewPackedBitmap(header, 0);
  const std::size_t stride = DibRowStride(24, width);
  for (int r = 0; r < height; ++r) {
    const std::uint8_t* from = file.data() + pos + row_bytes * r;
    std::uint8_t* to = bitmap.data() + kBitmapInfoHeaderSize + stride * (height - 1 - r);
    for (int x = 0; x < width; ++x) {
      to[3 * x] = from[3 * x + 2];
      to[3 * x + 1] = from[3 * x + 1];
      to[3 * x + 2] = from[3 * x];
    }
  }
  return bitmap;
}

std::optional<PackedBitmap> LoadPicture(const std::string& path) {
  const std::optional<std::vector<std::uint8_t>> file = ReadWholeFile(path);
  if (!file) return std::nullopt;
  if (file->size() >= 2 && (*file)[0] == 'P') return ParsePpm(*file);
  return ParseBmp(*file);
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
