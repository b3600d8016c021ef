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
      max_code_((1u << (min_code_size + 1)) - 1) {}

void LzwCoder::Add(const std::uint8_t* pixels, std::size_t count) {
  std::size_t i = 0;
  if (prefix_ < 0) {
    if (count == 0) return;
    prefix_ = pixels[i++] & pixel_mask_;
    Output(clear_code_);
  }
  std::uint32_t prefix = static_cast<std::uint32_t>(prefix_);
  std::uint16_t* table = table_.get();
  const std::uint32_t pixel_mask = pixel_mask_;
  std::uint32_t* pair_of_code = pair_of_code_.data();
  // The coder's state in registers for the common new string: one that neither widens the
  // codes, fills the table, is "0 0", nor meets the classic layout.
  std::uint64_t accumulator = 0;
  int accumulated_bits = 0;
  std::size_t chunk_count = 0;
  std::uint32_t next_code = 0;
  std::uint32_t plain_below = 0;
  int code_bits = 0;
  auto load = [&] {
    accumulator = accumulator_;
    accumulated_bits = accumulated_bits_;
    chunk_count = chunk_count_;
    next_code = next_code_;
    code_bits = code_bits_;
    plain_below = following_classic_ ? 0 : std::min(max_code_ + 1, std::uint32_t{kMaxCodes});
  };
  auto save = [&] {
    accumulator_ = accumulator;
    accumulated_bits_ = accumulated_bits;
    chunk_count_ = chunk_count;
    next_code_ = next_code;
  };
  load();
  const std::uint8_t* next = pixels + i;
  const std::uint8_t* const end = pixels + count;
  while (next != end) {
    // Along the longest known string.
    const std::uint32_t pixel = *next++ & pixel_mask;
    const std::uint32_t pair = Pair(prefix, pixel);
    const std::uint32_t entry = table[pair];
    if (entry != 0) [[likely]] {
      prefix = entry;
      continue;
    }
    if (next_code < plain_below && pair != 0) [[likely]] {
      accumulator |= std::uint64_t{prefix} << accumulated_bits;
      accumulated_bits += code_bits;
      StoreWord64(chunk_.data() + chunk_count, accumulator);
      chunk_count += static_cast<std::size_t>(accumulated_bits >> 3);
      accumulator >>= accumulated_bits & ~7;
      accumulated_bits &= 7;
      table[pair] = static_cast<std::uint16_t>(next_code);
      pair_of_code[next_code] = pair;
      ++next_code;
      if (chunk_count >= kChunkSize) [[unlikely]] {
        save();
        FlushChunk(false);
        load();
      }
    } else {
      save();
      Output(prefix);
      if (next_code_ < kMaxCodes) {
        AddString(pair);
      } else {
        ClearTable();
      }
      load();
    }
    prefix = pixel;
  }
  save();
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
  table_[pair] = static_cast<std::uint16_t>(next_code_);
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
  accumulator_ |= std::uint64_t{code} << accumulated_bits_;
  accumulated_bits_ += code_bits_;
  StoreWord64(chunk_.data() + chunk_count_, accumulator_);
  chunk_count_ += static_cast<std::size_t>(accumulated_bits_ >> 3);
  accumulator_ >>= accumulated_bits_ & ~7;
  accumulated_bits_ &= 7;
  if (chunk_count_ >= kChunkSize) FlushChunk(false);
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
