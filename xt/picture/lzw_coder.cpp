#include "xt/picture/lzw_coder.h"

#include <algorithm>
#include <bit>
#include <cstring>
#include <new>

namespace xt {
namespace {

constexpr int kClassicHashSize = 5003;

// Eight bytes, least significant first, in one store; the coder's chunk has room for them
// beyond its end.
void StoreWord64(std::uint8_t* out, std::uint64_t word) {
  if constexpr (std::endian::native == std::endian::big) word = __builtin_bswap64(word);
  std::memcpy(out, &word, sizeof word);
}

// A table with no strings: each row holds its own pixel throughout.
std::uint16_t* EmptyTable(std::uint32_t pixels, std::size_t row_stride) {
  auto* table =
      static_cast<std::uint16_t*>(std::malloc(pixels * row_stride * sizeof(std::uint16_t)));
  if (table == nullptr) throw std::bad_alloc();
  for (std::uint32_t pixel = 0; pixel < pixels; ++pixel)
    std::fill_n(table + pixel * row_stride, row_stride, static_cast<std::uint16_t>(pixel));
  return table;
}

// Hides where a value came from, so that the compiler neither widens a 16-bit table entry
// again nor shares one address between a row's read and write: either would put another
// instruction between one step's read and the next.
template <typename T>
void Opaque(T& value) {
#if defined(__GNUC__)
  asm("" : "+r"(value));
#endif
}

void Prefetch(const void* address) {
#if defined(__GNUC__)
  __builtin_prefetch(address);
#endif
}

}  // namespace

LzwCoder::LzwCoder(int min_code_size, std::vector<std::uint8_t>& stream)
    : stream_(stream),
      pixel_mask_((1u << min_code_size) - 1),
      table_(EmptyTable(1u << min_code_size, kRowStride)),
      initial_bits_(min_code_size + 1),
      clear_code_(1u << min_code_size),
      end_code_(clear_code_ + 1),
      next_code_(clear_code_ + 2),
      code_bits_(min_code_size + 1),
      max_code_((1u << (min_code_size + 1)) - 1) {
  for (std::uint32_t pixel = 0; pixel <= pixel_mask_; ++pixel)
    rows_[pixel] = table_.get() + pixel * kRowStride;
}

void LzwCoder::Add(const std::uint8_t* pixels, std::size_t count) {
  std::size_t i = 0;
  if (prefix_ < 0) {
    if (count == 0) return;
    prefix_ = pixels[i++] & pixel_mask_;
    Output(clear_code_);
  }
  std::uint32_t prefix = static_cast<std::uint32_t>(prefix_);
  const std::uint8_t* next = pixels + i;
  const std::uint8_t* const end = pixels + count;
  while (next != end) {
    const std::uint32_t width_below = std::min(max_code_ + 1, std::uint32_t{kMaxCodes});
    const std::size_t room = width_below - next_code_;
    std::size_t batch = std::min<std::size_t>(end - next, kBatchSize);
    if (room >= kLeastRoom) {
      // Each step makes at most one code.
      batch = std::min(batch, room);
      if (following_classic_ || !Holds(Pair(0, 0)))
        batch = StepsBeforeZeroPair(next, batch, prefix);
      if (batch != 0) {
        Steps<false>(next, next + batch, prefix, width_below);
        continue;
      }
      batch = std::min<std::size_t>(end - next, kLeastRoom);
    }
    // While the classic layout is followed, every new string is placed in it at once.
    const std::uint32_t plain_below = following_classic_ ? 0 : width_below;
    if (Steps<true>(next, next + batch, prefix, plain_below)) {
      const std::uint32_t pixel = next[-1] & pixel_mask_;
      Output(prefix);
      if (next_code_ < kMaxCodes) {
        AddString(Pair(prefix, pixel));
      } else {
        ClearTable();
      }
      prefix = pixel;
    }
  }
  prefix_ = static_cast<int>(prefix);
}

// How many steps come before the first that may meet the string "0 0": a pixel 0 after a
// string "0", which only a pixel 0 before it can be.
std::size_t LzwCoder::StepsBeforeZeroPair(const std::uint8_t* pixels, std::size_t count,
                                          std::uint32_t prefix) const {
  if (count == 0 || (prefix == 0 && (pixels[0] & pixel_mask_) == 0)) return 0;
  constexpr std::uint64_t kOnes = 0x0101010101010101;
  constexpr std::uint64_t kHighs = 0x8080808080808080;
  const std::uint64_t masks = pixel_mask_ * kOnes;
  std::size_t k = 0;
  for (; k + 9 <= count; k += 8) {
    std::uint64_t here;
    std::uint64_t after;
    std::memcpy(&here, pixels + k, sizeof here);
    std::memcpy(&after, pixels + k + 1, sizeof after);
    if constexpr (std::endian::native == std::endian::big) {
      here = __builtin_bswap64(here);
      after = __builtin_bswap64(after);
    }
    // Byte j is zero where pixels k + j and k + j + 1 both are; the lowest flag set marks
    // the first such byte exactly.
    const std::uint64_t pairs = (here | after) & masks;
    const std::uint64_t zeros = (pairs - kOnes) & ~pairs & kHighs;
    if (zeros != 0) return k + 1 + static_cast<std::size_t>(std::countr_zero(zeros) / 8);
  }
  for (k = std::max<std::size_t>(k, 1); k < count; ++k) {
    if (((pixels[k - 1] | pixels[k]) & pixel_mask_) == 0) return k;
  }
  return count;
}

// Runs the steps from `next` to `stop`, sends the codes they make and, while the classic
// layout is followed, places their strings in it. With kTested it stops at the first step
// that makes a code at `plain_below` or above, or makes "0 0", and returns true; `next` is
// then past that step's pixel.
template <bool kTested>
bool LzwCoder::Steps(const std::uint8_t*& next, const std::uint8_t* stop, std::uint32_t& prefix,
                     std::uint32_t plain_below) {
  const std::uint32_t pixel_mask = pixel_mask_;
  const std::size_t first_string_code = clear_code_ + 2;
  std::uint16_t* const* const rows = rows_.data();
  std::uint16_t* const prefix_of_code = prefix_of_code_.data();
  std::uint8_t* const pixel_of_code = pixel_of_code_.data();
  const std::uint32_t first_code = next_code_;
  std::uint32_t next_code = first_code;
  std::size_t string = prefix;
  bool stopped = false;
  while (next != stop) {
    if constexpr (!kTested) {
      // Where a string ends a few steps on, the step after reads the entry of those two
      // pixels; fetching it now takes its cache miss, if any, off the chain of reads.
      if (kLookAhead < stop - next)
        Prefetch(rows[next[kLookAhead] & pixel_mask] + (next[kLookAhead - 1] & pixel_mask));
    }
    const std::uint32_t pixel = *next++ & pixel_mask;
    std::uint16_t* const row = rows[pixel];
    std::uint16_t* written_row = row;
    Opaque(written_row);
    // The code of "string + pixel", or the pixel itself where that is new: either way the
    // next step's prefix.
    std::size_t entry = row[string];
    Opaque(entry);
    const bool ends = entry < first_string_code;
    if constexpr (kTested) {
      // As integers: the compiler would branch on each part of a logical expression.
      const std::uint32_t rare = (next_code >= plain_below) | ((string | pixel) == 0);
      if ((static_cast<std::uint32_t>(ends) & rare) != 0) [[unlikely]] {
        stopped = true;
        break;
      }
    }
    // Written whether or not the string ends, so that no branch depends on it.
    prefix_of_code[next_code] = static_cast<std::uint16_t>(string);
    pixel_of_code[next_code] = static_cast<std::uint8_t>(pixel);
    written_row[string] = static_cast<std::uint16_t>(ends ? next_code : entry);
    next_code += ends;
    string = entry;
  }
  prefix = static_cast<std::uint32_t>(string);
  next_code_ = next_code;
  PutCodes(prefix_of_code + first_code, next_code - first_code);
  if (following_classic_) {
    for (std::uint32_t code = first_code; code < next_code; ++code)
      PlaceInClassicTable(PairOf(code));
  }
  return stopped;
}

void LzwCoder::AddString(std::uint32_t pair) {
  if (pair == 0 && !following_classic_) {
    // "0 0" goes to the classic slot 0 unless a string with that primary slot, pixel p
    // after prefix 16 p, holds it already.
    for (std::uint32_t p = 1; p <= pixel_mask_ && (p << 4) < next_code_; ++p) {
      if (Holds(Pair(p << 4, p))) {
        FollowClassicTable();
        break;
      }
    }
  }
  if (following_classic_) PlaceInClassicTable(pair);
  Entry(pair) = static_cast<std::uint16_t>(next_code_);
  prefix_of_code_[next_code_] = static_cast<std::uint16_t>(pair & kCodeMask);
  pixel_of_code_[next_code_] = static_cast<std::uint8_t>(pair >> kMaxCodeBits);
  ++next_code_;
}

// Builds the classic table as it stands: its strings went in in the order of their codes.
void LzwCoder::FollowClassicTable() {
  following_classic_ = true;
  classic_keys_.assign(kClassicHashSize, -1);
  for (std::uint32_t code = clear_code_ + 2; code < next_code_; ++code)
    PlaceInClassicTable(PairOf(code));
}

// Where the classic coder stores a new string: its probe steps back by 5003 - slot from the
// primary slot and stops at the first slot whose key is not positive, key 0 included.
void LzwCoder::PlaceInClassicTable(std::uint32_t pair) {
  const std::uint32_t prefix = pair & kCodeMask;
  const std::uint32_t pixel = pair >> kMaxCodeBits;
  int slot = static_cast<int>((pixel << 4) ^ prefix);
  if (classic_keys_[slot] >= 0) {
    const int step = slot == 0 ? 1 : kClassicHashSize - slot;
    do {
      slot -= step;
      if (slot < 0) slot += kClassicHashSize;
    } while (classic_keys_[slot] > 0);
    if (classic_keys_[slot] == 0) Entry(Pair(0, 0)) = 0;  // "0 0" is forgotten: empty
  }
  classic_keys_[slot] = static_cast<std::int32_t>(pair);
}

void LzwCoder::ClearTable() {
  for (std::uint32_t code = clear_code_ + 2; code < next_code_; ++code) {
    const std::uint8_t pixel = pixel_of_code_[code];
    rows_[pixel][prefix_of_code_[code]] = pixel;
  }
  following_classic_ = false;
  next_code_ = clear_code_ + 2;
  PutBits(clear_code_);
  code_bits_ = initial_bits_;
  max_code_ = (1u << code_bits_) - 1;
}

void LzwCoder::Output(std::uint32_t code) {
  PutBits(code);
  if (next_code_ > max_code_) {
    ++code_bits_;
    max_code_ = code_bits_ == kMaxCodeBits ? kMaxCodes : (1u << code_bits_) - 1;
  }
}

void LzwCoder::PutBits(std::uint32_t code) {
  const auto one = static_cast<std::uint16_t>(code);
  PutCodes(&one, 1);
}

// Packs codes of the current width.
void LzwCoder::PutCodes(const std::uint16_t* codes, std::size_t count) {
  std::uint64_t accumulator = accumulator_;
  int accumulated_bits = accumulated_bits_;
  const int code_bits = code_bits_;
  std::size_t chunk_count = chunk_count_;
  std::size_t k = 0;
  // Four codes at a time, at most 7 + 4 * 12 bits: each code's place is known at once, so
  // only the bits left over pass from one word to the next.
  for (; k + 4 <= count; k += 4) {
    const std::uint64_t word = accumulator | std::uint64_t{codes[k]} << accumulated_bits |
                               std::uint64_t{codes[k + 1]} << (accumulated_bits + code_bits) |
                               std::uint64_t{codes[k + 2]} << (accumulated_bits + 2 * code_bits) |
                               std::uint64_t{codes[k + 3]} << (accumulated_bits + 3 * code_bits);
    accumulated_bits += 4 * code_bits;
    StoreWord64(chunk_.data() + chunk_count, word);
    chunk_count += static_cast<std::size_t>(accumulated_bits >> 3);
    accumulator = word >> (accumulated_bits & ~7);
    accumulated_bits &= 7;
    if (chunk_count >= kChunkSize) [[unlikely]] {
      chunk_count_ = chunk_count;
      FlushChunk(false);
      chunk_count = chunk_count_;
    }
  }
  for (; k < count; ++k) {
    accumulator |= std::uint64_t{codes[k]} << accumulated_bits;
    accumulated_bits += code_bits;
    StoreWord64(chunk_.data() + chunk_count, accumulator);
    chunk_count += static_cast<std::size_t>(accumulated_bits >> 3);
    accumulator >>= accumulated_bits & ~7;
    accumulated_bits &= 7;
    if (chunk_count >= kChunkSize) [[unlikely]] {
      chunk_count_ = chunk_count;
      FlushChunk(false);
      chunk_count = chunk_count_;
    }
  }
  accumulator_ = accumulator;
  accumulated_bits_ = accumulated_bits;
  chunk_count_ = chunk_count;
}

void LzwCoder::Finish() {
  if (prefix_ >= 0) Output(static_cast<std::uint32_t>(prefix_));
  Output(end_code_);
  for (; accumulated_bits_ > 0; accumulated_bits_ -= 8) {
    chunk_[chunk_count_++] = static_cast<std::uint8_t>(accumulator_);
    accumulator_ >>= 8;
  }
  accumulated_bits_ = 0;
  FlushChunk(true);
}

// Writes the full sub-blocks collected, and with `all` the short last one too.
void LzwCoder::FlushChunk(bool all) {
  std::size_t done = 0;
  while (chunk_count_ - done >= kSubBlockSize || (all && done < chunk_count_)) {
    const std::size_t n = std::min<std::size_t>(kSubBlockSize, chunk_count_ - done);
    stream_.push_back(static_cast<std::uint8_t>(n));
    stream_.insert(stream_.end(), chunk_.begin() + done, chunk_.begin() + done + n);
    done += n;
  }
  std::memmove(chunk_.data(), chunk_.data() + done, chunk_count_ - done);
  chunk_count_ -= done;
}

}  // namespace xt
