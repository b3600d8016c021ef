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

std::uint16_t* ZeroedTable(std::size_t entries) {
  auto* table = static_cast<std::uint16_t*>(std::calloc(entries, sizeof(std::uint16_t)));
  if (table == nullptr) throw std::bad_alloc();
  return table;
}

}  // namespace

LzwCoder::LzwCoder(int min_code_size, std::vector<std::uint8_t>& stream)
    : stream_(stream),
      pixel_mask_((1u << min_code_size) - 1),
      table_(ZeroedTable(std::size_t{kMaxCodes} << min_code_size)),
      initial_bits_(min_code_size + 1),
      clear_code_(1u << min_code_size),
      end_code_(clear_code_ + 1),
      next_code_(clear_code_ + 2),
      code_bits_(min_code_size + 1),
      max_code_((1u << (min_code_size + 1)) - 1) {
  for (std::uint32_t pixel = 0; pixel <= pixel_mask_; ++pixel)
    rows_[pixel] = table_.get() + (std::size_t{pixel} << kMaxCodeBits);
}

void LzwCoder::Add(const std::uint8_t* pixels, std::size_t count) {
  std::size_t i = 0;
  if (prefix_ < 0) {
    if (count == 0) return;
    prefix_ = pixels[i++] & pixel_mask_;
    Output(clear_code_);
  }
  std::uint32_t prefix = static_cast<std::uint32_t>(prefix_);
  const std::uint32_t pixel_mask = pixel_mask_;
  const std::uint32_t first_string_code = clear_code_ + 2;
  std::uint16_t* const* const rows = rows_.data();
  std::uint32_t* const pair_of_code = pair_of_code_.data();
  std::array<std::uint16_t, kBatchSize> codes;
  const std::uint8_t* next = pixels + i;
  const std::uint8_t* const end = pixels + count;
  while (next != end) {
    // A batch of plain steps: each makes at most one code, so the batch cannot overflow the
    // code buffer, and it stops before a step that widens the codes, fills the table, makes
    // "0 0" or meets the classic layout.
    const std::uint32_t plain_below =
        following_classic_ ? 0 : std::min(max_code_ + 1, std::uint32_t{kMaxCodes});
    std::uint32_t next_code = next_code_;
    std::size_t made = 0;
    bool rare_step = false;
    std::uint32_t pixel = 0;
    const std::uint8_t* const stop = next + std::min<std::size_t>(end - next, kBatchSize);
    while (next != stop) {
      pixel = *next++ & pixel_mask;
      std::uint16_t* const row = rows[pixel];
      // The code of "prefix + pixel", or the pixel itself where the string is new: either
      // way the prefix of the next step.
      const std::uint32_t entry = row[prefix] ^ pixel;
      const std::uint32_t ends = entry < first_string_code;
      const std::uint32_t rare = (next_code >= plain_below) | ((prefix | pixel) == 0);
      if ((ends & rare) != 0) [[unlikely]] {
        rare_step = true;
        break;
      }
      // Written whether or not the string ends, so that no branch depends on it.
      codes[made] = static_cast<std::uint16_t>(prefix);
      made += ends;
      const std::uint32_t code = entry ^ ((entry ^ next_code) & (0u - ends));
      row[prefix] = static_cast<std::uint16_t>(code ^ pixel);
      pair_of_code[next_code] = Pair(prefix, pixel);
      next_code += ends;
      prefix = entry;
    }
    next_code_ = next_code;
    PutCodes(codes.data(), made);
    if (rare_step) {
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
  table_[pair] = static_cast<std::uint16_t>(next_code_ ^ (pair >> kMaxCodeBits));
  pair_of_code_[next_code_] = pair;
  ++next_code_;
}

// Builds the classic table as it stands: its strings went in in the order of their codes.
void LzwCoder::FollowClassicTable() {
  following_classic_ = true;
  classic_keys_.assign(kClassicHashSize, -1);
  for (std::uint32_t code = clear_code_ + 2; code < next_code_; ++code)
    PlaceInClassicTable(pair_of_code_[code]);
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
    if (classic_keys_[slot] == 0) table_[Pair(0, 0)] = 0;  // "0 0" is forgotten
  }
  classic_keys_[slot] = static_cast<std::int32_t>(pair);
}

void LzwCoder::ClearTable() {
  for (std::uint32_t code = clear_code_ + 2; code < next_code_; ++code)
    table_[pair_of_code_[code]] = 0;
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
  for (std::size_t k = 0; k < count; ++k) {
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
