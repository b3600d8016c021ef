#include "indexer/engine/index_collection.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "scratch_folder.h"

namespace indexer {
namespace {

using testing::ReadFile;
using testing::ScratchFolder;
using testing::WriteFile;

std::string Be32(std::uint32_t value) {
  return {static_cast<char>(value >> 24), static_cast<char>(value >> 16),
          static_cast<char>(value >> 8), static_cast<char>(value)};
}

const std::string kEmptyBlock = Be32(0x00010000) + Be32(0);

ArticleRecord SampleRecord(const std::string& category = "News") {
  return ArticleRecord("1998", "01", category, "/archive/1998/01/News/a.htm", "News/a.htm",
                       "Headline", "Sub");
}

TEST(ArticleRecordTest, BuildingCutsEachTextToItsLimit) {
  const ArticleRecord record(std::string(25, 'y'), "i", "c", std::string(300, 'p'), "r", "d", "");
  EXPECT_TRUE(record.inUse);
  EXPECT_EQ(record.number, 0u);
  EXPECT_EQ(record.year, std::string(20, 'y'));
  EXPECT_EQ(record.path, std::string(256, 'p'));
  EXPECT_EQ(record.subdescription, "");
}

TEST(IndexCollectionTest, EmptyCollectionIsHeaderAndThreeBlocks) {
  ScratchFolder folder;
  IndexCollection collection(folder.File("index.mlx"));
  ASSERT_EQ(collection.open("w+b"), kNoErr);
  EXPECT_EQ(collection.count(), 0u);
  ASSERT_EQ(collection.close(), kNoErr);
  EXPECT_EQ(ReadFile(folder.File("index.mlx")),
            "MIdx" + Be32(0x00010000) + Be32(0) + kEmptyBlock + kEmptyBlock + kEmptyBlock);
}

TEST(IndexCollectionTest, FirstRecordExtendsTheFileTo1111BytesThenBlocksFollow) {
  ScratchFolder folder;
  IndexCollection collection(folder.File("index.mlx"));
  ASSERT_EQ(collection.open("w+b"), kNoErr);
  ArticleRecord record = SampleRecord();
  ASSERT_EQ(collection.appendRecord(record), kNoErr);
  EXPECT_EQ(record.number, 1u);
  EXPECT_EQ(collection.count(), 1u);
  EXPECT_EQ(FileStream(folder.File("index.mlx")).Length(), 1111);
  ASSERT_EQ(collection.setHeader(kIssueIndex, true, true), kNoErr);
  ASSERT_EQ(collection.headerBlock().SetString(kCollectionScanner, "Marlix XT Archive"), kNoErr);
  ASSERT_EQ(collection.close(), kNoErr);

  const std::string bytes = ReadFile(folder.File("index.mlx"));
  ASSERT_GE(bytes.size(), 1111u);
  EXPECT_EQ(bytes.substr(0, 12), "MIdx" + Be32(0x00010000) + Be32(1));
  const std::string rec = bytes.substr(12, 1099);
  EXPECT_EQ(rec[0], 1);
  EXPECT_EQ(rec.substr(1, 22), std::string("\0\x04"
                                           "1998",
                                           6) +
                                   std::string(16, '\0'));
  EXPECT_EQ(rec.substr(23, 4), std::string("\0\x02"
                                           "01",
                                           4));
  EXPECT_EQ(rec.substr(45, 6), std::string("\0\x04News", 6));
  EXPECT_EQ(rec.substr(67, 2), std::string("\0\x1b", 2));
  EXPECT_EQ(rec.substr(325, 12), std::string("\0\x0aNews/a.htm", 12));
  EXPECT_EQ(rec.substr(583, 10), std::string("\0\x08Headline", 10));
  EXPECT_EQ(rec.substr(841, 5), std::string("\0\x03Sub", 5));
  EXPECT_EQ(rec.substr(846), std::string(1099 - 846, '\0'));
  // Header block: entries in ascending id order.
  const std::string header = Be32(0x00010000) + Be32(3) + Be32(kCollectionFlags) + Be32(4) +
                             Be32(3) + Be32(kCollectionScanner) + Be32(18) +
                             std::string("Marlix XT Archive\0", 18) + Be32(kCollectionIndexType) +
                             Be32(4) + Be32(1);
  EXPECT_EQ(bytes.substr(1111), header + kEmptyBlock + kEmptyBlock);
}

TEST(IndexCollectionTest, RecordsAndHeaderReadBack) {
  ScratchFolder folder;
  const std::string path = folder.File("index.mlx");
  {
    IndexCollection collection(path);
    ASSERT_EQ(collection.open("w+b"), kNoErr);
    collection.setHeader(kCategoryIndex, false, true);
    for (const char* category : {"News", "Sports", "News"}) {
      ArticleRecord record = SampleRecord(category);
      ASSERT_EQ(collection.appendRecord(record), kNoErr);
    }
    ArticleRecord hidden = SampleRecord("Hidden");
    hidden.inUse = false;
    ASSERT_EQ(collection.appendRecord(hidden), kNoErr);
    ASSERT_EQ(collection.close(), kNoErr);
  }
  IndexCollection collection(path);
  ASSERT_EQ(collection.open("r+b"), kNoErr);
  EXPECT_EQ(collection.count(), 4u);
  std::uint32_t type = 0;
  bool flag0 = true;
  bool flag1 = false;
  ASSERT_EQ(collection.getHeader(type, flag0, flag1), kNoErr);
  EXPECT_EQ(type, kCategoryIndex);
  EXPECT_FALSE(flag0);
  EXPECT_TRUE(flag1);
  ArticleRecord record;
  EXPECT_EQ(collection.readRecord(record, 0), kBadArgument);
  ASSERT_EQ(collection.readRecord(record, 2), kNoErr);
  ArticleRecord expected = SampleRecord("Sports");
  expected.number = 2;
  EXPECT_EQ(record, expected);
  ASSERT_EQ(collection.readRecord(record, 4), kNoErr);
  EXPECT_FALSE(record.inUse);
  EXPECT_EQ(record.category, "Hidden");
  EXPECT_EQ(collection.readRecord(record, 9), kFileReadErr);
  // All records in one pass are the records read one by one.
  std::vector<ArticleRecord> all;
  ASSERT_EQ(collection.readRecords(all), kNoErr);
  ASSERT_EQ(all.size(), 4u);
  for (std::uint32_t n = 1; n <= 4; ++n) {
    ASSERT_EQ(collection.readRecord(record, n), kNoErr);
    EXPECT_EQ(all[n - 1], record);
  }
  const std::string before = ReadFile(path);
  ASSERT_EQ(collection.close(), kNoErr);
  EXPECT_EQ(ReadFile(path), before);  // closing rewrites header and blocks unchanged
}

TEST(IndexCollectionTest, RecordNumbersChosenAsTheCallerAsks) {
  ScratchFolder folder;
  IndexCollection collection(folder.File("index.mlx"));
  ASSERT_EQ(collection.open("w+b"), kNoErr);
  ArticleRecord third = SampleRecord();
  ASSERT_EQ(collection.appendRecord(third, 3), kNoErr);
  EXPECT_EQ(collection.count(), 3u);
  ArticleRecord own = SampleRecord("Own");
  own.number = 2;
  ASSERT_EQ(collection.appendRecord(own), kNoErr);
  EXPECT_EQ(collection.count(), 3u);
  ArticleRecord next = SampleRecord("Next");
  ASSERT_EQ(collection.appendRecord(next), kNoErr);
  EXPECT_EQ(next.number, 4u);
  ArticleRecord first;
  ASSERT_EQ(collection.readRecord(first, 1), kNoErr);
  EXPECT_FALSE(first.inUse);  // the gap is zeros
  ArticleRecord back;
  ASSERT_EQ(collection.readRecord(back, 2), kNoErr);
  EXPECT_EQ(back.category, "Own");
}

TEST(IndexCollectionTest, AppendsAfterReadsAndReopeningLandInTheirOwnPlace) {
  ScratchFolder folder;
  const std::string path = folder.File("index.mlx");
  {
    IndexCollection collection(path);
    ASSERT_EQ(collection.open("w+b"), kNoErr);
    ASSERT_EQ(collection.setHeader(kIssueIndex, true, false), kNoErr);
    for (const char* category : {"A", "B"}) {
      ArticleRecord record = SampleRecord(category);
      ASSERT_EQ(collection.appendRecord(record), kNoErr);
    }
    ArticleRecord first;
    ASSERT_EQ(collection.readRecord(first, 1), kNoErr);  // leaves the stream inside the records
    ArticleRecord third = SampleRecord("C");
    ASSERT_EQ(collection.appendRecord(third), kNoErr);
    EXPECT_EQ(third.number, 3u);
    ArticleRecord back;
    ASSERT_EQ(collection.readRecord(back, 2), kNoErr);
    EXPECT_EQ(back.category, "B");
    ASSERT_EQ(collection.close(), kNoErr);
  }
  {
    IndexCollection collection(path);
    ASSERT_EQ(collection.open("r+b"), kNoErr);  // leaves the stream after the blocks
    ArticleRecord fourth = SampleRecord("D");
    ASSERT_EQ(collection.appendRecord(fourth), kNoErr);
    EXPECT_EQ(fourth.number, 4u);
    ASSERT_EQ(collection.close(), kNoErr);
  }
  const std::string other = folder.File("other.mlx");
  {
    IndexCollection collection(other);
    ASSERT_EQ(collection.open("w+b"), kNoErr);
    ASSERT_EQ(collection.setHeader(kIssueIndex, true, false), kNoErr);
    for (const char* category : {"A", "B", "C", "D"}) {
      ArticleRecord record = SampleRecord(category);
      ASSERT_EQ(collection.appendRecord(record), kNoErr);
    }
    ASSERT_EQ(collection.close(), kNoErr);
  }
  EXPECT_EQ(ReadFile(path), ReadFile(other));
}

TEST(IndexCollectionTest, MissingHeaderKeysAreNotFound) {
  ScratchFolder folder;
  IndexCollection collection(folder.File("index.mlx"));
  ASSERT_EQ(collection.open("w+b"), kNoErr);
  std::uint32_t type = 0;
  bool flag0 = false;
  bool flag1 = false;
  EXPECT_EQ(collection.getHeader(type, flag0, flag1), kNotFound);
}

TEST(IndexCollectionTest, CorruptFilesGiveCodesNeverHugeReads) {
  ScratchFolder folder;
  const std::string path = folder.File("index.mlx");
  IndexCollection collection(path);
  WriteFile(path, "MIdy" + Be32(0x00010000) + Be32(0));
  EXPECT_EQ(collection.open("r+b"), kBadMagicErr);
  EXPECT_EQ(collection.close(), kFileNotOpenErr);
  WriteFile(path, "MIdx" + Be32(0x00010001) + Be32(0));
  EXPECT_EQ(collection.open("r+b"), kBadVersionErr);
  EXPECT_EQ(collection.close(), kFileNotOpenErr);
  // A count far beyond the file: refused without growing the file.
  WriteFile(path, "MIdx" + Be32(0x00010000) + Be32(0xFFFFFFFF) + kEmptyBlock);
  EXPECT_EQ(collection.open("r+b"), kFileReadErr);
  EXPECT_EQ(FileStream(path).Length(), 20);
  EXPECT_EQ(collection.close(), kFileNotOpenErr);
  EXPECT_EQ(collection.open("rb"), kFileReadErr);
  EXPECT_EQ(FileStream(folder.File("never")).Exists(), false);
  IndexCollection missing(folder.File("never"));
  EXPECT_EQ(missing.open("r+b"), kFileOpenErr);
  std::vector<ArticleRecord> records(1);
  EXPECT_EQ(missing.readRecords(records), kFileNotOpenErr);
  EXPECT_TRUE(records.empty());
}

TEST(IndexCollectionTest, TextLongerThanItsSlotIsReadCutToTheSlot) {
  ScratchFolder folder;
  const std::string path = folder.File("index.mlx");
  {
    IndexCollection collection(path);
    ASSERT_EQ(collection.open("w+b"), kNoErr);
    ArticleRecord record("1998", "01", "News", "p", "r", "d", "s");
    ASSERT_EQ(collection.appendRecord(record), kNoErr);
    ASSERT_EQ(collection.close(), kNoErr);
  }
  std::string bytes = ReadFile(path);
  // Year claims 0xFFFF bytes; its slot holds 20, then the issue slot follows.
  bytes[12 + 1] = '\xFF';
  bytes[12 + 2] = '\xFF';
  bytes.replace(12 + 3, 20, std::string(20, 'Y'));
  WriteFile(path, bytes);
  IndexCollection collection(path);
  ASSERT_EQ(collection.open("r+b"), kNoErr);
  ArticleRecord record;
  ASSERT_EQ(collection.readRecord(record, 1), kNoErr);
  EXPECT_EQ(record.year, std::string(20, 'Y'));
  EXPECT_EQ(record.issue, "01");
  EXPECT_EQ(record.subdescription, "s");
}

}  // namespace
}  // namespace indexer
