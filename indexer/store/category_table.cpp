#include "indexer/store/category_table.h"

#include <algorithm>
#include <cctype>

namespace indexer {

std::string CategoryKeyFor(std::string_view name) {
  return std::string(name.substr(0, std::min(name.size(), kCategoryKeyLength)));
}

std::string CategoryTable::KeyOf(std::string_view key) const {
  std::string folded(key);
  if (fold_keys_) {
    std::transform(folded.begin(), folded.end(), folded.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  }
  return folded;
}

MMoreErr CategoryTable::Add(std::string_view key, std::string_view value) {
  // Refused here rather than at save time, where it would leave a file that cannot be read back.
  if (key.empty() || key.size() > kMaxStreamString || value.size() > kMaxStreamString)
    return kBadArgument;
  entries_.insert_or_assign(KeyOf(key), std::string(value));
  return kNoErr;
}

MMoreErr CategoryTable::Remove(std::string_view key) {
  const auto it = entries_.find(KeyOf(key));
  if (it == entries_.end()) return kNotFound;
  entries_.erase(it);
  return kNoErr;
}

MMoreErr CategoryTable::Find(std::string_view key, std::string& value) const {
  value.clear();
  if (key.empty()) return kBadArgument;
  const auto it = entries_.find(KeyOf(key));
  if (it == entries_.end()) return kNotFound;
  value = it->second;
  return kNoErr;
}

MMoreErr CategoryTable::At(std::size_t n, std::string& value, std::string* key) const {
  if (n >= entries_.size()) return kNotFound;
  const auto it = std::next(entries_.begin(), static_cast<std::ptrdiff_t>(n));
  value = it->second;
  if (key) *key = it->first;
  return kNoErr;
}

MMoreErr CategoryTable::Read(FileStream& stream) {
  Clear();
  std::uint32_t word = 0;
  if (MMoreErr status = stream.ReadLong(word, true); status != kNoErr) return status;
  if (word != kCategoryMagic) return kBadMagicErr;
  if (MMoreErr status = stream.ReadLong(word, true); status != kNoErr) return status;
  if (word != kCategoryVersion) return kBadVersionErr;
  std::uint32_t count = 0;
  if (MMoreErr status = stream.ReadLong(count, true); status != kNoErr) return status;
  for (std::uint32_t n = 0; n < count; ++n) {
    std::string key;
    std::string value;
    if (MMoreErr status = stream.ReadString(key); status != kNoErr) return status;
    if (MMoreErr status = stream.ReadString(value); status != kNoErr) return status;
    // Keys are taken as stored, without folding; the first pair of a key wins.
    if (!key.empty()) entries_.try_emplace(std::move(key), std::move(value));
  }
  return kNoErr;
}

MMoreErr CategoryTable::Write(FileStream& stream) const {
  if (MMoreErr status = stream.WriteLong(kCategoryMagic, true); status != kNoErr) return status;
  if (MMoreErr status = stream.WriteLong(kCategoryVersion, true); status != kNoErr) return status;
  if (MMoreErr status = stream.WriteLong(static_cast<std::uint32_t>(entries_.size()), true);
      status != kNoErr)
    return status;
  for (const auto& [key, value] : entries_) {
    if (MMoreErr status = stream.WriteString(key); status != kNoErr) return status;
    if (MMoreErr status = stream.WriteString(value); status != kNoErr) return status;
  }
  return kNoErr;
}

}  // namespace indexer
