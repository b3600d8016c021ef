// IndexCollection: the collection file "index.mlx" that passes a scan's results to the writer.
// Layout: "MIdx", version, record count N, N fixed records of 1099 bytes, then three settings
// blocks (the header block and two more that the system keeps empty).
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "indexer/engine/article_record.h"
#include "indexer/store/file_stream.h"
#include "indexer/store/mmore_err.h"
#include "indexer/store/settings_store.h"

namespace indexer {

inline constexpr std::uint32_t kCollectionMagic = 0x4D496478;  // "MIdx"
inline constexpr std::uint32_t kCollectionVersion = 0x00010000;
inline constexpr std::int64_t kCollectionHeaderSize = 12;
inline constexpr std::int64_t kRecordSize = 1099;

// Header block ids (kept in the collection only; not preference keys).
inline constexpr SettingId kCollectionFlags = 0x01010001;
inline constexpr SettingId kCollectionHeaderSnippet = 0x01010002;
inline constexpr SettingId kCollectionFooterSnippet = 0x01010003;
inline constexpr SettingId kCollectionScanner = 0x01010005;
inline constexpr SettingId kCollectionIndexType = 0x01010006;

// CollectionIndexType values.
inline constexpr std::uint32_t kIssueIndex = 1;
inline constexpr std::uint32_t kCategoryIndex = 2;

class IndexCollection {
 public:
  explicit IndexCollection(std::string path);

  // Opens with a C mode ("w+b" for a new scan, "r+b" to write an index) and reads the header;
  // an empty file is an empty collection. A collection that fails to open is left closed.
  MMoreErr open(const char* mode);
  MMoreErr setHeader(std::uint32_t indexType, bool flag0, bool flag1);
  // kNotFound when a header key is missing.
  MMoreErr getHeader(std::uint32_t& indexType, bool& flag0, bool& flag1) const;
  SettingsStore& headerBlock() { return blocks_[0]; }
  const SettingsStore& headerBlock() const { return blocks_[0]; }
  // n = 0: the record's own number, else N + 1. Sets record.number.
  MMoreErr appendRecord(ArticleRecord& record, std::uint32_t n = 0);
  // kBadArgument for n = 0. A text longer than its slot is read cut to the slot.
  MMoreErr readRecord(ArticleRecord& record, std::uint32_t n);
  // Every record the file holds, in one pass from the first: the same records as readRecord()
  // for 1 to count(), much faster for a large collection.
  MMoreErr readRecords(std::vector<ArticleRecord>& records);
  // Writes the header and the three blocks, then closes the stream.
  MMoreErr close();

  std::uint32_t count() const { return count_; }
  const std::string& path() const { return stream_.path(); }
  bool isOpen() const { return stream_.IsOpen(); }

 private:
  MMoreErr ReadHeader();

  static constexpr std::int64_t kUnknownPosition = -1;

  FileStream stream_;
  std::uint32_t count_ = 0;
  // Where the stream stands right after the last appended record; kUnknownPosition once
  // anything else has moved it.
  std::int64_t nextAppend_ = kUnknownPosition;
  std::array<SettingsStore, 3> blocks_;
};

}  // namespace indexer
