#include "xt/export/dialog_values.h"

#include <gtest/gtest.h>

#include "tests/xt/export_test_support.h"
#include "xt/export/export_settings.h"

namespace xt {
namespace {

using test::TempFolder;
using test::WriteFile;

TEST(FileNameFromTitleTest, KeepsTheDocumentNameWithoutFolderAndExtension) {
  EXPECT_EQ(FileNameFromTitle("Report.qxd"), "Report");
  EXPECT_EQ(FileNameFromTitle("X [C:\\Docs\\Story.qxd]"), "Story");
  EXPECT_EQ(FileNameFromTitle("layout [/home/ed/pages/Harbour.v2.json] - layouthost"), "Harbour");
  EXPECT_EQ(FileNameFromTitle("concert.json* - layouthost"), "concert");
  EXPECT_EQ(FileNameFromTitle("[unclosed/name.txt"), "name");
  EXPECT_EQ(FileNameFromTitle(""), "");
}

TEST(RubricsTest, OnlyNamesFollowedByABarAreCategories) {
  EXPECT_EQ(ParseRubrics("A|B"), std::vector<std::string>({"A"}));
  EXPECT_EQ(ParseRubrics("Culture|Economy||Sports|"),
            std::vector<std::string>({"Culture", "Economy", "", "Sports"}));
  EXPECT_TRUE(ParseRubrics("").empty());
  EXPECT_EQ(JoinRubrics({"Culture", "Sports"}), "Culture|Sports|");
  EXPECT_EQ(ParseRubrics(JoinRubrics({"x y", "\xE9t\xE9"})),
            std::vector<std::string>({"x y", "\xE9t\xE9"}));
}

TEST(HeadlineFromSelectionTest, DropsTheLastCharacterAndWritesCrAsBackslashN) {
  EXPECT_EQ(HeadlineFromSelection("Midsummer\rconcert\r"), "Midsummer\\nconcert");
  EXPECT_EQ(HeadlineFromSelection("A"), "");
  EXPECT_EQ(HeadlineFromSelection(""), "");
  const std::string long_selection(250, 'x');
  EXPECT_EQ(HeadlineFromSelection(long_selection), std::string(199, 'x'));
}

TEST(SnippetTest, BackslashNPairsAreLineBreaksInTheField) {
  EXPECT_EQ(SnippetToLines("<HEAD>\\n<BODY>\\n"), "<HEAD>\n<BODY>\n");
  EXPECT_EQ(SnippetToLines("C:\\new"), "C:\new");
  EXPECT_EQ(LinesToSnippet("a\r\nb\nc\rd"), "a\\nb\\nc\\nd");
  const std::string snippet = "<P>\\n<HR>\\nend";
  EXPECT_EQ(LinesToSnippet(SnippetToLines(snippet)), snippet);
}

TEST(ArchiveFoldersTest, ListsLevelFoldersAndFilesInNameOrder) {
  TempFolder folder;
  const std::string main = folder.Path("Archive");
  for (const char* name : {"b", "A", ".hidden", "C\xC3\xA9"}) {
    std::filesystem::create_directories(main + "/" + name);
  }
  WriteFile(main + "/file.htm", "x");
  WriteFile(HeaderFolder(main) + "/Sports", "h");
  WriteFile(HeaderFolder(main) + "/culture.htm", "h");
  std::filesystem::create_directories(HeaderFolder(main) + "/sub");
  EXPECT_EQ(ArchiveLevelFolders(main),
            std::vector<std::string>({"[A]", "[b]", "[C\xE9]", "[Standard]"}));
  EXPECT_EQ(FilesOf(HeaderFolder(main)), std::vector<std::string>({"culture.htm", "Sports"}));
  EXPECT_TRUE(FilesOf(FooterFolder(main)).empty());
  EXPECT_EQ(FooterFolder("/a"), "/a/Standard/Footers");
}

TEST(ArchiveFoldersTest, TheMainFolderIsReadAgainWhenMemoryHoldsNoFolder) {
  TempFolder folder;
  ExportSettings settings(folder.Path("MarlixXT40.INI"));
  std::filesystem::create_directories(folder.Path("Web"));
  settings.WriteString("DestFolder", folder.Path("Web") + "/");
  settings.DestFolder = folder.Path("gone");
  EXPECT_EQ(EnterableMainFolder(settings), folder.Path("Web"));
  settings.WriteString("DestFolder", folder.Path("also-gone"));
  EXPECT_EQ(EnterableMainFolder(settings), std::nullopt);
  settings.DestFolder = folder.Path("Web");
  EXPECT_EQ(EnterableMainFolder(settings), folder.Path("Web"));
}

TEST(WithoutTrailingSeparatorTest, KeepsTheRoot) {
  EXPECT_EQ(WithoutTrailingSeparator("D:\\Web\\"), "D:\\Web");
  EXPECT_EQ(WithoutTrailingSeparator("/srv/web//"), "/srv/web");
  EXPECT_EQ(WithoutTrailingSeparator("/"), "/");
}

}  // namespace
}  // namespace xt
