// Feeds arbitrary bytes to the link finder of the link check: no crash, no over-read, and every
// link found is a piece of the page.

#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "indexer/engine/link_check.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view page(reinterpret_cast<const char*>(data), size);
  for (const std::string& link : indexer::PageLinks(page)) {
    if (page.find(link) == std::string_view::npos) std::abort();
  }
  return 0;
}
