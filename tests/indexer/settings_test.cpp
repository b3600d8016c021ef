#include <gtest/gtest.h>
#include <sys/resource.h>

#include <cerrno>
#include <csignal>

#include <set>
#include <string>

#include "indexer/store/settings_file.h"
#include "indexer/store/settings_keys.h"
#include "indexer/store/settings_store.h"
#include "platform/status.h"
#include "scratch_folder.h"

namespace indexer {
namespace {

using testing::FolderEntries;
using testing::ReadFile;
using testing::ScratchFolder;
using testing::WriteFile;

std::string Be32(std::uint32_t value) {
  return {static_cast<char>(value >> 24), static_cast<char>(value >> 16),
          static_cast<char>(value >> 8), static_cast<char>(value)};
}

std::string Entry(std::uint32_t id, const std::string& bytes) {
  return Be32(id) + Be32(static_cast<std::uint32_t>(bytes.size())) + bytes;
}

std::string SettingsBytes(std::uint32_t version, std::uint32_t count, const std::string& entries) {
  return "mPrf" + Be32(version) + Be32(count) + entries;
}

TEST(SettingsStoreTest, ValuesAreStoredWithTheirByteLayout) {
  SettingsStore store;
  ASSERT_EQ(store.SetBool(0x01010303, true), kNoErr);
  ASSERT_EQ(store.SetShort(0x01010908, 1), kNoErr);
  ASSERT_EQ(store.SetString(0x01010B03, ""), kNoErr);
  ASSERT_EQ(store.SetString(0x01010701, "Tarnby"), kNoErr);
  ASSERT_EQ(store.SetLong(0x01010006, 0x01020304), kNoErr);
  EXPECT_EQ(*store.Find(0x01010303), (SettingsStore::Blob{1, 0}));
  EXPECT_EQ(*store.Find(0x01010908), (SettingsStore::Blob{0, 1}));
  EXPECT_EQ(*store.Find(0x01010B03), (SettingsStore::Blob{0}));
  EXPECT_EQ(store.Find(0x01010701)->size(), 7u);
  EXPECT_EQ(*store.Find(0x01010006), (SettingsStore::Blob{1, 2, 3, 4}));

  bool flag = false;
  std::uint16_t number = 0;
  std::uint32_t wide = 0;
  std::string text;
  EXPECT_EQ(store.GetBool(0x01010303, flag), kNoErr);
  EXPECT_TRUE(flag);
  EXPECT_EQ(store.GetShort(0x01010908, number), kNoErr);
  EXPECT_EQ(number, 1);
  EXPECT_EQ(store.GetLong(0x01010006, wide), kNoErr);
  EXPECT_EQ(wide, 0x01020304u);
  EXPECT_EQ(store.GetString(0x01010701, text), kNoErr);
  EXPECT_EQ(text, "Tarnby");
}

TEST(SettingsStoreTest, AbsentIdsAndBadArguments) {
  SettingsStore store;
  std::string text = "x";
  bool flag = true;
  std::uint16_t number = 9;
  EXPECT_EQ(store.GetString(0x01010001, text), kNotFound);
  EXPECT_EQ(text, "");
  EXPECT_EQ(store.GetBool(0x01010001, flag), kNotFound);
  EXPECT_FALSE(flag);
  EXPECT_EQ(store.GetShort(0x01010001, number), kNotFound);
  EXPECT_EQ(number, 0);
  EXPECT_EQ(store.Remove(0x01010001), kNotFound);
  EXPECT_EQ(store.SetString(0, "x"), kBadArgument);
  EXPECT_EQ(store.Set(0x01010001, "x", 0), kBadArgument);
  EXPECT_EQ(store.Set(0, "x", 1), kBadArgument);
  EXPECT_EQ(store.size(), 0u);
}

TEST(SettingsStoreTest, GettersNeverReadPastAShortBlob) {
  SettingsStore store;
  const std::uint8_t one = 0x7F;
  ASSERT_EQ(store.Set(0x01010001, &one, 1), kNoErr);
  std::uint32_t wide = 0xFFFFFFFF;
  EXPECT_EQ(store.GetLong(0x01010001, wide), kNoErr);
  EXPECT_EQ(wide, 0x7F000000u);  // missing bytes count as zero
  const char unterminated[] = {'a', 'b'};
  ASSERT_EQ(store.Set(0x01010002, unterminated, 2), kNoErr);
  std::string text;
  EXPECT_EQ(store.GetString(0x01010002, text), kNoErr);
  EXPECT_EQ(text, "ab");
}

TEST(SettingsStoreTest, AssignmentCopiesEveryBlob) {
  SettingsStore first;
  first.SetString(0x01010001, "one");
  SettingsStore second;
  second.SetString(0x01010002, "two");
  second = first;
  first.SetString(0x01010001, "changed");
  std::string text;
  EXPECT_EQ(second.GetString(0x01010001, text), kNoErr);
  EXPECT_EQ(text, "one");
  EXPECT_FALSE(second.Contains(0x01010002));
}

TEST(SettingsFileTest, WritesEntriesInAscendingIdOrderBehindTheMagic) {
  ScratchFolder folder;
  SettingsFile file;
  file.SetShort(0x01010908, 1);
  file.SetBool(0x01010303, true);
  ASSERT_EQ(file.Save(folder.File("s.hpr")), kNoErr);
  EXPECT_EQ(ReadFile(folder.File("s.hpr")),
            SettingsBytes(0x00010000, 2,
                          Entry(0x01010303, std::string("\x01\x00", 2)) +
                              Entry(0x01010908, std::string("\x00\x01", 2))));
}

TEST(SettingsFileTest, ASaveThatCannotBeWrittenLeavesTheOldFileAndNamesIt) {
  ScratchFolder folder;
  SettingsFile file;
  StoreDefaultSettings(file);
  ASSERT_EQ(file.Save(folder.File("mlxindex.hpr")), kNoErr);
  const std::string before = ReadFile(folder.File("mlxindex.hpr"));
  file.SetShort(0x01010908, 7);
  // A full disk as the writer sees it: no byte can be written.
  struct rlimit saved {};
  ::getrlimit(RLIMIT_FSIZE, &saved);
  const auto old_handler = std::signal(SIGXFSZ, SIG_IGN);
  struct rlimit none = saved;
  none.rlim_cur = 0;
  ::setrlimit(RLIMIT_FSIZE, &none);
  platform::ClearLastFailure();
  const MMoreErr status = file.Save();
  ::setrlimit(RLIMIT_FSIZE, &saved);
  std::signal(SIGXFSZ, old_handler);
  EXPECT_EQ(status, kFileWriteErr);
  EXPECT_EQ(ReadFile(folder.File("mlxindex.hpr")), before);
  EXPECT_EQ(FolderEntries(folder.path()), std::vector<std::string>{"mlxindex.hpr"});
  // The failure names the settings file, not the temporary file it was written to.
  EXPECT_EQ(platform::LastFailure().path(), folder.File("mlxindex.hpr"));
  EXPECT_EQ(platform::LastFailure().system_error(), EFBIG);
}

TEST(SettingsFileTest, DefaultsMakeTheKnownFileStart) {
  ScratchFolder folder;
  SettingsFile file;
  StoreDefaultSettings(file);
  ASSERT_EQ(file.Save(folder.File("mlxindex.hpr")), kNoErr);
  const std::string bytes = ReadFile(folder.File("mlxindex.hpr"));
  EXPECT_EQ(bytes.substr(0, 12), SettingsBytes(0x00010000, 61, ""));
  // The first entry: IndexHeaderBefore, "<HTML><HEAD>" and its NUL.
  EXPECT_EQ(bytes.substr(12, 8 + 13), Entry(0x01010001, std::string("<HTML><HEAD>\0", 13)));

  SettingsFile loaded;
  ASSERT_EQ(loaded.Load(folder.File("mlxindex.hpr")), kNoErr);
  EXPECT_TRUE(static_cast<const SettingsStore&>(loaded) == static_cast<const SettingsStore&>(file));
}

TEST(SettingsFileTest, FirstEntryOfAnIdWinsAndIdZeroEndsTheBlock) {
  ScratchFolder folder;
  WriteFile(folder.File("s"), SettingsBytes(0x00010000, 4,
                                            Entry(0x01010001, std::string("a\0", 2)) +
                                                Entry(0x01010001, std::string("b\0", 2)) + Be32(0) +
                                                Entry(0x01010002, std::string("c\0", 2))));
  SettingsFile file;
  EXPECT_EQ(file.Load(folder.File("s")), kNoErr);
  std::string text;
  EXPECT_EQ(file.GetString(0x01010001, text), kNoErr);
  EXPECT_EQ(text, "a");
  EXPECT_EQ(file.size(), 1u);
}

TEST(SettingsFileTest, BadFilesGiveTheirCodes) {
  ScratchFolder folder;
  SettingsFile file;
  EXPECT_EQ(file.Load(folder.File("missing")), kFileNotFoundErr);
  EXPECT_EQ(file.Load(folder.path()), kFileNotFoundErr);
  WriteFile(folder.File("magic"), "mCgy" + Be32(0x00010000) + Be32(0));
  EXPECT_EQ(file.Load(folder.File("magic")), kBadMagicErr);
  WriteFile(folder.File("version"), SettingsBytes(0x00010001, 0, ""));
  EXPECT_EQ(file.Load(folder.File("version")), kBadVersionErr);
  WriteFile(folder.File("empty"), "");
  EXPECT_EQ(file.Load(folder.File("empty")), kFileReadErr);
  // Count promises two entries, one is there.
  WriteFile(folder.File("count"), SettingsBytes(0x00010000, 2, Entry(0x01010001, "x")));
  EXPECT_EQ(file.Load(folder.File("count")), kFileReadErr);
}

TEST(SettingsFileTest, EmptyEntryReadsAsZero) {
  ScratchFolder folder;
  WriteFile(folder.File("s"), SettingsBytes(0x00010000, 1, Entry(0x01010006, "")));
  SettingsFile file;
  ASSERT_EQ(file.Load(folder.File("s")), kNoErr);
  std::uint32_t value = 7;
  EXPECT_EQ(file.GetLong(0x01010006, value), kNoErr);
  EXPECT_EQ(value, 0u);
}

TEST(SettingsFileTest, HugeSizeFieldIsAReadErrorNotAnAllocation) {
  ScratchFolder folder;
  WriteFile(folder.File("huge"),
            SettingsBytes(0x00010000, 1, Be32(0x01010001) + Be32(0xFFFFFFF0) + "tiny"));
  SettingsFile file;
  EXPECT_EQ(file.Load(folder.File("huge")), kFileReadErr);
  EXPECT_EQ(file.size(), 0u);
}

TEST(SettingsFileTest, SaveWithoutPathUsesTheLoadedPath) {
  ScratchFolder folder;
  SettingsFile file;
  file.SetBool(0x01011101, true);
  ASSERT_EQ(file.Save(folder.File("a")), kNoErr);
  SettingsFile other;
  ASSERT_EQ(other.Load(folder.File("a")), kNoErr);
  other.SetBool(0x01011101, false);
  ASSERT_EQ(other.Save(), kNoErr);
  SettingsFile check;
  ASSERT_EQ(check.Load(folder.File("a")), kNoErr);
  bool flag = true;
  EXPECT_EQ(check.GetBool(0x01011101, flag), kNoErr);
  EXPECT_FALSE(flag);
  EXPECT_EQ(SettingsFile().Save(), kFileOpenErr);
}

TEST(SettingKeysTest, TableHasSixtyOneDistinctWellFormedKeys) {
  const auto keys = SettingKeys();
  ASSERT_EQ(keys.size(), 61u);
  std::set<SettingId> ids;
  std::set<std::string> names;
  for (const SettingKey& key : keys) {
    EXPECT_EQ(key.id >> 16, 0x0101u) << key.name;
    EXPECT_GE(key.id & 0xFF, 1u) << key.name;
    EXPECT_NE(std::string(key.description), "") << key.name;
    ids.insert(key.id);
    names.insert(key.name);
    EXPECT_EQ(FindSettingKey(key.name), &key);
  }
  EXPECT_EQ(ids.size(), 61u);
  EXPECT_EQ(names.size(), 61u);
  EXPECT_EQ(FindSettingKey("FooterURL"), nullptr);
  ASSERT_NE(FindSettingKey("FooterUR"), nullptr);
  EXPECT_EQ(FindSettingKey("FooterUR")->id, kFooterUR);
  EXPECT_NE(std::string(FindSettingKey("DateOffset")->description).find("kOffsetDateFormat"),
            std::string::npos);
  EXPECT_NE(std::string(FindSettingKey("DateCustom")->description).find("kCustomDateFormat"),
            std::string::npos);
}

TEST(SettingKeysTest, DefaultsMatchTheTable) {
  SettingsStore store;
  store.SetString(0x01019999, "stale");
  StoreDefaultSettings(store);
  EXPECT_EQ(store.size(), 61u);
  EXPECT_FALSE(store.Contains(0x01019999));
  std::string text;
  bool flag = false;
  std::uint16_t number = 9;
  store.GetString(kIndexHeaderAfter, text);
  EXPECT_EQ(text, "</HEAD><BODY BGCOLOR=\"FFFFFF\">");
  store.GetString(kFramesWarning, text);
  EXPECT_EQ(text, "<HR>!! Frames-View: Please use Netscape 2.0 or higher...<HR>");
  store.GetString(kCategoryDelimiter, text);
  EXPECT_EQ(text, " | ");
  store.GetString(kIssueHeader, text);
  EXPECT_EQ(text, "<H1>Index of $ISSUE:/$YEAR:</H1>");
  store.GetString(kBodySize, text);
  EXPECT_EQ(text, "65%");
  EXPECT_EQ(store.GetString(kDateCustom, text), kNoErr);
  EXPECT_EQ(text, "");
  store.GetBool(kCreateDOSEnding, flag);
  EXPECT_TRUE(flag);
  store.GetBool(kCreateFrames, flag);
  EXPECT_FALSE(flag);
  store.GetBool(kIndexResizable, flag);
  EXPECT_TRUE(flag);
  store.GetShort(kIssueListType, number);
  EXPECT_EQ(number, kListDefinition);
  store.GetShort(kDateFormat, number);
  EXPECT_EQ(number, kCurrentDateFormat);
}

}  // namespace
}  // namespace indexer
