// Chaining of arbitrary page text: the first line is taken as the previous page's URL, the rest
// as the page. For a page and URL free of marker words, chaining must fill in every
// placeholder, and chaining the result again (with the same or other links) must give what
// chaining the original page with those links gives.
#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "indexer/engine/document_chaining.h"

namespace {

constexpr std::array<std::string_view, 7> kMarkerWords = {
    "MXPREV", "MXNEXT", "MXINDEX", "MXEND", "$PREVURL:", "$NEXTURL:", "$INDEXURL:"};

bool HasMarkerWord(std::string_view text) {
  for (std::string_view word : kMarkerWords) {
    if (text.find(word) != std::string_view::npos) return true;
  }
  return false;
}

void Check(bool condition) {
  if (!condition) __builtin_trap();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  const std::size_t line = input.find('\n');
  const std::string_view url = line == std::string_view::npos ? "" : input.substr(0, line);
  const std::string_view page = line == std::string_view::npos ? input : input.substr(line + 1);

  const indexer::ChainLinks first{std::string(url), "n/n.htm", "../index.htm"};
  const indexer::ChainLinks second{"", std::string(url), "index.html"};
  const std::string once = indexer::ChainText(page, first);
  if (HasMarkerWord(page) || HasMarkerWord(url)) return 0;

  Check(once.find("$PREVURL:") == std::string::npos);
  Check(once.find("$NEXTURL:") == std::string::npos);
  Check(once.find("$INDEXURL:") == std::string::npos);
  Check(indexer::ChainText(once, first) == once);
  Check(indexer::ChainText(once, second) == indexer::ChainText(page, second));
  return 0;
}
