// LzwCoder: the variable-width LZW coding of GIF image data, 12-bit codes at most. When the
// table is full a clear code is sent and it starts over. The codes are packed least
// significant bit first into data sub-blocks of 255 bytes (the last one shorter), appended to
// the caller's stream. The block terminator is the caller's.
//
// The codes are those of the classic coder with a 5003-slot hash table (primary hash
// (pixel << 4) XOR prefix, secondary probe stepping back by 5003 - slot), byte for byte.
// What makes it faster than that coder:
// - "prefix + pixel" is found with one read and no probing: a table with a 16-bit entry for
//   every pair, a row for each pixel indexed by the prefix. Strings made close together have
//   close codes and are followed by the same few pixels, so the reads stay in a few cache
//   lines of a few rows. 32-bit entries, pixels interleaved in the rows, hashed or folded
//   tables all measured slower.
// - An entry holds the string's code, and an empty one holds its row's pixel: the read gives
//   the next prefix whether the string goes on or ends. The step has no branch on where a
//   string ends, which the processor cannot foresee; the code sent, the new entry and the
//   next code number are written or advanced by arithmetic. Each step waits only for its one
//   read, whose result is the next read's index as it stands.
// - Most steps are plain: the code width stays, the table does not fill and "0 0" is neither
//   made nor met. Batches of them run in a loop with no other test; the codes a batch sends
//   are its new strings' prefixes, logged by code and packed afterwards, four to a 64-bit
//   word. A batch stops short of a width change and of a pixel 0 after a pixel 0 where that
//   matters; the steps there are tested one by one and the rare ones leave the loop.
// - A clear code empties only the entries of the strings made since the last one, from the
//   same log. The table is filled once, when the coder is made: 8 KB for each pixel value,
//   about 2 MB at 8 bits, which takes well under a millisecond.
// - A few steps ahead, a plain step fetches the entry of the two pixels there: where a string
//   ends just before them, that entry is the next read, and its cache miss is taken early.
// What bounds it: each read waits for the one before. The reads that still miss the
// first-level cache are mostly of strings longer than one pixel, which cannot be foreseen.
// The classic probe stops at a slot holding key 0 (the string "0 0") as if it were empty,
// and a new string stored there makes the coder forget "0 0". That happens only when "0 0"
// did not get slot 0 itself; from such a point until the next clear code the classic table's
// layout is followed alongside, so that the same strings are forgotten. A batch meets no "0 0"
// then, so its strings can be placed there after it has run.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <vector>

#include "xt/picture/gif_stream.h"

namespace xt {

class LzwCoder {
 public:
  static constexpr int kMaxCodeBits = gif::kMaxCodeBits;
  static constexpr int kMaxCodes = 1 << kMaxCodeBits;  // 4096
  static constexpr int kSubBlockSize = 255;

  // `min_code_size` 2 to 8. Pixels should be below 1 << min_code_size; the bits above are
  // dropped, so that no value reaches outside the table.
  LzwCoder(int min_code_size, std::vector<std::uint8_t>& stream);
  LzwCoder(const LzwCoder&) = delete;
  LzwCoder& operator=(const LzwCoder&) = delete;

  void Add(const std::uint8_t* pixels, std::size_t count);
  // Writes the last code, the end-of-information code and the open sub-blocks.
  void Finish();

 private:
  static constexpr std::size_t kChunkSize = 16 * kSubBlockSize;
  static constexpr std::size_t kBatchSize = 512;  // pixels between packings of the codes
  // Fewer codes than this before the width changes, and the steps are tested one by one.
  static constexpr std::size_t kLeastRoom = 32;
  static constexpr std::ptrdiff_t kLookAhead = 8;  // steps between a prefetch and its read
  static constexpr std::uint32_t kCodeMask = kMaxCodes - 1;
  // A row is a cache line longer than its 4096 entries: rows 8 KB apart would all start in
  // the same few cache sets, and the entries of single-pixel prefixes, read most, evict each
  // other.
  static constexpr std::size_t kRowStride = kMaxCodes + 32;

  // The entry of "prefix + pixel", which is also the classic coder's key; "0 0" is 0.
  static std::uint32_t Pair(std::uint32_t prefix, std::uint32_t pixel) {
    return (pixel << kMaxCodeBits) | prefix;
  }
  std::uint32_t PairOf(std::uint32_t code) const {
    return Pair(prefix_of_code_[code], pixel_of_code_[code]);
  }
  std::uint16_t& Entry(std::uint32_t pair) const {
    return rows_[pair >> kMaxCodeBits][pair & kCodeMask];
  }
  bool Holds(std::uint32_t pair) const { return Entry(pair) != pair >> kMaxCodeBits; }

  template <bool kTested>
  bool Steps(const std::uint8_t*& next, const std::uint8_t* stop, std::uint32_t& prefix,
             std::uint32_t plain_below);
  std::size_t StepsBeforeZeroPair(const std::uint8_t* pixels, std::size_t count,
                                  std::uint32_t prefix) const;
  void Output(std::uint32_t code);
  void PutBits(std::uint32_t code);
  void PutCodes(const std::uint16_t* codes, std::size_t count);
  void ClearTable();
  void AddString(std::uint32_t pair);
  void FollowClassicTable();
  void PlaceInClassicTable(std::uint32_t pair);
  void FlushChunk(bool all);

  struct FreeTable {
    void operator()(std::uint16_t* table) const { std::free(table); }
  };

  std::vector<std::uint8_t>& stream_;
  const std::uint32_t pixel_mask_;
  // The code of each string "prefix + pixel", the pixel itself if there is none; a row of
  // kRowStride entries for each pixel.
  std::unique_ptr<std::uint16_t[], FreeTable> table_;
  // The table's row of each pixel, kept so that a step's read is one load from the row with
  // the prefix as index; computing the row in the loop let the compiler add the prefix
  // before the shift was done, a longer chain.
  std::array<std::uint16_t*, 256> rows_{};
  // The prefix and pixel of each string code made since the last clear code: the codes to
  // send, and the entries to empty. One more, written by a step that makes no code.
  std::array<std::uint16_t, kMaxCodes + 1> prefix_of_code_{};
  std::array<std::uint8_t, kMaxCodes + 1> pixel_of_code_{};
  // The classic coder's keys, -1 empty; kept while it matters.
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
