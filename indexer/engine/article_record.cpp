#include "indexer/engine/article_record.h"

#include <algorithm>

namespace indexer {
namespace {

std::string Cut(std::string_view text, std::size_t limit) {
  return std::string(text.substr(0, std::min(text.size(), limit)));
}

}  // namespace

ArticleRecord::ArticleRecord(std::string_view year, std::string_view issue,
                             std::string_view category, std::string_view path,
                             std::string_view relativePath, std::string_view description,
                             std::string_view subdescription)
    : inUse(true),
      year(Cut(year, kShortFieldLimit)),
      issue(Cut(issue, kShortFieldLimit)),
      category(Cut(category, kShortFieldLimit)),
      path(Cut(path, kLongFieldLimit)),
      relativePath(Cut(relativePath, kLongFieldLimit)),
      description(Cut(description, kLongFieldLimit)),
      subdescription(Cut(subdescription, kLongFieldLimit)) {}

}  // namespace indexer
