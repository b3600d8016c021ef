#include "xt/export/export_variables.h"

#include <gtest/gtest.h>

#include <cstdlib>

#include "tests/xt/export_test_support.h"
#include "xt/export/export_settings.h"

namespace xt {
namespace {

using test::LocalMoment;
using test::TempFolder;

class VariablesTest : public testing::Test {
 protected:
  void SetUp() override {
    settings_.Path = "[1998]";
    settings_.Issue = "01";
    settings_.Category = "Culture";
    settings_.FileName = "Intro";
    settings_.Headline = "";
    settings_.now = [] { return LocalMoment(1998, 4, 2, 9, 5, 7); };
  }
  std::string Replaced(std::string text) {
    ReplaceVariables(settings_, text);
    return text;
  }

  TempFolder folder_;
  ExportSettings settings_{folder_.Path("a.ini")};
};

TEST(ReplaceAllTest, LeftToRightWithoutSearchingInsertedText) {
  std::string text = "$A:-$A:";
  EXPECT_EQ(ReplaceAll(text, "$A:", "x$A:y"), 2);
  EXPECT_EQ(text, "x$A:y-x$A:y");
  std::string none = "plain";
  EXPECT_EQ(ReplaceAll(none, "$A:", "b"), 0);
  EXPECT_EQ(ReplaceAll(none, "", "b"), 0);
  EXPECT_EQ(none, "plain");
}

TEST(ExpandLineBreaksTest, BackslashNBecomesCrLf) {
  EXPECT_EQ(ExpandLineBreaks("<HEAD>\\n<BODY>\\n"), "<HEAD>\r\n<BODY>\r\n");
  EXPECT_EQ(ExpandLineBreaks("a\\b\\"), "a\\b\\");
}

TEST_F(VariablesTest, TitleIsTheConvertedHeadline) {
  settings_.Headline = "Sport & Spiel";
  EXPECT_EQ(Replaced("<TITLE>$TITLE:</TITLE>"), "<TITLE>Sport &amp; Spiel</TITLE>");
  settings_.Headline = "One\\nTwo";
  EXPECT_EQ(Replaced("$TITLE:"), "One\r\nTwo");
}

TEST_F(VariablesTest, TitleFallsBackToFileName) {
  EXPECT_EQ(Replaced("$TITLE:"), "Intro");
  settings_.FileName = std::string(kPreviewName);
  EXPECT_EQ(Replaced("$TITLE:"), "$mxt");
}

TEST_F(VariablesTest, HomeIsTheRelativeRootPrefix) {
  EXPECT_EQ(Replaced("<IMG SRC=\"$HOME:initials/a.gif\">$HOME:"),
            "<IMG SRC=\"../../../../initials/a.gif\">../../../../");
}

TEST_F(VariablesTest, DateAndTimeFromTheClock) {
  EXPECT_EQ(Replaced("$DATE: $TIME:"), "1998:04:02 09:05:07");
}

TEST_F(VariablesTest, DateWithOffsetCrossesTheYear) {
  settings_.now = [] { return LocalMoment(1998, 12, 31, 12, 0, 0); };
  settings_.DateType = 1;
  settings_.DateOffset = 1;
  EXPECT_EQ(Replaced("$DATE:"), "1999:01:01");
  settings_.DateType = 0;
  EXPECT_EQ(Replaced("$DATE:"), "1998:12:31");
}

TEST_F(VariablesTest, FixedDateIsConvertedOnly) {
  test::WriteFile(settings_.profile_path(), "[Settings]\nFixedDate=Wednesday, 02.04.1998 <b>\n");
  settings_.DateType = 3;
  EXPECT_EQ(Replaced("$DATE:"), "Wednesday, 02.04.1998 &lt;b&gt;");
  settings_.DateType = 2;
  EXPECT_EQ(Replaced("[$DATE:]"), "[Wednesday, 02.04.1998 &lt;b&gt;]");
}

TEST_F(VariablesTest, TextWithoutVariablesIsUnchanged) {
  EXPECT_EQ(Replaced("<P>$HOME <B>$DATE</B>\\n"), "<P>$HOME <B>$DATE</B>\\n");
}

}  // namespace
}  // namespace xt
