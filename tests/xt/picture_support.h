// Helpers of the picture tests: packed bitmaps made from a pixel function, and GIF files read
// back with giflib, the independent decoder the tests hold our files against.
#pragma once

#include <gif_lib.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "xt/picture/jpeg_error_handler.h"
#include "xt/picture/packed_bitmap.h"

namespace picture_test {

struct Rgb {
  std::uint8_t r = 0, g = 0, b = 0;
  bool operator==(const Rgb&) const = default;
};

// A 24-bit bitmap; `pixel(x, y)` gives the colour with y = 0 at the top. Padding bytes are
// filled with 0xEE so that a reader that strays into them shows.
inline xt::PackedBitmap MakeBitmap24(int width, int height,
                                     const std::function<Rgb(int, int)>& pixel) {
  xt::BitmapInfoHeader header;
  header.width = width;
  header.height = height;
  header.bit_count = 24;
  xt::PackedBitmap block = xt::NewPackedBitmap(header, 0);
  const std::size_t stride = xt::DibRowStride(24, width);
  for (int y = 0; y < height; ++y) {
    std::uint8_t* row = block.data() + xt::kBitmapInfoHeaderSize + stride * (height - 1 - y);
    std::memset(row + 3 * width, 0xEE, stride - 3 * width);
    for (int x = 0; x < width; ++x) {
      const Rgb c = pixel(x, y);
      row[3 * x] = c.b;
      row[3 * x + 1] = c.g;
      row[3 * x + 2] = c.r;
    }
  }
  return block;
}

// An 8-bit bitmap with `colors` table entries (colours used = colors, 0 for a full table).
inline xt::PackedBitmap MakeBitmap8(int width, int height, const std::vector<Rgb>& colors,
                                    std::uint32_t clr_used,
                                    const std::function<std::uint8_t(int, int)>& index) {
  xt::BitmapInfoHeader header;
  header.width = width;
  header.height = height;
  header.bit_count = 8;
  header.clr_used = clr_used;
  const std::uint32_t entries = clr_used != 0 ? clr_used : 256;
  xt::PackedBitmap block = xt::NewPackedBitmap(header, entries);
  for (std::size_t i = 0; i < colors.size() && i < entries; ++i) {
    std::uint8_t* e = block.data() + xt::kBitmapInfoHeaderSize + 4 * i;
    e[0] = colors[i].b;
    e[1] = colors[i].g;
    e[2] = colors[i].r;
  }
  const std::size_t stride = xt::DibRowStride(8, width);
  std::uint8_t* bits = block.data() + xt::DibBitsOffset(xt::ReadInfoHeader(block.data()));
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x)
      bits[stride * (height - 1 - y) + x] = index(x, y);
  }
  return block;
}

// Index of the 8-bit bitmap at (x, y), y = 0 at the top.
inline std::uint8_t IndexAt(std::span<const std::uint8_t> dib, int x, int y) {
  const auto view = xt::ViewBitmap(dib);
  return view->TopRow(y)[x];
}

inline Rgb TableColor(std::span<const std::uint8_t> dib, std::size_t i) {
  const std::uint8_t* e = dib.data() + xt::kBitmapInfoHeaderSize + 4 * i;
  return {e[2], e[1], e[0]};
}

// The first image of a GIF file as giflib reads it.
struct GiflibImage {
  int width = 0;
  int height = 0;
  bool interlaced = false;
  int color_resolution = 0;
  std::vector<Rgb> colors;            // the map the image uses (local, else global)
  std::vector<std::uint8_t> indices;  // top row first
  int transparent = -1;
};

struct MemoryInput {
  std::span<const std::uint8_t> data;
  std::size_t pos = 0;
};

inline int ReadMemory(GifFileType* gif, GifByteType* out, int n) {
  auto* in = static_cast<MemoryInput*>(gif->UserData);
  const std::size_t count = std::min<std::size_t>(n, in->data.size() - in->pos);
  std::memcpy(out, in->data.data() + in->pos, count);
  in->pos += count;
  return static_cast<int>(count);
}

inline std::optional<GiflibImage> DecodeWithGiflib(std::span<const std::uint8_t> file) {
  MemoryInput input{file};
  int error = 0;
  GifFileType* gif = DGifOpen(&input, ReadMemory, &error);
  if (gif == nullptr) return std::nullopt;
  std::optional<GiflibImage> result;
  if (DGifSlurp(gif) == GIF_OK && gif->ImageCount > 0) {
    const SavedImage& image = gif->SavedImages[0];
    GiflibImage out;
    out.width = image.ImageDesc.Width;
    out.height = image.ImageDesc.Height;
    out.interlaced = image.ImageDesc.Interlace;
    out.color_resolution = gif->SColorResolution;
    const ColorMapObject* map =
        image.ImageDesc.ColorMap ? image.ImageDesc.ColorMap : gif->SColorMap;
    if (map != nullptr) {
      for (int i = 0; i < map->ColorCount; ++i)
        out.colors.push_back({map->Colors[i].Red, map->Colors[i].Green, map->Colors[i].Blue});
    }
    out.indices.assign(image.RasterBits,
                       image.RasterBits + static_cast<std::size_t>(out.width) * out.height);
    GraphicsControlBlock gcb;
    if (DGifSavedExtensionToGCB(gif, 0, &gcb) == GIF_OK) out.transparent = gcb.TransparentColor;
    result = out;
  }
  DGifCloseFile(gif, &error);
  return result;
}

// Collects libjpeg's messages while it lives, as the host's message box would show them.
class CapturedJpegMessages {
 public:
  CapturedJpegMessages() {
    Texts().clear();
    xt::SetJpegMessageSink([](const char* text) { Texts().emplace_back(text); });
  }
  ~CapturedJpegMessages() { xt::SetJpegMessageSink(nullptr); }
  CapturedJpegMessages(const CapturedJpegMessages&) = delete;
  CapturedJpegMessages& operator=(const CapturedJpegMessages&) = delete;

  const std::vector<std::string>& texts() const { return Texts(); }

 private:
  static std::vector<std::string>& Texts() {
    static std::vector<std::string> texts;
    return texts;
  }
};

}  // namespace picture_test
