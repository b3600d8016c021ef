#include "xt/picture/lzw_coder.h"

#include <algorithm>
#include <cstring>

namespace xt {
namespace {

constexpr int kClassicHashSize = 5003;
// Takes the place of a forgotten string: no lookup matches it and probes go past it.
constexpr std::uint32_t kForgotten = 0xFFFFF000u;
constexpr std::uint32_t kCodeMask = LzwCoder::kMaxCodes - 1;

// The code in a table word whose key bits equal `key`, else 0 or a value above 4095.
std::uint32_t MatchingCode(std::uint32_t word, std::uint32_t key) {
  return word ^ key;
}
bool IsCode(std::uint32_t code) {
  return code - 1 < kCodeMask;  // 1 to 4095: an empty or forgotten word gives 0 or more
}

}  // namespace

LzwCoder::LzwCoder(int min_code_size, std::vector<std::uint8_t>& stream)
    : stream_(stream),
      table_(std::size_t{1} << kTableBits, 0),
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
    prefix_ = pixels[i++];
    Output(clear_code_);
  }
  std::uint32_t prefix = static_cast<std::uint32_t>(prefix_);
  const std::uint32_t* table = table_.data();
  for (; i < count; ++i) {
    const std::uint32_t pixel = pixels[i];
    const std::uint32_t key = Key(prefix, pixel);
    std::uint32_t slot = Slot(prefix, pixel);
    std::uint32_t word = table[slot];
    std::uint32_t code = MatchingCode(word, key);
    while (!IsCode(code) && word != 0) {
      slot = (slot + 1) & kTableMask;
      word = table[slot];
      code = MatchingCode(word, key);
    }
    if (word != 0) {
      prefix = code;
      continue;
    }
    Output(prefix);
    if (next_code_ < kMaxCodes) {
      AddString(slot, prefix, pixel);
    } else {
      ClearTable();
    }
    prefix = pixel;
  }
  prefix_ = static_cast<int>(prefix);
}

void LzwCoder::AddString(std::uint32_t slot, std::uint32_t prefix, std::uint32_t pixel) {
  if ((prefix | pixel) == 0 && !following_classic_) {
    // "0 0" goes to the classic slot 0 unless a string with that primary slot, pixel p
    // after prefix 16 p, holds it already.
    for (std::uint32_t p = 1; p < 256 && !following_classic_; ++p) {
      if (Contains(p << 4, p)) FollowClassicTable();
    }
  }
  if (following_classic_) PlaceInClassicTable(prefix, pixel);
  table_[slot] = Key(prefix, pixel) | next_code_;
  ++next_code_;
}

bool LzwCoder::Contains(std::uint32_t prefix, std::uint32_t pixel) const {
  const std::uint32_t key = Key(prefix, pixel);
  for (std::uint32_t slot = Slot(prefix, pixel); table_[slot] != 0;
       slot = (slot + 1) & kTableMask) {
    if (IsCode(MatchingCode(table_[slot], key))) return true;
  }
  return false;
}

void LzwCoder::Forget(std::uint32_t prefix, std::uint32_t pixel) {
  const std::uint32_t key = Key(prefix, pixel);
  for (std::uint32_t slot = Slot(prefix, pixel); table_[slot] != 0;
       slot = (slot + 1) & kTableMask) {
    if (IsCode(MatchingCode(table_[slot], key))) {
      table_[slot] = kForgotten;
      return;
    }
  }
}

// Builds the classic table as it stands: its strings went in in the order of their codes.
void LzwCoder::FollowClassicTable() {
  following_classic_ = true;
  classic_keys_.assign(kClassicHashSize, -1);
  std::array<std::uint32_t, kMaxCodes> by_code{};
  for (std::uint32_t word : table_) {
    if (word != 0 && word != kForgotten) by_code[word & kCodeMask] = word;
  }
  for (std::uint32_t code = clear_code_ + 2; code < next_code_; ++code)
    PlaceInClassicTable(by_code[code] >> 20, (by_code[code] >> 12) & 0xFF);
}

// Where the classic coder stores a new string: its probe steps back by 5003 - slot from the
// primary slot and stops at the first slot whose key is not positive, key 0 included.
void LzwCoder::PlaceInClassicTable(std::uint32_t prefix, std::uint32_t pixel) {
  int slot = static_cast<int>((pixel << 4) ^ prefix);
  if (classic_keys_[slot] >= 0) {
    const int step = slot == 0 ? 1 : kClassicHashSize - slot;
    do {
      slot -= step;
      if (slot < 0) slot += kClassicHashSize;
    } while (classic_keys_[slot] > 0);
    if (classic_keys_[slot] == 0) Forget(0, 0);
  }
  classic_keys_[slot] = static_cast<std::int32_t>((pixel << kMaxCodeBits) + prefix);
}

void LzwCoder::ClearTable() {
  std::fill(table_.begin(), table_.end(), 0);
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
  if (accumulated_bits_ < 32) return;
  const auto low = static_cast<std::uint32_t>(accumulator_);
  std::uint8_t* out = chunk_.data() + chunk_count_;
  out[0] = static_cast<std::uint8_t>(low);
  out[1] = static_cast<std::uint8_t>(low >> 8);
  out[2] = static_cast<std::uint8_t>(low >> 16);
  out[3] = static_cast<std::uint8_t>(low >> 24);
  chunk_count_ += 4;
  accumulator_ >>= 32;
  accumulated_bits_ -= 32;
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
