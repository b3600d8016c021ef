#include "xt/export/archive_layout.h"

#include <gtest/gtest.h>

#include "tests/xt/export_test_support.h"
#include "xt/export/export_settings.h"

namespace xt {
namespace {

using test::TempFolder;

TEST(ReduceNameTest, KeepsLettersAndDigitsUpToEight) {
  EXPECT_EQ(ReduceName("[1998]"), "1998");
  EXPECT_EQ(ReduceName("Sport News"), "SportNew");
  EXPECT_EQ(ReduceName("Culture"), "Culture");
  EXPECT_EQ(ReduceName("abcdefghijkl"), "abcdefgh");
  EXPECT_EQ(ReduceName("\xdcnterhaltung & Spa\xdf"), "nterhalt");
  EXPECT_EQ(ReduceName("$mxt"), "mxt");
  EXPECT_EQ(ReduceName("[]"), "");
  EXPECT_EQ(ReduceName(""), "");
}

TEST(ReduceNameTest, LaterComponentsKeepSevenAndBothSeparatorsCount) {
  EXPECT_EQ(ReduceName("2\\Sonderausgabe"), "2/Sondera");
  EXPECT_EQ(ReduceName("2/Sonderausgabe"), "2/Sondera");
  EXPECT_EQ(ReduceName("Wochenende\\Sonder\\x y"), "Wochenen/Sonder/xy");
}

TEST(ArchiveLevelsTest, FieldsInOrderEmptyOnesLeftOut) {
  EXPECT_EQ(ArchiveLevels("[1998]", "01", "Culture", "Intro"),
            (std::vector<std::string>{"1998", "01", "Culture", "Intro"}));
  EXPECT_EQ(ArchiveLevels("", "", "", "x"), (std::vector<std::string>{"x"}));
  EXPECT_EQ(ArchiveLevels("", "2\\Sonderausgabe", "", "a"),
            (std::vector<std::string>{"2", "Sondera", "a"}));
}

TEST(ArchiveLevelsTest, PartsThatReduceToNothingAddNoLevel) {
  EXPECT_EQ(ArchiveLevels("[]", "01\\\\", "&", "Intro"), (std::vector<std::string>{"01", "Intro"}));
}

TEST(PageSuffixTest, ByHtmlSuffix) {
  EXPECT_EQ(PageSuffix(0), "");
  EXPECT_EQ(PageSuffix(1), ".htm");
  EXPECT_EQ(PageSuffix(2), ".html");
  EXPECT_EQ(PageSuffix(7), ".htm");
}

class PagePathTest : public testing::Test {
 protected:
  TempFolder folder_;
  ExportSettings settings_{folder_.Path("a.ini")};

  void Fields(const char* path, const char* issue, const char* category, const char* file) {
    settings_.DestFolder = "/srv/Archive";
    settings_.Path = path;
    settings_.Issue = issue;
    settings_.Category = category;
    settings_.FileName = file;
  }
};

TEST_F(PagePathTest, FourLevels) {
  Fields("[1998]", "01", "Culture", "Intro");
  EXPECT_EQ(PagePath(settings_), "/srv/Archive/1998/01/Culture/Intro/Intro.htm");
  EXPECT_EQ(RelativeRootPrefix(settings_), "../../../../");
}

TEST_F(PagePathTest, OnlyAFileName) {
  Fields("", "", "", "x");
  EXPECT_EQ(PagePath(settings_), "/srv/Archive/x/x.htm");
  EXPECT_EQ(RelativeRootPrefix(settings_), "../");
}

TEST_F(PagePathTest, SeparatorInsideAFieldAddsTwoLevels) {
  Fields("[1998]", "2\\Sonderausgabe", "Culture", "Intro");
  EXPECT_EQ(PagePath(settings_), "/srv/Archive/1998/2/Sondera/Culture/Intro/Intro.htm");
  EXPECT_EQ(RelativeRootPrefix(settings_), "../../../../../");
}

TEST_F(PagePathTest, PrefixCountsOnlyRealLevels) {
  Fields("[]", "01", "", "Intro");
  EXPECT_EQ(PagePath(settings_), "/srv/Archive/01/Intro/Intro.htm");
  EXPECT_EQ(RelativeRootPrefix(settings_), "../../");
}

TEST_F(PagePathTest, SuffixesAndPreviewName) {
  Fields("", "", "", std::string(kPreviewName).c_str());
  settings_.HTMLSuffix = 2;
  EXPECT_EQ(PagePath(settings_), "/srv/Archive/mxt/mxt.html");
  settings_.HTMLSuffix = 0;
  EXPECT_EQ(PagePath(settings_), "/srv/Archive/mxt/mxt");
}

TEST_F(PagePathTest, FileNameWithSeparatorNamesAFileInsideItsOwnFolder) {
  Fields("", "", "", "Story\\Part Two");
  EXPECT_EQ(PagePath(settings_), "/srv/Archive/Story/PartTwo/PartTwo.htm");
}

TEST(TocPathTest, ExtensionReplacedOrAppended) {
  EXPECT_EQ(TocPath("/a/1998/Intro/Intro.htm"), "/a/1998/Intro/Intro.toc");
  EXPECT_EQ(TocPath("/a/Intro/Intro.html"), "/a/Intro/Intro.toc");
  EXPECT_EQ(TocPath("/a.b/Intro/Intro"), "/a.b/Intro/Intro.toc");
}

TEST(TocTextTest, SixLinesAsTyped) {
  TempFolder folder;
  ExportSettings settings(folder.Path("a.ini"));
  settings.Path = "[1998]";
  settings.Issue = "01";
  settings.Category = "Culture";
  settings.FileName = "Intro Page";
  settings.Headline = "Big \"news\"";
  EXPECT_EQ(TocText(settings),
            "EDITION=[1998]\r\nSUBEDITION=\r\nPAGE=Culture\r\nJOBNAME=Intro Page\r\n"
            "HEADLINE=Big \"news\"\r\nRELURL=\r\n");
}

TEST(RelativeLinkTest, SiblingFoldersAndSameFolder) {
  const std::string page = "/srv/Archive/1998/01/Culture/Intro/Intro.htm";
  EXPECT_EQ(RelativeLink("/srv/Archive/1998/01/Sports/Game/Game.htm", page),
            "../../Sports/Game/Game.htm");
  EXPECT_EQ(RelativeLink("/srv/Archive/1998/01/Culture/Intro/pic.gif", page), "pic.gif");
  EXPECT_EQ(RelativeLink("/srv/Archive/Standard/logo.gif", page), "../../../../Standard/logo.gif");
  EXPECT_EQ(RelativeLink("/other/x.htm", page), "../../../../../../other/x.htm");
}

TEST(RelativeLinkTest, BackslashesSplitAndBecomeSlashes) {
  EXPECT_EQ(RelativeLink("C:\\Archive\\1998\\b\\b.htm", "C:\\Archive\\1998\\a\\a.htm"),
            "../b/b.htm");
  EXPECT_EQ(RelativeLink("D:\\Web\\x.htm", "C:\\Archive\\a.htm"), "D:/Web/x.htm");
}

TEST(RelativeLinkTest, NothingInCommonStaysAsItIs) {
  EXPECT_EQ(RelativeLink("http://example.org/a", "/srv/a/a.htm"), "http://example.org/a");
  EXPECT_EQ(RelativeLink("Intro.htm", "/srv/a/a.htm"), "Intro.htm");
}

TEST(RelativeLinkTest, ComponentsCompareWithCase) {
  EXPECT_EQ(RelativeLink("/srv/ARCHIVE/a.htm", "/srv/Archive/b/b.htm"), "../../ARCHIVE/a.htm");
}

TEST(CreateFoldersTest, MakesParentsAndFailsUnderAFile) {
  TempFolder folder;
  EXPECT_TRUE(CreateFolders(folder.Path("a/b/c")));
  EXPECT_TRUE(std::filesystem::is_directory(folder.Path("a/b/c")));
  test::WriteFile(folder.Path("file"), "x");
  EXPECT_FALSE(CreateFolders(folder.Path("file/d")));
}

}  // namespace
}  // namespace xt
