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
      : bits_(bits),
        stride_(stride),
        width_(width),
        height_(height),
        interlaced_(interlaced),
        spread_(interlaced) {}

  std::uint64_t PixelCount() const {
    return static_cast<std::uint64_t>(width_) * static_cast<std::uint64_t>(height_);
  }
  bool Complete() const { return placed_ >= PixelCount(); }

  void Put(const std::uint8_t* pixels, std::uint64_t count) {
    if (width_ == 0 || height_ == 0) return;
    while (count > 0) {
      const int n = static_cast<int>(std::min<std::uint64_t>(count, width_ - column_));
      std::memcpy(RowAt(row_) + column_, pixels, static_cast<std::size_t>(n));
      pixels += n;
      count -= static_cast<std::uint64_t>(n);
      column_ += n;
      placed_ += static_cast<std::uint64_t>(n);
      if (column_ == width_) NextRow();
    }
  }

  // Every pixel of the picture in file order: each row is written by its own pass, so the
  // copies into the rows below would all be overwritten and are left out.
  void PutWhole(const std::uint8_t* pixels) {
    spread_ = false;
    Put(pixels, PixelCount());
  }

  // Spreads a row left unfinished by an early end code.
  void End() {
    if (spread_ && column_ > 0 && height_ > 0) Spread(static_cast<std::size_t>(column_));
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
    if (spread_) Spread(static_cast<std::size_t>(width_));
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
  bool spread_;
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
    data_.resize(data_.size() + sizeof(std::uint32_t), 0);
  }
  // False when the data holds fewer than `bits` more bits.
  bool Read(int bits, int& code) {
    if (position_ + static_cast<std::uint64_t>(bits) > total_bits_) return false;
    // Compilers make this one unaligned load.
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

// Decodes the codes into one run of pixels in file order, then places the run in the bitmap.
// What makes it fast: every string in the table is a run of pixels already written (the
// string of the code before it plus one pixel), so a code is one copy from earlier output,
// eight bytes at a time, with no walk through prefix links. Data that goes on past the end of
// the picture wraps onto its last row, where strings are no longer one run; from there on
// each code is spelt out from the prefix and suffix tables, as a plain decoder does.
class LzwDecoder {
 public:
  LzwDecoder(int color_bits, PixelPlacer& placer)
      : color_bits_(color_bits),
        clear_(1 << color_bits),
        end_(clear_ + 1),
        picture_end_(static_cast<std::size_t>(clear_) + placer.PixelCount()),
        placer_(placer) {
    // The one-pixel strings of the literal codes lead the run.
    MakeRun(std::min<std::size_t>(picture_end_, kFirstRunSize));
    for (int c = 0; c < clear_; ++c) {
      run_[static_cast<std::size_t>(c)] = static_cast<std::uint8_t>(c);
      strings_[static_cast<std::size_t>(c)] = {static_cast<std::uint32_t>(c), 1};
    }
    position_ = static_cast<std::size_t>(clear_);
  }

  int Decode(CodeReader& codes) {
    ResetTable();
    int code = 0;
    while (true) {
      if (!codes.Read(bits_, code)) {
        // Data that stops without an end code is enough once every pixel is there.
        if (Complete()) break;
        return kGifDataEnds;
      }
      if (code == clear_) {
        ResetTable();
        continue;
      }
      if (code == end_) break;
      if (previous_ < 0) {
        if (code >= clear_) return kGifBadCode;
        if (int e = Emit(code, false)) return e;
      } else {
        if (code > next_) return kGifBadCode;
        // The next free code: the previous string followed by its own first pixel.
        const bool repeat = code == next_;
        if (int e = Emit(repeat ? previous_ : code, repeat)) return e;
        AddString();
      }
      previous_ = code;
      previous_string_ = current_string_;
    }
    Finish();
    return kGifPreviewOk;
  }

 private:
  struct RunString {
    std::uint32_t start;  // in run_
    std::uint32_t length;
  };
  static constexpr std::size_t kFirstRunSize = std::size_t{1} << 20;
  static constexpr std::size_t kCopySlack = 8;  // a copy may write up to 7 bytes beyond

  void ResetTable() {
    bits_ = color_bits_ + 1;
    next_ = clear_ + 2;
    limit_ = 2 * clear_;
    previous_ = -1;
  }

  bool Complete() const { return overflowed_ ? placer_.Complete() : position_ == picture_end_; }

  // Writes the string of `code`, plus its first pixel again when `repeat`.
  int Emit(int code, bool repeat) {
    if (overflowed_) return Spell(code, repeat);
    const RunString s = strings_[static_cast<std::size_t>(code)];
    const std::size_t length = s.length + (repeat ? 1 : 0);
    if (position_ + length > run_end_ && !MakeRoom(position_ + length)) {
      placer_.Put(run_.data() + clear_, position_ - static_cast<std::size_t>(clear_));
      overflowed_ = true;
      return Spell(code, repeat);
    }
    // The source lies wholly before the destination, so word copies never read a byte this
    // copy has written.
    const std::uint8_t* from = run_.data() + s.start;
    std::uint8_t* to = run_.data() + position_;
    for (std::size_t i = 0; i < s.length; i += 8)
      std::memcpy(to + i, from + i, 8);
    if (repeat) to[s.length] = from[0];
    first_ = from[0];
    current_string_ = {static_cast<std::uint32_t>(position_), static_cast<std::uint32_t>(length)};
    position_ += length;
    return kGifPreviewOk;
  }

  // Grows the run up to the end of the picture; false when `end` lies beyond it.
  bool MakeRoom(std::size_t end) {
    if (end > picture_end_) return false;
    MakeRun(std::min(picture_end_, std::max(end, 2 * run_end_)));
    return true;
  }

  void MakeRun(std::size_t end) {
    run_end_ = end;
    run_.resize(end + kCopySlack);
  }

  // The string of `code` from the prefix links, written past the picture's end.
  int Spell(int code, bool repeat) {
    int sp = kStackSize;
    if (repeat) stack_[--sp] = first_;
    int current = code;
    while (current >= clear_) {
      if (sp == 0) return kGifStringTooLong;
      stack_[--sp] = suffix_[static_cast<std::size_t>(current)];
      current = prefix_[static_cast<std::size_t>(current)];
    }
    if (sp == 0) return kGifStringTooLong;
    first_ = static_cast<std::uint8_t>(current);
    stack_[--sp] = first_;
    placer_.Put(stack_.data() + sp, static_cast<std::uint64_t>(kStackSize - sp));
    return kGifPreviewOk;
  }

  void AddString() {
    // A full table stops growing until the next clear code.
    if (next_ >= kMaxCodes) return;
    const auto n = static_cast<std::size_t>(next_);
    strings_[n] = {previous_string_.start, previous_string_.length + 1};
    prefix_[n] = static_cast<std::uint16_t>(previous_);
    suffix_[n] = first_;
    ++next_;
    if (next_ >= limit_ && bits_ < kMaxCodeBits) {
      ++bits_;
      limit_ *= 2;
    }
  }

  void Finish() {
    if (!overflowed_) {
      const std::size_t count = position_ - static_cast<std::size_t>(clear_);
      if (position_ == picture_end_) {
        placer_.PutWhole(run_.data() + clear_);
      } else {
        placer_.Put(run_.data() + clear_, count);
      }
    }
    placer_.End();
  }

  const int color_bits_;
  const int clear_;
  const int end_;
  const std::size_t picture_end_;  // in run_: the literals, then every pixel of the picture
  PixelPlacer& placer_;
  std::vector<std::uint8_t> run_;
  std::size_t run_end_ = 0;  // run_ holds kCopySlack bytes more
  std::size_t position_ = 0;
  bool overflowed_ = false;
  int bits_ = 0;
  int next_ = 0;
  int limit_ = 0;
  int previous_ = -1;  // no code since the last clear
  RunString previous_string_{};
  RunString current_string_{};
  std::uint8_t first_ = 0;  // first pixel of the string written last
  std::array<RunString, kMaxCodes> strings_{};
  std::array<std::uint16_t, kMaxCodes> prefix_{};
  std::array<std::uint8_t, kMaxCodes> suffix_{};
  std::array<std::uint8_t, kStackSize> stack_{};
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
    auto lzw = std::make_unique<LzwDecoder>(color_bits_, placer);
    return lzw->Decode(codes);
  }

  ByteReader in_;
  std::vector<std::uint8_t> global_colors_;
  int color_bits_ = 0;
  int width_ = 0;
  int height_ = 0;
  bool interlaced_ = false;
  PackedBitmap bitmap_;
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
