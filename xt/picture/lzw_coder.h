// LzwCoder: the variable-width LZW coding of GIF image data, 12-bit codes at most. When the
// table is full a clear code is sent and it starts over. The codes are packed least
// significant bit first into data sub-blocks of 255 bytes (the last one shorter), appended to
// the caller's stream. The block terminator is the caller's.
//
// The codes are those of the classic coder with a 5003-slot hash table (primary hash
// (pixel << 4) XOR prefix, secondary probe stepping back by 5003 - slot), byte for byte.
// What makes it faster than that coder:
// - "prefix + pixel" is found with one read almost always: a 16K-slot table of 32-bit words,
//   each a string's key above its code, probed linearly at under a quarter load. The slot is
//   a shift of the prefix XOR a hash of the pixel, which does not wait for the lookup before.
// - The common step (a string found, or a new one that changes neither the code width nor
//   the table's state) keeps the coder's state in registers. Codes collect in a 64-bit
//   accumulator stored a whole word at a time, and the bytes are cut into sub-blocks in bulk.
// What bounds it: each lookup waits for the one before, and where a string ends is a branch
// the processor cannot foresee.
// The classic probe stops at a slot holding key 0 (the string "0 0") as if it were empty,
// and a new string stored there makes the coder forget "0 0". That happens only when "0 0"
// did not get slot 0 itself; from such a point until the next clear code the classic table's
// layout is followed alongside, so that the same strings are forgotten.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "xt/picture/gif_stream.h"

namespace xt {

class LzwCoder {
 public:
  static constexpr int kMaxCodeBits = gif::kMaxCodeBits;
  static constexpr int kMaxCodes = 1 << kMaxCodeBits;  // 4096
  static constexpr int kSubBlockSize = 255;

  // `min_code_size` 2 to 8; every pixel fed must be below 1 << min_code_size.
  LzwCoder(int min_code_size, std::vector<std::uint8_t>& stream);
  LzwCoder(const LzwCoder&) = delete;
  LzwCoder& operator=(const LzwCoder&) = delete;

  void Add(const std::uint8_t* pixels, std::size_t count);
  // Writes the last code, the end-of-information code and the open sub-blocks.
  void Finish();

 private:
  static constexpr int kTableBits = 14;
  static constexpr std::uint32_t kTableMask = (1u << kTableBits) - 1;
  static constexpr std::size_t kChunkSize = 16 * kSubBlockSize;

  static std::uint32_t Key(std::uint32_t prefix, std::uint32_t pixel) {
    return (prefix << 8) | pixel;
  }
  static std::uint32_t Slot(std::uint32_t prefix, std::uint32_t pixel) {
    // The pixel's part does not wait for the previous lookup; the prefix's is one shift.
    return ((prefix << 2) ^ ((pixel * 0x9E3779B1u) >> (32 - kTableBits))) & kTableMask;
  }

  void Output(std::uint32_t code);
  void PutBits(std::uint32_t code);
  void ClearTable();
  void AddString(std::uint32_t slot, std::uint32_t key);
  // The slot holding the string's code, or the empty slot where it would go.
  std::uint32_t Find(std::uint32_t key) const;
  void FollowClassicTable();
  void PlaceInClassicTable(std::uint32_t key);
  void FlushChunk(bool all);

  std::vector<std::uint8_t>& stream_;
  // Key(prefix, pixel) << 12 | code; 0: empty slot.
  std::vector<std::uint32_t> slots_;
  std::array<std::uint32_t, kMaxCodes> key_of_code_{};  // to rebuild the classic layout
  // The classic coder's keys ((pixel << 12) + prefix, -1 empty), kept while it matters.
  std::vector<std::int32_t> classic_keys_;
  bool following_classic_ = false;
  const int initial_bits_;
  const std::uint32_t clear_code_;
  const std::uint32_t end_code_;
  std::uint32_t next_code_;
  int code_bits_;
  std::uint32_t max_code_;  // the largest code the current width holds
  std::uint64_t accumulator_ = 0;
  int accumulated_bits_ = 0;
  int prefix_ = -1;                                   // -1 before the first pixel
  std::array<std::uint8_t, kChunkSize + 8> chunk_{};  // room for one 8-byte store beyond
  std::size_t chunk_count_ = 0;
};

}  // namespace xt
