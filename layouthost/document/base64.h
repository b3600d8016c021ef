// Base64 (RFC 4648, with padding) for the opaque per-box records of a layout document.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace layout {

std::string EncodeBase64(const std::vector<std::uint8_t>& bytes);
// Empty when `text` is not canonical padded base64.
std::optional<std::vector<std::uint8_t>> DecodeBase64(std::string_view text);

}  // namespace layout
