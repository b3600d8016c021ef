// LzwCoder: the variable-width LZW coding of GIF image data, 12-bit codes at most, with a
// 5003-slot open-addressing hash table (primary hash (pixel << 4) XOR prefix, secondary probe
// stepping back by 5003 - slot). When the table is full a clear code is sent and it starts
// over. The codes are packed least significant bit first into data sub-blocks of 255 bytes
// (the last one shorter), appended to the caller's stream. The block terminator is the
// caller's.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "xt/picture/gif_stream.h"

namespace xt {

class LzwCoder {
 public:
  static constexpr int kMaxCodeBits = gif::kMaxCodeBits;
  static constexpr int kMaxCodes = 1 << kMaxCodeBits;  // 4096
  static constexpr int kHashSize = 5003;               // a prime about 20% above kMaxCodes
  static constexpr int kSubBlockSize = 255;

  // `min_code_size` 2 to 8; every pixel fed must be below 1 << min_code_size.
  LzwCoder(int min_code_size, std::vector<std::uint8_t>& stream);
  LzwCoder(const LzwCoder&) = delete;
  LzwCoder& operator=(const LzwCoder&) = delete;

  void Add(const std::uint8_t* pixels, std::size_t count);
  // Writes the last code, the end-of-information code and the open sub-block.
  void Finish();

 private:
  void ClearTable();
  void Output(int code);
  void EmitByte(std::uint8_t byte) {
    block_[block_count_++] = byte;
    if (block_count_ == kSubBlockSize) FlushBlock();
  }
  void FlushBlock();

  std::vector<std::uint8_t>& stream_;
  std::vector<std::int32_t> keys_;  // (pixel << 12) + prefix; -1: empty slot
  std::vector<std::uint16_t> codes_;
  const int initial_bits_;
  const int clear_code_;
  const int end_code_;
  int next_code_;
  int code_bits_;
  int max_code_;  // the largest code the current width holds
  bool clear_flag_ = false;
  std::uint32_t accumulator_ = 0;
  int accumulated_bits_ = 0;
  int prefix_ = -1;  // -1 before the first pixel
  std::uint8_t block_[kSubBlockSize];
  int block_count_ = 0;
};

}  // namespace xt
