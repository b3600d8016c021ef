// CategoryTable: the known categories, keyed by the category's short name (at most 8 characters,
// compared byte by byte), each valued by its display name, a carriage return and the HTML heading
// that an index writes above the category's articles. Stored in the file "mCgy".
#pragma once

#include <cstddef>
#include <cstdint>
#include <map>
#include <string>
#include <string_view>

#include "indexer/store/file_stream.h"
#include "indexer/store/mmore_err.h"

namespace indexer {

inline constexpr std::uint32_t kCategoryMagic = 0x6D436779;  // "mCgy"
inline constexpr std::uint32_t kCategoryVersion = 0x00010000;
inline constexpr std::size_t kCategoryKeyLength = 8;
inline constexpr char kCategorySeparator = '\r';  // between display name and heading

// A category name cut to its first kCategoryKeyLength characters.
std::string CategoryKeyFor(std::string_view name);

class CategoryTable {
 public:
  explicit CategoryTable(bool fold_keys = false) : fold_keys_(fold_keys) {}

  // Replaces an existing entry of the key. kBadArgument for an empty key, or a key or value too
  // long for the file (kMaxStreamString bytes).
  MMoreErr Add(std::string_view key, std::string_view value);
  MMoreErr Remove(std::string_view key);
  // kNotFound and "" when absent; kBadArgument for an empty key.
  MMoreErr Find(std::string_view key, std::string& value) const;
  // The n-th entry in key order; kNotFound past the end. `key` may be null.
  MMoreErr At(std::size_t n, std::string& value, std::string* key = nullptr) const;
  void Clear() { entries_.clear(); }

  // The whole file: magic, version, count, then key and value strings in key order. Read empties
  // the table first; a later pair with a key already present is dropped.
  MMoreErr Read(FileStream& stream);
  MMoreErr Write(FileStream& stream) const;

  std::size_t size() const { return entries_.size(); }
  const std::map<std::string, std::string>& entries() const { return entries_; }
  bool operator==(const CategoryTable& other) const = default;

 private:
  std::string KeyOf(std::string_view key) const;

  bool fold_keys_;
  std::map<std::string, std::string> entries_;
};

}  // namespace indexer
