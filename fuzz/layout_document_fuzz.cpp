// Feeds arbitrary bytes to the layout document reader. Whatever it accepts must also survive
// being written and read again unchanged.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "layouthost/document/layout_document_json.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  const layout::LoadResult result = layout::ParseDocument(input);
  if (!result.document) {
    if (result.error.empty()) std::abort();
    return 0;
  }
  const layout::LoadResult again =
      layout::ParseDocument(layout::SerializeDocument(*result.document));
  if (!again.document || !(*again.document == *result.document)) std::abort();
  return 0;
}
