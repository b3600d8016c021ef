// The GIF89a stream's fixed bytes and the interlace pass order, shared by the writer and the
// preview reader so that both read the format the same way.
#pragma once

#include <array>
#include <cstdint>

namespace xt::gif {

constexpr std::uint8_t kGlobalTableFlag = 0x80;
constexpr std::uint8_t kLocalTableFlag = 0x80;
constexpr std::uint8_t kInterlacedFlag = 0x40;
constexpr std::uint8_t kExtensionIntroducer = 0x21;
constexpr std::uint8_t kGraphicControlLabel = 0xF9;
constexpr std::uint8_t kTransparentColorFlag = 0x01;
constexpr std::uint8_t kImageSeparator = 0x2C;
constexpr int kMaxCodeBits = 12;

// Rows of an interlaced image: every 8th from 0, every 8th from 4, every 4th from 2, every
// 2nd from 1.
struct InterlacePass {
  int start;
  int step;
};
constexpr std::array<InterlacePass, 4> kInterlacePasses{{{0, 8}, {4, 8}, {2, 4}, {1, 2}}};

}  // namespace xt::gif
