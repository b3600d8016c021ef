#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "indexer/engine/index_engine.h"
#include "indexer/startup/indexer_files.h"
#include "indexer/store/category_table.h"
#include "indexer/store/settings_keys.h"
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

std::string Str(const std::string& text) {
  return std::string{static_cast<char>(text.size() >> 8), static_cast<char>(text.size() & 0xFF)} +
         text;
}

TEST(CategoryTableTest, KeysCompareWithCaseAndIterateInKeyOrder) {
  CategoryTable table;
  EXPECT_EQ(table.Add("b", "B"), kNoErr);
  EXPECT_EQ(table.Add("Zeta", "Z"), kNoErr);
  EXPECT_EQ(table.Add("a", "first"), kNoErr);
  EXPECT_EQ(table.Add("a", "A"), kNoErr);  // replaces
  EXPECT_EQ(table.Add("", "x"), kBadArgument);
  std::string value;
  std::string key;
  ASSERT_EQ(table.At(0, value, &key), kNoErr);
  EXPECT_EQ(key, "Zeta");  // upper case sorts first, byte by byte
  ASSERT_EQ(table.At(1, value, &key), kNoErr);
  EXPECT_EQ(value, "A");
  EXPECT_EQ(table.At(3, value), kNotFound);
  EXPECT_EQ(table.Find("zeta", value), kNotFound);
  EXPECT_EQ(value, "");
  EXPECT_EQ(table.Find("", value), kBadArgument);
  EXPECT_EQ(table.Remove("B"), kNotFound);
  EXPECT_EQ(table.Remove("b"), kNoErr);
  EXPECT_EQ(table.size(), 2u);
}

TEST(CategoryTableTest, FoldingTableLowersKeys) {
  CategoryTable table(true);
  table.Add("NeWs", "v");
  std::string value;
  EXPECT_EQ(table.Find("NEWS", value), kNoErr);
  EXPECT_EQ(table.entries().begin()->first, "news");
}

TEST(CategoryTableTest, TooLongForTheFileIsRefused) {
  CategoryTable table;
  EXPECT_EQ(table.Add("k", std::string(kMaxStreamString + 1, 'v')), kBadArgument);
  EXPECT_EQ(table.Add("k", std::string(kMaxStreamString, 'v')), kNoErr);
}

TEST(CategoryTableTest, FileLayoutAndRoundTrip) {
  ScratchFolder folder;
  CategoryTable table;
  table.Add("b", "B\rh");
  table.Add("a", "A");
  FileStream stream(folder.File("c.hcg"));
  ASSERT_EQ(stream.Open("wb"), kNoErr);
  ASSERT_EQ(table.Write(stream), kNoErr);
  ASSERT_EQ(stream.Close(), kNoErr);
  EXPECT_EQ(ReadFile(folder.File("c.hcg")),
            "mCgy" + Be32(0x00010000) + Be32(2) + Str("a") + Str("A") + Str("b") + Str("B\rh"));
  CategoryTable back;
  ASSERT_EQ(stream.Open("rb"), kNoErr);
  EXPECT_EQ(back.Read(stream), kNoErr);
  EXPECT_EQ(back, table);
}

TEST(CategoryTableTest, ReadingKeepsTheFirstPairAndStopsAtErrors) {
  ScratchFolder folder;
  CategoryTable table;
  FileStream stream(folder.File("c"));
  WriteFile(stream.path(),
            "mCgy" + Be32(0x00010000) + Be32(2) + Str("k") + Str("1") + Str("k") + Str("2"));
  ASSERT_EQ(stream.Open("rb"), kNoErr);
  EXPECT_EQ(table.Read(stream), kNoErr);
  std::string value;
  table.Find("k", value);
  EXPECT_EQ(value, "1");
  stream.Close();

  WriteFile(stream.path(), "mPrf" + Be32(0x00010000) + Be32(0));
  ASSERT_EQ(stream.Open("rb"), kNoErr);
  EXPECT_EQ(table.Read(stream), kBadMagicErr);
  EXPECT_EQ(table.size(), 0u);
  stream.Close();

  WriteFile(stream.path(), "mCgy" + Be32(0x00020000) + Be32(0));
  ASSERT_EQ(stream.Open("rb"), kNoErr);
  EXPECT_EQ(table.Read(stream), kBadVersionErr);
  stream.Close();

  // A length field that promises more than the file holds.
  WriteFile(stream.path(), "mCgy" + Be32(0x00010000) + Be32(1) + Str("k") + "\xFF\xFFshort");
  ASSERT_EQ(stream.Open("rb"), kNoErr);
  EXPECT_EQ(table.Read(stream), kFileReadErr);
}

TEST(IndexEngineTest, DefaultCategoriesAndLookups) {
  IndexEngine engine;
  engine.setDefaultCategories();
  ASSERT_EQ(engine.categories().size(), 7u);
  std::string value;
  ASSERT_EQ(engine.categories().Find("Entertai", value), kNoErr);
  EXPECT_EQ(value,
            "Entertainment\r<H2><IMG SRC=\"../../GIFs/Entertai.gif\" "
            "ALT=\"Entertainment\"></H2>");
  std::string name;
  std::string heading;
  ASSERT_EQ(engine.CategoryAt(0, name, &heading), kNoErr);
  EXPECT_EQ(name, "Culture");
  EXPECT_EQ(heading, "<H2><IMG SRC=\"../../GIFs/Culture.gif\" ALT=\"Culture\"></H2>");
  EXPECT_EQ(engine.CategoryAt(6, name), kNoErr);
  EXPECT_EQ(name, "Technics");
  EXPECT_EQ(engine.CategoryAt(7, name), kNotFound);

  std::string key = "Entertainment";
  ASSERT_EQ(engine.CategoryFor(key, &heading), kNoErr);
  EXPECT_EQ(key, "Entertainment");
  EXPECT_EQ(heading, "<H2><IMG SRC=\"../../GIFs/Entertai.gif\" ALT=\"Entertainment\"></H2>");
  key = "CULTURE";
  EXPECT_EQ(engine.CategoryFor(key, &heading), kNotFound);
}

TEST(IndexEngineTest, ValueWithoutCarriageReturnIsAllName) {
  IndexEngine engine;
  engine.categories().Add("Plain", "Plain name");
  std::string name;
  std::string heading = "x";
  ASSERT_EQ(engine.CategoryAt(0, name, &heading), kNoErr);
  EXPECT_EQ(name, "Plain name");
  EXPECT_EQ(heading, "");
}

TEST(IndexEngineTest, CategoriesComeBackInKeyOrder) {
  ScratchFolder folder;
  IndexEngine engine;
  engine.categories().Add("Zoo", "Zoo");
  engine.categories().Add("Art", "Art");
  engine.categories().Add("Music", "Music");
  ASSERT_EQ(engine.SaveCategories(folder.File("c.hcg")), kNoErr);
  IndexEngine loaded;
  ASSERT_EQ(loaded.LoadCategories(folder.File("c.hcg")), kNoErr);
  std::string name;
  loaded.CategoryAt(0, name);
  EXPECT_EQ(name, "Art");
  loaded.CategoryAt(2, name);
  EXPECT_EQ(name, "Zoo");
  loaded.categories().Remove("Zoo");
  ASSERT_EQ(loaded.SaveCategories(), kNoErr);  // to the path it was loaded from
  IndexEngine again;
  ASSERT_EQ(again.LoadCategories(folder.File("c.hcg")), kNoErr);
  EXPECT_EQ(again.categories().size(), 2u);
  EXPECT_EQ(again.LoadCategories(folder.File("missing")), kFileNotFoundErr);
}

// Points the config folder at a scratch folder for one test.
class StartupTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (const char* old = std::getenv("XDG_CONFIG_HOME")) saved_ = old;
    ::setenv("XDG_CONFIG_HOME", folder_.path().c_str(), 1);
  }
  void TearDown() override {
    if (saved_.empty())
      ::unsetenv("XDG_CONFIG_HOME");
    else
      ::setenv("XDG_CONFIG_HOME", saved_.c_str(), 1);
  }
  ScratchFolder folder_;
  std::string saved_;
};

TEST_F(StartupTest, FreshSystemGetsTheDefaultsWrittenAtOnce) {
  IndexEngine engine;
  const StartupResult result = LoadIndexerFiles(engine);
  EXPECT_TRUE(result.settings_defaulted);
  EXPECT_TRUE(result.categories_defaulted);
  EXPECT_EQ(result.save_status, kNoErr);
  EXPECT_EQ(SettingsFilePath(), folder_.path() + "/Tarnby/mlxindex.hpr");
  const std::string settings = ReadFile(SettingsFilePath());
  EXPECT_EQ(settings.substr(0, 12), "mPrf" + Be32(0x00010000) + Be32(61));
  EXPECT_EQ(ReadFile(CategoryFilePath()).substr(0, 12), "mCgy" + Be32(0x00010000) + Be32(7));
  EXPECT_EQ(engine.preferences().size(), 61u);

  IndexEngine second;
  const StartupResult again = LoadIndexerFiles(second);
  EXPECT_FALSE(again.settings_defaulted);
  EXPECT_FALSE(again.categories_defaulted);
  EXPECT_EQ(second.preferences(), engine.preferences());
  EXPECT_EQ(second.categories(), engine.categories());
}

TEST_F(StartupTest, WrongVersionIsReplacedByTheDefaults) {
  {
    IndexEngine engine;
    LoadIndexerFiles(engine);
    engine.preferences().SetBool(kLinkDocuments, true);
    ASSERT_EQ(engine.SaveSettings(), kNoErr);
  }
  std::string bytes = ReadFile(SettingsFilePath());
  bytes[7] = 1;  // version 0x00010001
  WriteFile(SettingsFilePath(), bytes);
  IndexEngine engine;
  EXPECT_TRUE(LoadIndexerFiles(engine).settings_defaulted);
  bool link = true;
  engine.preferences().GetBool(kLinkDocuments, link);
  EXPECT_FALSE(link);
  EXPECT_EQ(ReadFile(SettingsFilePath())[7], 0);
}

TEST_F(StartupTest, AnUnreadableFileIsKeptAsBadBeforeTheDefaultsReplaceIt) {
  {
    IndexEngine engine;
    LoadIndexerFiles(engine);
  }
  const std::string cut = ReadFile(SettingsFilePath()).substr(0, 30);
  WriteFile(SettingsFilePath(), cut);
  IndexEngine engine;
  const StartupResult result = LoadIndexerFiles(engine);
  EXPECT_TRUE(result.settings_defaulted);
  EXPECT_FALSE(result.categories_defaulted);
  EXPECT_EQ(result.set_aside, std::vector<std::string>{SettingsFilePath()});
  EXPECT_EQ(ReadFile(SetAsidePath(SettingsFilePath())), cut);
  IndexEngine reader;
  EXPECT_EQ(reader.LoadSettings(SettingsFilePath()), kNoErr);

  // A missing file is no loss: nothing is set aside.
  std::filesystem::remove(CategoryFilePath());
  IndexEngine fresh;
  const StartupResult missing = LoadIndexerFiles(fresh);
  EXPECT_TRUE(missing.categories_defaulted);
  EXPECT_TRUE(missing.set_aside.empty());
  EXPECT_FALSE(std::filesystem::exists(SetAsidePath(CategoryFilePath())));
}

}  // namespace
}  // namespace indexer
