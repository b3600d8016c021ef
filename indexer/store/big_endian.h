// Big-endian byte order of the indexer's binary formats: the same conversion both ways.
#pragma once

#include <bit>
#include <cstdint>

namespace indexer {

// A value in big-endian order from machine order, or back (std::byteswap arrives with C++23).
inline std::uint16_t BigEndian(std::uint16_t value) {
  return std::endian::native == std::endian::big ? value : __builtin_bswap16(value);
}
inline std::uint32_t BigEndian(std::uint32_t value) {
  return std::endian::native == std::endian::big ? value : __builtin_bswap32(value);
}

}  // namespace indexer
