#include "xt/picture/packed_bitmap.h"

namespace xt {
namespace {

std::uint32_t Get32(const std::uint8_t* p) {
  return p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}
std::uint16_t Get16(const std::uint8_t* p) {
  return static_cast<std::uint16_t>(p[0] | (p[1] << 8));
}

void Put32(std::uint32_t v, std::uint8_t* p) {
  for (int i = 0; i < 4; ++i)
    p[i] = static_cast<std::uint8_t>(v >> (8 * i));
}
void Put16(std::uint16_t v, std::uint8_t* p) {
  p[0] = static_cast<std::uint8_t>(v);
  p[1] = static_cast<std::uint8_t>(v >> 8);
}

}  // namespace

BitmapInfoHeader ReadInfoHeader(const std::uint8_t* block) {
  BitmapInfoHeader h;
  h.size = Get32(block);
  h.width = static_cast<std::int32_t>(Get32(block + 4));
  h.height = static_cast<std::int32_t>(Get32(block + 8));
  h.planes = Get16(block + 12);
  h.bit_count = Get16(block + 14);
  h.compression = Get32(block + 16);
  h.size_image = Get32(block + 20);
  h.x_pels_per_meter = static_cast<std::int32_t>(Get32(block + 24));
  h.y_pels_per_meter = static_cast<std::int32_t>(Get32(block + 28));
  h.clr_used = Get32(block + 32);
  h.clr_important = Get32(block + 36);
  return h;
}

void WriteInfoHeader(const BitmapInfoHeader& h, std::uint8_t* block) {
  Put32(h.size, block);
  Put32(static_cast<std::uint32_t>(h.width), block + 4);
  Put32(static_cast<std::uint32_t>(h.height), block + 8);
  Put16(h.planes, block + 12);
  Put16(h.bit_count, block + 14);
  Put32(h.compression, block + 16);
  Put32(h.size_image, block + 20);
  Put32(static_cast<std::uint32_t>(h.x_pels_per_meter), block + 24);
  Put32(static_cast<std::uint32_t>(h.y_pels_per_meter), block + 28);
  Put32(h.clr_used, block + 32);
  Put32(h.clr_important, block + 36);
}

std::size_t DibRowStride(int bit_count, int width) {
  return (static_cast<std::size_t>(bit_count) * static_cast<std::size_t>(width) + 31) / 32 * 4;
}

std::uint32_t DibNumColors(const BitmapInfoHeader& header) {
  if (header.clr_used != 0) return header.clr_used;
  switch (header.bit_count) {
    case 1:
      return 2;
    case 4:
      return 16;
    case 8:
      return 256;
    default:
      return 0;
  }
}

std::size_t DibColorTableSize(const BitmapInfoHeader& header) {
  return static_cast<std::size_t>(DibNumColors(header)) * kColorEntrySize;
}

std::size_t DibBitsOffset(const BitmapInfoHeader& header) {
  return header.size + DibColorTableSize(header);
}

PackedBitmap NewPackedBitmap(BitmapInfoHeader header, std::uint32_t colors) {
  const std::size_t image =
      DibRowStride(header.bit_count, header.width) * static_cast<std::size_t>(header.height);
  header.size = kBitmapInfoHeaderSize;
  header.size_image = static_cast<std::uint32_t>(image);
  PackedBitmap block(kBitmapInfoHeaderSize + colors * kColorEntrySize + image, 0);
  WriteInfoHeader(header, block.data());
  return block;
}

std::optional<BitmapView> ViewBitmap(std::span<const std::uint8_t> block) {
  if (block.size() < kBitmapInfoHeaderSize) return std::nullopt;
  BitmapView v;
  v.header = ReadInfoHeader(block.data());
  const BitmapInfoHeader& h = v.header;
  const int bits = h.bit_count;
  if (h.size != kBitmapInfoHeaderSize || h.compression != 0 || h.width <= 0 || h.height <= 0)
    return std::nullopt;
  if (bits != 1 && bits != 4 && bits != 8 && bits != 24) return std::nullopt;
  if (bits != 24 && h.clr_used > (1u << bits)) return std::nullopt;
  if (h.clr_used > 256) return std::nullopt;
  v.width = h.width;
  v.height = h.height;
  v.bit_count = bits;
  v.stride = DibRowStride(bits, h.width);
  v.color_count = DibNumColors(h);
  const std::size_t offset = DibBitsOffset(h);
  // Both factors are below 2^31 and 2^33, so the product cannot overflow 64 bits.
  const std::uint64_t image = static_cast<std::uint64_t>(v.stride) * h.height;
  if (offset > block.size() || image > block.size() - offset) return std::nullopt;
  v.colors = block.data() + kBitmapInfoHeaderSize;
  v.bits = block.data() + offset;
  return v;
}

}  // namespace xt
