#include "xt/picture/lzw_coder.h"

#include <algorithm>

namespace xt {
namespace {

// The primary hash puts the pixel above the prefix bits: 8 minus the doublings that take the
// table size to 65536 or more.
constexpr int HashShift() {
  int shift = 0;
  for (long size = LzwCoder::kHashSize; size < 65536L; size *= 2)
    ++shift;
  return 8 - shift;
}
constexpr int kHashShift = HashShift();
static_assert(kHashShift == 4);

}  // namespace

LzwCoder::LzwCoder(int min_code_size, std::vector<std::uint8_t>& stream)
    : stream_(stream),
      keys_(kHashSize, -1),
      codes_(kHashSize, 0),
      initial_bits_(min_code_size + 1),
      clear_code_(1 << min_code_size),
      end_code_((1 << min_code_size) + 1),
      next_code_((1 << min_code_size) + 2),
      code_bits_(min_code_size + 1),
      max_code_((1 << (min_code_size + 1)) - 1) {}

void LzwCoder::ClearTable() {
  std::fill(keys_.begin(), keys_.end(), -1);
  next_code_ = clear_code_ + 2;
  clear_flag_ = true;
  Output(clear_code_);
}

void LzwCoder::Add(const std::uint8_t* pixels, std::size_t count) {
  std::size_t i = 0;
  if (prefix_ < 0) {
    if (count == 0) return;
    prefix_ = pixels[i++];
    Output(clear_code_);
  }
  int prefix = prefix_;
  std::int32_t* keys = keys_.data();
  std::uint16_t* codes = codes_.data();
  for (; i < count; ++i) {
    const int pixel = pixels[i];
    const std::int32_t key = (pixel << kMaxCodeBits) + prefix;
    int slot = (pixel << kHashShift) ^ prefix;
    if (keys[slot] == key) {
      prefix = codes[slot];
      continue;
    }
    if (keys[slot] >= 0) {
      const int step = slot == 0 ? 1 : kHashSize - slot;
      bool found = false;
      do {
        slot -= step;
        if (slot < 0) slot += kHashSize;
        if (keys[slot] == key) {
          found = true;
          break;
        }
      } while (keys[slot] > 0);
      if (found) {
        prefix = codes[slot];
        continue;
      }
    }
    Output(prefix);
    prefix = pixel;
    if (next_code_ < kMaxCodes) {
      codes[slot] = static_cast<std::uint16_t>(next_code_++);
      keys[slot] = key;
    } else {
      ClearTable();
    }
  }
  prefix_ = prefix;
}

void LzwCoder::Output(int code) {
  accumulator_ &= (1u << accumulated_bits_) - 1;
  accumulator_ |= static_cast<std::uint32_t>(code) << accumulated_bits_;
  accumulated_bits_ += code_bits_;
  while (accumulated_bits_ >= 8) {
    EmitByte(static_cast<std::uint8_t>(accumulator_));
    accumulator_ >>= 8;
    accumulated_bits_ -= 8;
  }
  if (clear_flag_) {
    code_bits_ = initial_bits_;
    max_code_ = (1 << code_bits_) - 1;
    clear_flag_ = false;
  } else if (next_code_ > max_code_) {
    ++code_bits_;
    max_code_ = code_bits_ == kMaxCodeBits ? kMaxCodes : (1 << code_bits_) - 1;
  }
}

void LzwCoder::Finish() {
  if (prefix_ >= 0) Output(prefix_);
  Output(end_code_);
  while (accumulated_bits_ > 0) {
    EmitByte(static_cast<std::uint8_t>(accumulator_));
    accumulator_ >>= 8;
    accumulated_bits_ -= 8;
  }
  accumulated_bits_ = 0;
  FlushBlock();
}

void LzwCoder::FlushBlock() {
  if (block_count_ == 0) return;
  stream_.push_back(static_cast<std::uint8_t>(block_count_));
  stream_.insert(stream_.end(), block_, block_ + block_count_);
  block_count_ = 0;
}

}  // namespace xt
