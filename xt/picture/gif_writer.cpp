#include "xt/picture/gif_writer.h"

#include <algorithm>
#include <array>
#include <iterator>

#include "xt/picture/convert_dib_depth.h"
#include "xt/picture/gif_stream.h"
#include "xt/picture/lzw_coder.h"
#include "xt/picture/reduce_colors.h"

namespace xt {
namespace {

using namespace gif;

constexpr int kMaxGifSide = 0xFFFF;
constexpr std::uint8_t kGraphicControlSize = 4;
constexpr std::uint8_t kBlockTerminator = 0x00;
constexpr std::uint8_t kTrailer = 0x3B;
constexpr int kMinLzwCodeSize = 2;

void Put16(std::vector<std::uint8_t>& out, int value) {
  out.push_back(static_cast<std::uint8_t>(value));
  out.push_back(static_cast<std::uint8_t>(value >> 8));
}

// The bitmap at 8 bits per pixel, made when the input has another depth.
std::optional<PackedBitmap> EightBitCopy(std::span<const std::uint8_t> dib) {
  if (std::optional<PackedBitmap> mapped = ConvertDibDepth(dib, 8, 0)) return mapped;
  return ReduceColors(dib, kMaxReducedColors);
}

class GifStream {
 public:
  GifStream(const BitmapView& picture, bool interlaced, bool transparent)
      : picture_(picture), interlaced_(interlaced), transparent_(transparent) {
    color_count_ = picture.header.clr_used != 0 ? picture.header.clr_used : 256;
    depth_ = GifColorDepth(color_count_);
    code_size_ = std::max(depth_, kMinLzwCodeSize);
  }

  std::vector<std::uint8_t> Write() {
    static constexpr std::uint8_t kSignature[] = {'G', 'I', 'F', '8', '9', 'a'};
    std::vector<std::uint8_t> out(std::begin(kSignature), std::end(kSignature));
    WriteScreen(out);
    if (transparent_) WriteGraphicControl(out);
    WriteImageDescriptor(out);
    out.push_back(static_cast<std::uint8_t>(code_size_));
    WriteImageData(out);
    out.push_back(kBlockTerminator);
    out.push_back(kTrailer);
    return out;
  }

 private:
  void WriteScreen(std::vector<std::uint8_t>& out) const {
    Put16(out, picture_.width);
    Put16(out, picture_.height);
    out.push_back(static_cast<std::uint8_t>(kGlobalTableFlag | ((depth_ - 1) << 5) | (depth_ - 1)));
    out.push_back(0);  // background colour index
    out.push_back(0);  // pixel aspect ratio
    const std::uint32_t entries = 1u << depth_;
    for (std::uint32_t i = 0; i < entries; ++i) {
      if (i < color_count_) {
        const std::uint8_t* e = picture_.colors + kColorEntrySize * i;
        out.insert(out.end(), {e[2], e[1], e[0]});
      } else {
        out.insert(out.end(), {0, 0, 0});
      }
    }
  }

  void WriteGraphicControl(std::vector<std::uint8_t>& out) const {
    // The first stored pixel is the bottom-left one of the picture.
    const std::uint8_t transparent_index = Clamp(picture_.Row(0)[0]);
    out.insert(out.end(), {kExtensionIntroducer, kGraphicControlLabel, kGraphicControlSize,
                           kTransparentColorFlag, 0, 0, transparent_index, kBlockTerminator});
  }

  void WriteImageDescriptor(std::vector<std::uint8_t>& out) const {
    out.push_back(kImageSeparator);
    Put16(out, 0);
    Put16(out, 0);
    Put16(out, picture_.width);
    Put16(out, picture_.height);
    out.push_back(interlaced_ ? kInterlacedFlag : 0);
  }

  void WriteImageData(std::vector<std::uint8_t>& out) const {
    LzwCoder coder(code_size_, out);
    const bool clamp = depth_ < 8;
    std::vector<std::uint8_t> row;
    for (int r : GifRowOrder(picture_.height, interlaced_)) {
      const std::uint8_t* pixels = picture_.TopRow(r);
      if (clamp) {
        row.assign(pixels, pixels + picture_.width);
        for (std::uint8_t& p : row)
          p = Clamp(p);
        pixels = row.data();
      }
      coder.Add(pixels, static_cast<std::size_t>(picture_.width));
    }
    coder.Finish();
  }

  // A pixel value the colour table cannot index would be read as a control code by decoders;
  // it is shown as entry 0 instead.
  std::uint8_t Clamp(std::uint8_t pixel) const { return pixel < (1u << depth_) ? pixel : 0; }

  const BitmapView& picture_;
  const bool interlaced_;
  const bool transparent_;
  std::uint32_t color_count_ = 0;
  int depth_ = 8;
  int code_size_ = 8;
};

}  // namespace

int GifColorDepth(std::uint32_t color_count) {
  if (color_count <= 2) return 1;
  if (color_count <= 16) return 4;
  return 8;
}

std::vector<int> GifRowOrder(int height, bool interlaced) {
  std::vector<int> rows;
  rows.reserve(static_cast<std::size_t>(std::max(height, 0)));
  if (!interlaced) {
    for (int r = 0; r < height; ++r)
      rows.push_back(r);
    return rows;
  }
  for (const InterlacePass& pass : kInterlacePasses) {
    for (int r = pass.start; r < height; r += pass.step)
      rows.push_back(r);
  }
  return rows;
}

std::optional<std::vector<std::uint8_t>> EncodeGif(std::span<const std::uint8_t> dib,
                                                   bool interlaced, bool transparent) {
  const std::optional<BitmapView> input = ViewBitmap(dib);
  if (!input || input->width > kMaxGifSide || input->height > kMaxGifSide) return std::nullopt;
  std::optional<PackedBitmap> reduced;
  if (input->bit_count != 8) {
    reduced = EightBitCopy(dib);
    if (!reduced) return std::nullopt;
  }
  const std::optional<BitmapView> picture = reduced ? ViewBitmap(*reduced) : input;
  if (!picture) return std::nullopt;
  return GifStream(*picture, interlaced, transparent).Write();
}

}  // namespace xt
