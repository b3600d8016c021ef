#include "xt/picture/gif_preview.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <fstream>
#include <memory>

#include "xt/picture/gif_stream.h"

namespace xt {
namespace {

using namespace gif;

constexpr int kMaxCodes = 1 << kMaxCodeBits;
constexpr int kStackSize = 4096;
constexpr std::uint32_t kPreviewColors = 256;
constexpr std::size_t kBitReadSlack = 4;  // zero bytes after the data for 32-bit loads

class ByteReader {
 public:
  explicit ByteReader(std::span<const std::uint8_t> data) : data_(data) {}
  bool Byte(std::uint8_t& b) {
    if (pos_ >= data_.size()) return false;
    b = data_[pos_++];
    return true;
  }
  bool Word(int& w) {
    if (data_.size() - pos_ < 2) return false;
    w = data_[pos_] | (data_[pos_ + 1] << 8);
    pos_ += 2;
    return true;
  }
  bool Skip(std::size_t n) {
    if (data_.size() - pos_ < n) return false;
    pos_ += n;
    return true;
  }
  const std::uint8_t* Take(std::size_t n) {
    if (data_.size() - pos_ < n) return nullptr;
    const std::uint8_t* p = data_.data() + pos_;
    pos_ += n;
    return p;
  }
  std::size_t Left() const { return data_.size() - pos_; }

 private:
  std::span<const std::uint8_t> data_;
  std::size_t pos_ = 0;
};

// Puts decoded pixels at their place: picture row r is stored at bitmap row h - 1 - r. An
// interlaced row is copied into the rows below it that later passes fill, so that a picture
// shows whole from its first pass on.
class PixelPlacer {
 public:
  PixelPlacer(std::uint8_t* bits, std::size_t stride, int width, int height, bool interlaced)
      : bits_(bits), stride_(stride), width_(width), height_(height), interlaced_(interlaced) {}

  bool Complete() const {
    return placed_ >= static_cast<std::uint64_t>(width_) * static_cast<std::uint64_t>(height_);
  }

  void Put(const std::uint8_t* pixels, int count) {
    if (width_ == 0 || height_ == 0) return;
    while (count > 0) {
      const int n = std::min(count, width_ - column_);
      std::memcpy(RowAt(row_) + column_, pixels, static_cast<std::size_t>(n));
      pixels += n;
      count -= n;
      column_ += n;
      placed_ += static_cast<std::uint64_t>(n);
      if (column_ == width_) NextRow();
    }
  }

  // Spreads a row left unfinished by an early end code.
  void End() {
    if (interlaced_ && column_ > 0 && height_ > 0) Spread(static_cast<std::size_t>(column_));
  }

 private:
  std::uint8_t* RowAt(int r) { return bits_ + static_cast<std::size_t>(height_ - 1 - r) * stride_; }

  void Spread(std::size_t length) {
    const InterlacePass& p = kInterlacePasses[pass_];
    const int last = std::min(row_ + p.step - p.start - 1, height_ - 1);
    for (int r = row_ + 1; r <= last; ++r)
      std::memcpy(RowAt(r), RowAt(row_), length);
  }

  void NextRow() {
    column_ = 0;
    if (!interlaced_) {
      row_ = std::min(row_ + 1, height_ - 1);  // longer data keeps writing the last row
      return;
    }
    Spread(static_cast<std::size_t>(width_));
    if (row_ + kInterlacePasses[pass_].step < height_) {
      row_ += kInterlacePasses[pass_].step;
      return;
    }
    // The next pass that starts inside the picture; after the last one the row stays.
    for (std::size_t next = pass_ + 1; next < kInterlacePasses.size(); ++next) {
      if (kInterlacePasses[next].start < height_) {
        pass_ = next;
        row_ = kInterlacePasses[next].start;
        return;
      }
    }
  }

  std::uint8_t* bits_;
  std::size_t stride_;
  int width_;
  int height_;
  bool interlaced_;
  std::size_t pass_ = 0;
  int row_ = 0;
  int column_ = 0;
  std::uint64_t placed_ = 0;
};

// The image data with the sub-block length bytes taken out, read as codes least significant
// bit first.
class CodeReader {
 public:
  explicit CodeReader(std::vector<std::uint8_t> data) : data_(std::move(data)) {
    total_bits_ = static_cast<std::uint64_t>(data_.size()) * 8;
    data_.resize(data_.size() + kBitReadSlack, 0);
  }
  // False when the data holds fewer than `bits` more bits.
  bool Read(int bits, int& code) {
    if (position_ + static_cast<std::uint64_t>(bits) > total_bits_) return false;
    const std::uint8_t* p = data_.data() + (position_ >> 3);
    const std::uint32_t word = p[0] | (p[1] << 8) | (p[2] << 16) | (std::uint32_t{p[3]} << 24);
    code = static_cast<int>((word >> (position_ & 7)) & ((1u << bits) - 1));
    position_ += static_cast<std::uint64_t>(bits);
    return true;
  }

 private:
  std::vector<std::uint8_t> data_;
  std::uint64_t total_bits_ = 0;
  std::uint64_t position_ = 0;
};

class GifPreviewDecoder {
 public:
  explicit GifPreviewDecoder(std::span<const std::uint8_t> file) : in_(file) {}

  GifPreview Decode() {
    GifPreview result;
    result.error = DecodeImage();
    if (result.error == kGifPreviewOk) result.bitmap = std::move(bitmap_);
    return result;
  }

 private:
  int DecodeImage() {
    if (int e = ReadScreen()) return e;
    if (int e = FindImage()) return e;
    if (int e = ReadImageDescriptor()) return e;
    return DecodeLzw();
  }

  int ReadScreen() {
    const std::uint8_t* signature = in_.Take(3);
    if (signature == nullptr) return kGifDataEnds;
    if (std::memcmp(signature, "GIF", 3) != 0) return kGifNotGif;
    const std::uint8_t* version = in_.Take(3);
    if (version == nullptr) return kGifDataEnds;
    if (std::memcmp(version, "87a", 3) != 0 && std::memcmp(version, "89a", 3) != 0)
      return kGifBadVersion;
    int screen_width = 0, screen_height = 0;
    std::uint8_t flags = 0, background = 0, aspect = 0;
    if (!in_.Word(screen_width) || !in_.Word(screen_height) || !in_.Byte(flags) ||
        !in_.Byte(background) || !in_.Byte(aspect))
      return kGifDataEnds;
    color_bits_ = (flags & 7) + 1;
    if (flags < kGlobalTableFlag) return kGifNoGlobalColors;
    const std::uint8_t* table = in_.Take(3u << color_bits_);
    if (table == nullptr) return kGifDataEnds;
    global_colors_.assign(table, table + (3u << color_bits_));
    return kGifPreviewOk;
  }

  // Reads a leading graphic control extension, then looks for the first image separator.
  int FindImage() {
    std::uint8_t b = 0;
    if (!in_.Byte(b)) return kGifDataEnds;
    if (b == kImageSeparator) return kGifPreviewOk;
    std::uint8_t previous = b;
    if (b == kExtensionIntroducer) {
      if (!in_.Byte(b)) return kGifDataEnds;
      previous = b;
      if (b == kGraphicControlLabel) {
        if (int e = ReadGraphicControl(previous)) return e;
      }
    }
    // The image separator follows the zero byte that ends the blocks before it.
    while (true) {
      if (!in_.Byte(b)) return kGifDataEnds;
      if (b == kImageSeparator && previous == 0) return kGifPreviewOk;
      previous = b;
    }
  }

  int ReadGraphicControl(std::uint8_t& previous) {
    std::uint8_t size = 0, packed = 0, transparent = 0;
    if (!in_.Byte(size) || !in_.Byte(packed)) return kGifDataEnds;
    int consumed = 1;
    if (packed & kTransparentColorFlag) {
      int delay = 0;
      if (!in_.Word(delay) || !in_.Byte(transparent)) return kGifDataEnds;
      consumed += 3;
    }
    // The rest of the block is skipped by its size: a delay of 44 would otherwise pass for
    // an image separator.
    if (size > consumed && !in_.Skip(static_cast<std::size_t>(size - consumed)))
      return kGifDataEnds;
    previous = 1;  // the block's zero terminator comes next
    return kGifPreviewOk;
  }

  int ReadImageDescriptor() {
    int left = 0, top = 0;
    std::uint8_t flags = 0;
    if (!in_.Word(left) || !in_.Word(top) || !in_.Word(width_) || !in_.Word(height_) ||
        !in_.Byte(flags))
      return kGifDataEnds;
    if (width_ > kMaxGifPreviewWidth) return kGifTooWide;
    interlaced_ = (flags & kInterlacedFlag) != 0;

    BitmapInfoHeader header;
    header.width = width_;
    header.height = height_;
    header.bit_count = 8;
    header.clr_used = kPreviewColors;
    header.clr_important = kPreviewColors;
    bitmap_ = NewPackedBitmap(header, kPreviewColors);

    const std::uint8_t* colors = global_colors_.data();
    std::size_t entries = global_colors_.size() / 3;
    if (flags & kLocalTableFlag) {
      entries = std::size_t{1} << ((flags & 7) + 1);
      colors = in_.Take(3 * entries);
      if (colors == nullptr) return kGifDataEnds;
    }
    std::uint8_t* table = bitmap_.data() + kBitmapInfoHeaderSize;
    for (std::size_t i = 0; i < entries; ++i) {
      table[4 * i] = colors[3 * i + 2];
      table[4 * i + 1] = colors[3 * i + 1];
      table[4 * i + 2] = colors[3 * i];
    }
    if (color_bits_ == 1) color_bits_ = 2;
    std::uint8_t code_size = 0;
    if (!in_.Byte(code_size)) return kGifDataEnds;
    if (code_size != color_bits_) return kGifBadCodeSize;
    return kGifPreviewOk;
  }

  // The data sub-blocks up to the terminator or the end of the file.
  std::vector<std::uint8_t> CollectData() {
    std::vector<std::uint8_t> data;
    data.reserve(in_.Left());
    std::uint8_t length = 0;
    while (in_.Byte(length) && length != 0) {
      const std::size_t n = std::min<std::size_t>(length, in_.Left());
      const std::uint8_t* p = in_.Take(n);
      data.insert(data.end(), p, p + n);
    }
    return data;
  }

  int DecodeLzw() {
    const BitmapInfoHeader header = ReadInfoHeader(bitmap_.data());
    PixelPlacer placer(bitmap_.data() + DibBitsOffset(header), DibRowStride(8, width_), width_,
                       height_, interlaced_);
    CodeReader codes(CollectData());
    const int clear = 1 << color_bits_;
    const int end = clear + 1;
    int bits = color_bits_ + 1;
    int next = clear + 2;
    int limit = 2 * clear;
    int previous = -1;  // no code since the last clear
    std::uint8_t first = 0;
    int code = 0;
    while (true) {
      if (!codes.Read(bits, code)) {
        // Data that stops without an end code is enough once every pixel is there.
        if (placer.Complete()) break;
        return kGifDataEnds;
      }
      if (code == clear) {
        bits = color_bits_ + 1;
        next = clear + 2;
        limit = 2 * clear;
        previous = -1;
        continue;
      }
      if (code == end) break;
      if (previous < 0) {
        if (code >= clear) return kGifBadCode;
        first = static_cast<std::uint8_t>(code);
        placer.Put(&first, 1);
        previous = code;
        continue;
      }
      if (code > next) return kGifBadCode;
      int sp = kStackSize;
      int current = code;
      if (code == next) {
        // The string of the previous code followed by its own first pixel.
        stack_[--sp] = first;
        current = previous;
      }
      while (current >= clear) {
        if (sp == 0) return kGifStringTooLong;
        stack_[--sp] = suffix_[current];
        current = prefix_[current];
      }
      if (sp == 0) return kGifStringTooLong;
      first = static_cast<std::uint8_t>(current);
      stack_[--sp] = first;
      // A full table stops growing until the next clear code.
      if (next < kMaxCodes) {
        prefix_[next] = static_cast<std::uint16_t>(previous);
        suffix_[next] = first;
        ++next;
        if (next >= limit && bits < kMaxCodeBits) {
          ++bits;
          limit *= 2;
        }
      }
      placer.Put(stack_.data() + sp, kStackSize - sp);
      previous = code;
    }
    placer.End();
    return kGifPreviewOk;
  }

  ByteReader in_;
  std::vector<std::uint8_t> global_colors_;
  int color_bits_ = 0;
  int width_ = 0;
  int height_ = 0;
  bool interlaced_ = false;
  PackedBitmap bitmap_;
  std::array<std::uint16_t, kMaxCodes> prefix_{};
  std::array<std::uint8_t, kMaxCodes> suffix_{};
  std::array<std::uint8_t, kStackSize> stack_{};
};

}  // namespace

GifPreview DecodeGifPreviewData(std::span<const std::uint8_t> file) {
  auto decoder = std::make_unique<GifPreviewDecoder>(file);
  return decoder->Decode();
}

std::optional<std::vector<std::uint8_t>> ReadWholeFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary | std::ios::ate);
  if (!in) return std::nullopt;
  const std::streamoff size = in.tellg();
  if (size < 0) return std::nullopt;
  std::vector<std::uint8_t> data(static_cast<std::size_t>(size));
  in.seekg(0);
  if (!in.read(reinterpret_cast<char*>(data.data()), size)) return std::nullopt;
  return data;
}

std::optional<PackedBitmap> DecodeGifPreview(const std::string& path) {
  const std::optional<std::vector<std::uint8_t>> file = ReadWholeFile(path);
  if (!file) return std::nullopt;
  GifPreview preview = DecodeGifPreviewData(*file);
  if (preview.error != kGifPreviewOk) return std::nullopt;
  return std::move(preview.bitmap);
}

}  // namespace xt
