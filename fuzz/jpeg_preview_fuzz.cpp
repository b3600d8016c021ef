// Any bytes given to the JPEG preview give false or a 24-bit bitmap of the decoded size; library
// errors come back through the recovery point without leaks.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>

#include "hostapi/host_tables.h"
#include "xt/picture/jpeg_preview.h"

namespace {

int32_t Silent(const char*, int32_t) {
  return 0;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  xt::Host().windows.message_box = Silent;  // the error box would flood the log
  xt::PackedBitmap bitmap;
  if (xt::DecodeJpegPreviewData(std::span(data, size), bitmap)) {
    const auto view = xt::ViewBitmap(bitmap);
    if (!view || view->bit_count != 24) std::abort();
  } else if (!bitmap.empty()) {
    std::abort();
  }
  return 0;
}
