// Fuzzes the META extraction of page heads: no input may crash it, and the result must not
// depend on how the page is cut into the pieces the reader gets.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "indexer/engine/meta_extraction.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  // The first byte chooses the piece size, the rest is the page.
  const std::size_t piece = 1 + data[0] % 64;
  const std::string_view page(reinterpret_cast<const char*>(data + 1), size - 1);
  const indexer::MetaMap whole = indexer::ExtractMeta(page);
  indexer::MetaParser parser;
  for (std::size_t at = 0; at < page.size() && !parser.done(); at += piece) {
    parser.feed(page.substr(at, piece));
  }
  parser.finish();
  if (parser.result() != whole) std::abort();
  return 0;
}
