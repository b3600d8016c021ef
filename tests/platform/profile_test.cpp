#include "platform/profile.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iterator>

namespace platform {
namespace {

class ProfileFileTest : public testing::Test {
 protected:
  void SetUp() override {
    folder_ = std::filesystem::temp_directory_path() /
              ("profile_test_" + std::to_string(getpid()) + "_" +
               testing::UnitTest::GetInstance()->current_test_info()->name());
    std::filesystem::remove_all(folder_);
    std::filesystem::create_directories(folder_);
    file_ = (folder_ / "Test.INI").string();
  }
  void TearDown() override { std::filesystem::remove_all(folder_); }

  void Put(const std::string& text) { std::ofstream(file_, std::ios::binary) << text; }
  std::string Contents() const {
    std::ifstream in(file_, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  }

  std::filesystem::path folder_;
  std::string file_;
};

TEST(IniDocumentTest, NamesIgnoreCaseAndValuesKeepEveryByte) {
  const auto doc = IniDocument::Parse("[Settings]\r\n  DestFolder = /a b \r\nx=\xff\x01;\r\n");
  EXPECT_EQ(doc.Get("settings", "DESTFOLDER"), " /a b ");
  EXPECT_EQ(doc.Get("SETTINGS", "X"), "\xff\x01;");
  EXPECT_EQ(doc.Get("Settings", "missing"), std::nullopt);
  EXPECT_EQ(doc.Get("Other", "x"), std::nullopt);
}

TEST(IniDocumentTest, FirstSectionAndFirstKeyWin) {
  const auto doc = IniDocument::Parse("[A]\nk=1\nk=2\n[B]\nk=3\n[a]\nk=4\nj=5\n");
  EXPECT_EQ(doc.Get("a", "k"), "1");
  EXPECT_EQ(doc.Get("b", "k"), "3");
  EXPECT_EQ(doc.Get("A", "j"), std::nullopt);
  EXPECT_EQ(doc.Keys("A"), (std::vector<std::string>{"k"}));
}

TEST(IniDocumentTest, KeysBeforeAnySectionCommentsAndBareLinesAreNotKeys) {
  const auto doc = IniDocument::Parse("k=0\n[S]\n; note=1\nbare line\nk=2\n\nz=\n");
  EXPECT_EQ(doc.Keys("S"), (std::vector<std::string>{"k", "z"}));
  EXPECT_EQ(doc.Get("S", "z"), "");
  EXPECT_EQ(doc.Get("S", "; note"), std::nullopt);
}

TEST(IniDocumentTest, SetReplacesAddsKeyAndAddsSection) {
  auto doc = IniDocument::Parse("; head\n[S]\na=1\n\n[T]\nb=2\n");
  doc.Set("s", "A", "one");
  doc.Set("S", "c", "3");
  doc.Set("U", "d", "4");
  EXPECT_EQ(doc.Serialize(), "; head\n[S]\nA=one\nc=3\n\n[T]\nb=2\n[U]\nd=4\n");
}

TEST(IniDocumentTest, LineBreaksInAValueBecomeBackslashN) {
  IniDocument doc;
  doc.Set("S", "Header", "<HEAD>\r\n<BODY>\nx\ry");
  EXPECT_EQ(doc.Get("S", "Header"), "<HEAD>\\n<BODY>\\nx\\ny");
}

TEST(IniDocumentTest, DeleteSectionRemovesEveryCopy) {
  auto doc = IniDocument::Parse("[M]\na=1\n[K]\nb=2\n[m]\nc=3\n");
  EXPECT_TRUE(doc.DeleteSection("m"));
  EXPECT_EQ(doc.Serialize(), "[K]\nb=2\n");
  EXPECT_FALSE(doc.DeleteSection("m"));
  EXPECT_TRUE(doc.Keys("M").empty());
}

TEST(IniDocumentTest, EntriesGiveEachNameOnceWithItsFirstValue) {
  const auto doc = IniDocument::Parse("[M]\nA=1\n;c=0\na=2\nb=\n[K]\nx=9\n[m]\nc=3\n");
  EXPECT_EQ(doc.Entries("m"),
            (std::vector<std::pair<std::string, std::string>>{{"A", "1"}, {"b", ""}}));
  EXPECT_TRUE(doc.Entries("none").empty());
}

TEST(IniDocumentTest, ReplaceSectionEqualsDeleteThenOneSetPerEntry) {
  const std::string text = "; head\n[M]\nold=1\n\n[K]\nb=2\n[m]\nc=3\n";
  const std::vector<std::pair<std::string, std::string>> entries = {
      {"Author", "x"}, {" Keywords ", "y\nz"}, {"author", "last"}, {"", "empty name"}};
  auto replaced = IniDocument::Parse(text);
  replaced.ReplaceSection("M", entries);
  auto one_by_one = IniDocument::Parse(text);
  one_by_one.DeleteSection("M");
  for (const auto& [key, value] : entries)
    one_by_one.Set("M", key, value);
  EXPECT_EQ(replaced.Serialize(), one_by_one.Serialize());
  EXPECT_EQ(replaced.Serialize(),
            "; head\n[K]\nb=2\n[M]\nauthor=last\nKeywords=y\\nz\n=empty name\n");

  replaced.ReplaceSection("m", {});
  EXPECT_EQ(replaced.Serialize(), "; head\n[K]\nb=2\n");
}

TEST(IniDocumentTest, DeleteKey) {
  auto doc = IniDocument::Parse("[S]\na=1\nb=2\n");
  EXPECT_TRUE(doc.DeleteKey("S", "A"));
  EXPECT_FALSE(doc.DeleteKey("S", "a"));
  EXPECT_EQ(doc.Serialize(), "[S]\nb=2\n");
}

TEST(ProfileIntTest, DecimalPrefixWithSign) {
  EXPECT_EQ(ParseProfileInt("42"), 42);
  EXPECT_EQ(ParseProfileInt("  -7x"), -7);
  EXPECT_EQ(ParseProfileInt("+3"), 3);
  EXPECT_EQ(ParseProfileInt("abc"), 0);
  EXPECT_EQ(ParseProfileInt(""), 0);
  EXPECT_EQ(ParseProfileInt("99999999999999"), INT_MAX);
  EXPECT_EQ(ParseProfileInt("-99999999999999"), INT_MIN);
}

TEST_F(ProfileFileTest, MissingFileGivesDefaults) {
  EXPECT_EQ(GetProfileString(file_, "Settings", "Indexer", "indexer"), "indexer");
  EXPECT_EQ(GetProfileInt(file_, "Settings", "HTMLSuffix", 1), 1);
  EXPECT_TRUE(GetProfileKeys(file_, "MetaTags").empty());
  EXPECT_FALSE(std::filesystem::exists(file_));
}

TEST_F(ProfileFileTest, PresentKeyWinsOverDefaultEvenWhenEmpty) {
  Put("[Settings]\nBrowser=\nHTMLSuffix=2\nDosNames=no\n");
  EXPECT_EQ(GetProfileString(file_, "Settings", "Browser", "x"), "");
  EXPECT_EQ(GetProfileInt(file_, "settings", "htmlsuffix", 1), 2);
  EXPECT_EQ(GetProfileInt(file_, "Settings", "DosNames", 1), 0);
}

TEST_F(ProfileFileTest, WritesKeepOtherLinesAndReadBack) {
  Put("; kept\r\n[Settings]\r\nDestFolder=/old\r\n[ToolsSheet]\r\nWindowPos=100 100\r\n");
  ASSERT_TRUE(WriteProfileString(file_, "settings", "DestFolder", "/new"));
  ASSERT_TRUE(WriteProfileInt(file_, "Settings", "DateOffset", -3));
  EXPECT_EQ(
      Contents(),
      "; kept\n[Settings]\nDestFolder=/new\nDateOffset=-3\n[ToolsSheet]\nWindowPos=100 100\n");
  EXPECT_EQ(GetProfileInt(file_, "Settings", "DateOffset", 1), -3);
}

TEST_F(ProfileFileTest, WriteCreatesTheFileAndLeavesNoTemporaryBehind) {
  ASSERT_TRUE(WriteProfileString(file_, "MetaTags", "Author",
                                 "\xff"
                                 "1"));
  EXPECT_EQ(Contents(),
            "[MetaTags]\nAuthor=\xff"
            "1\n");
  int entries = 0;
  for (const auto& entry : std::filesystem::directory_iterator(folder_)) {
    (void)entry;
    ++entries;
  }
  EXPECT_EQ(entries, 1);
}

TEST_F(ProfileFileTest, WriteFailsInAMissingFolder) {
  EXPECT_FALSE(WriteProfileString((folder_ / "no" / "x.ini").string(), "S", "k", "v"));
}

TEST_F(ProfileFileTest, DeleteSectionAndKeys) {
  Put("[MetaTags]\nPublisher=P\xff"
      "0\nURL=u\n[Settings]\nx=1\n");
  EXPECT_EQ(GetProfileKeys(file_, "metatags"), (std::vector<std::string>{"Publisher", "URL"}));
  ASSERT_TRUE(DeleteProfileKey(file_, "MetaTags", "url"));
  EXPECT_EQ(GetProfileKeys(file_, "MetaTags"), (std::vector<std::string>{"Publisher"}));
  ASSERT_TRUE(DeleteProfileSection(file_, "MetaTags"));
  EXPECT_EQ(Contents(), "[Settings]\nx=1\n");
  EXPECT_TRUE(DeleteProfileSection(file_, "MetaTags"));
}

}  // namespace
}  // namespace platform
