// Any bytes given to the GIF preview reader give an error code or a bitmap of the size the
// file states, and nothing is read or written outside the buffers.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>

#include "xt/picture/gif_preview.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const xt::GifPreview preview = xt::DecodeGifPreviewData(std::span(data, size));
  if (preview.error == xt::kGifPreviewOk) {
    const xt::BitmapInfoHeader header = xt::ReadInfoHeader(preview.bitmap.data());
    const std::size_t expected =
        xt::DibBitsOffset(header) +
        xt::DibRowStride(8, header.width) * static_cast<std::size_t>(header.height);
    if (preview.bitmap.size() != expected || header.width > xt::kMaxGifPreviewWidth) std::abort();
  } else if (!preview.bitmap.empty()) {
    std::abort();
  }
  return 0;
}
