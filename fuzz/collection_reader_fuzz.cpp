// Feeds arbitrary bytes to the collection reader: the header, the blocks and every record are
// read without a crash, an over-read or a huge allocation, and no text exceeds its slot.

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "fuzz/fuzz_input_file.h"
#include "indexer/engine/index_collection.h"

namespace {

// Enough records to reach every byte of an input of the fuzzer's usual sizes.
constexpr std::uint32_t kMaxRecordsRead = 64;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const std::string path = fuzz::InputPath("collection_reader_fuzz");
  fuzz::WriteInput(path, data, size);
  indexer::IndexCollection collection(path);
  // Read-only: the reader must never change the file it reads.
  if (collection.open("rb") != indexer::kNoErr) return 0;
  std::uint32_t type = 0;
  bool flag0 = false;
  bool flag1 = false;
  collection.getHeader(type, flag0, flag1);
  std::string scanner;
  collection.headerBlock().GetString(indexer::kCollectionScanner, scanner);
  const std::uint32_t last = std::min(collection.count(), kMaxRecordsRead);
  for (std::uint32_t n = 1; n <= last; ++n) {
    indexer::ArticleRecord record;
    if (collection.readRecord(record, n) != indexer::kNoErr) continue;
    if (record.year.size() > indexer::kShortFieldLimit ||
        record.path.size() > indexer::kLongFieldLimit || record.number != n)
      std::abort();
  }
  return 0;
}
