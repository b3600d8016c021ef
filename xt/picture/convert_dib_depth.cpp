#include "xt/picture/convert_dib_depth.h"

#include <algorithm>
#include <limits>
#include <vector>

namespace xt {
namespace {

struct Bgr {
  std::uint8_t b = 0, g = 0, r = 0;
  bool operator==(const Bgr&) const = default;
};

int IndexAt(const std::uint8_t* row, int x, int bits) {
  switch (bits) {
    case 1:
      return (row[x >> 3] >> (7 - (x & 7))) & 1;
    case 4:
      return (x & 1) ? row[x >> 1] & 0x0F : row[x >> 1] >> 4;
    default:
      return row[x];
  }
}

void PutIndex(std::uint8_t* row, int x, int bits, int index) {
  switch (bits) {
    case 1:
      row[x >> 3] |= static_cast<std::uint8_t>((index & 1) << (7 - (x & 7)));
      break;
    case 4:
      row[x >> 1] |= static_cast<std::uint8_t>((x & 1) ? index & 0x0F : (index & 0x0F) << 4);
      break;
    default:
      row[x] = static_cast<std::uint8_t>(index);
  }
}

// The palette made from the source's colour table, as the target depth can hold it.
class Palette {
 public:
  Palette(const BitmapView& source, int entries) {
    colors_.resize(entries);
    for (int i = 0; i < entries; ++i)
      colors_[i] = Entry(source, i);
  }

  static Bgr Entry(const BitmapView& v, std::uint32_t i) {
    if (i >= v.color_count) i = 0;  // an index beyond the table shows entry 0
    const std::uint8_t* e = v.colors + kColorEntrySize * i;
    return {e[0], e[1], e[2]};
  }

  // The first entry of least distance.
  int Nearest(Bgr c) const {
    int best = 0;
    int best_distance = std::numeric_limits<int>::max();
    for (int i = 0; i < static_cast<int>(colors_.size()); ++i) {
      const int db = c.b - colors_[i].b, dg = c.g - colors_[i].g, dr = c.r - colors_[i].r;
      const int distance = db * db + dg * dg + dr * dr;
      if (distance < best_distance) {
        best_distance = distance;
        best = i;
      }
    }
    return best;
  }

  const std::vector<Bgr>& colors() const { return colors_; }

 private:
  std::vector<Bgr> colors_;
};

Bgr SourceColor(const BitmapView& v, const std::uint8_t* row, int x) {
  if (v.bit_count == 24) return {row[3 * x], row[3 * x + 1], row[3 * x + 2]};
  return Palette::Entry(v, static_cast<std::uint32_t>(IndexAt(row, x, v.bit_count)));
}

}  // namespace

std::optional<PackedBitmap> ConvertDibDepth(std::span<const std::uint8_t> dib, int bit_count,
                                            std::uint32_t compression) {
  const std::optional<BitmapView> view = ViewBitmap(dib);
  if (!view || compression != 0) return std::nullopt;
  const int depth = bit_count == kKeepDepth ? view->bit_count : bit_count;
  if (depth != 1 && depth != 4 && depth != 8 && depth != 24) return std::nullopt;
  if (view->color_count == 0) return std::nullopt;

  const int entries =
      depth == 24 ? 0 : static_cast<int>(std::min<std::uint32_t>(view->color_count, 1u << depth));
  BitmapInfoHeader header = view->header;
  header.bit_count = static_cast<std::uint16_t>(depth);
  header.clr_used = static_cast<std::uint32_t>(entries);
  header.clr_important = 0;
  PackedBitmap out = NewPackedBitmap(header, static_cast<std::uint32_t>(entries));

  const Palette palette(*view, entries);
  std::uint8_t* table = out.data() + kBitmapInfoHeaderSize;
  for (int i = 0; i < entries; ++i) {
    table[4 * i] = palette.colors()[i].b;
    table[4 * i + 1] = palette.colors()[i].g;
    table[4 * i + 2] = palette.colors()[i].r;
  }

  std::uint8_t* bits = out.data() + DibBitsOffset(ReadInfoHeader(out.data()));
  const std::size_t stride = DibRowStride(depth, view->width);
  Bgr last{};
  int last_index = entries > 0 ? palette.Nearest(last) : 0;
  for (int y = 0; y < view->height; ++y) {
    const std::uint8_t* from = view->Row(y);
    std::uint8_t* to = bits + static_cast<std::size_t>(y) * stride;
    for (int x = 0; x < view->width; ++x) {
      const Bgr c = SourceColor(*view, from, x);
      if (depth == 24) {
        to[3 * x] = c.b;
        to[3 * x + 1] = c.g;
        to[3 * x + 2] = c.r;
        continue;
      }
      if (!(c == last)) {
        last = c;
        last_index = palette.Nearest(c);
      }
      PutIndex(to, x, depth, last_index);
    }
  }
  return out;
}

}  // namespace xt
