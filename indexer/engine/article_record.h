// ArticleRecord: one indexed page of the archive, as the scanner builds it and the collection file
// keeps it in a fixed-size record.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace indexer {

inline constexpr std::size_t kShortFieldLimit = 20;  // year, issue, category
inline constexpr std::size_t kLongFieldLimit = 256;  // paths and descriptions

struct ArticleRecord {
  ArticleRecord() = default;
  // Cuts each text to its limit; never rejects. inUse becomes true, number 0.
  ArticleRecord(std::string_view year, std::string_view issue, std::string_view category,
                std::string_view path, std::string_view relativePath, std::string_view description,
                std::string_view subdescription);

  bool inUse = false;
  std::string year;
  std::string issue;
  std::string category;
  std::string path;          // full file path as the folder walk built it
  std::string relativePath;  // relative to the scanned folder, joined with "/"
  std::string description;
  std::string subdescription;
  std::uint32_t number = 0;  // 1-based position in the collection; 0 while not stored

  bool operator==(const ArticleRecord& other) const = default;
};

}  // namespace indexer
