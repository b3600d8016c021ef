// The LZW coder as it was before the direct-lookup table: a 5003-slot hash of 32-bit keys
// with the secondary probe stepping back by 5003 - slot. Kept as the reference the new coder
// must match byte for byte (tests and picture_bench), including the probe that stops on a
// slot holding key 0 and so can forget the string "0 0".
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace picture_test {

class ReferenceLzwCoder {
 public:
  static constexpr int kMaxCodeBits = 12;
  static constexpr int kMaxCodes = 1 << kMaxCodeBits;
  static constexpr int kHashSize = 5003;
  static constexpr int kHashShift = 4;
  static constexpr int kSubBlockSize = 255;

  ReferenceLzwCoder(int min_code_size, std::vector<std::uint8_t>& stream)
      : stream_(stream),
        keys_(kHashSize, -1),
        codes_(kHashSize, 0),
        initial_bits_(min_code_size + 1),
        clear_code_(1 << min_code_size),
        end_code_((1 << min_code_size) + 1),
        next_code_((1 << min_code_size) + 2),
        code_bits_(min_code_size + 1),
        max_code_((1 << (min_code_size + 1)) - 1) {}

  void Add(const std::uint8_t* pixels, std::size_t count) {
    std::size_t i = 0;
    if (prefix_ < 0) {
      if (count == 0) return;
      prefix_ = pixels[i++];
      Output(clear_code_);
    }
    int prefix = prefix_;
    for (; i < count; ++i) {
      const int pixel = pixels[i];
      const std::int32_t key = (pixel << kMaxCodeBits) + prefix;
      int slot = (pixel << kHashShift) ^ prefix;
      if (keys_[slot] == key) {
        prefix = codes_[slot];
        continue;
      }
      if (keys_[slot] >= 0) {
        const int step = slot == 0 ? 1 : kHashSize - slot;
        bool found = false;
        do {
          slot -= step;
          if (slot < 0) slot += kHashSize;
          if (keys_[slot] == key) {
            found = true;
            break;
          }
        } while (keys_[slot] > 0);
        if (found) {
          prefix = codes_[slot];
          continue;
        }
      }
      Output(prefix);
      prefix = pixel;
      if (next_code_ < kMaxCodes) {
        if (keys_[slot] == 0) ++zero_zero_forgotten_;
        codes_[slot] = static_cast<std::uint16_t>(next_code_++);
        keys_[slot] = key;
      } else {
        std::fill(keys_.begin(), keys_.end(), -1);
        next_code_ = clear_code_ + 2;
        clear_flag_ = true;
        Output(clear_code_);
      }
    }
    prefix_ = prefix;
  }

  // How often a new string has taken the slot of "0 0", so that tests can tell they reach it.
  int zero_zero_forgotten() const { return zero_zero_forgotten_; }

  void Finish() {
    if (prefix_ >= 0) Output(prefix_);
    Output(end_code_);
    while (accumulated_bits_ > 0) {
      EmitByte(static_cast<std::uint8_t>(accumulator_));
      accumulator_ >>= 8;
      accumulated_bits_ -= 8;
    }
    FlushBlock();
  }

 private:
  void Output(int code) {
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

  void EmitByte(std::uint8_t byte) {
    block_.push_back(byte);
    if (block_.size() == kSubBlockSize) FlushBlock();
  }

  void FlushBlock() {
    if (block_.empty()) return;
    stream_.push_back(static_cast<std::uint8_t>(block_.size()));
    stream_.insert(stream_.end(), block_.begin(), block_.end());
    block_.clear();
  }

  std::vector<std::uint8_t>& stream_;
  std::vector<std::int32_t> keys_;
  std::vector<std::uint16_t> codes_;
  const int initial_bits_;
  const int clear_code_;
  const int end_code_;
  int next_code_;
  int code_bits_;
  int max_code_;
  bool clear_flag_ = false;
  std::uint32_t accumulator_ = 0;
  int accumulated_bits_ = 0;
  int prefix_ = -1;
  int zero_zero_forgotten_ = 0;
  std::vector<std::uint8_t> block_;
};

}  // namespace picture_test
