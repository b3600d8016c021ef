#include "xt/export/export_settings.h"

#include <gtest/gtest.h>

#include <cstdlib>

#include "platform/config_folder.h"
#include "platform/profile.h"
#include "tests/xt/export_test_support.h"

namespace xt {
namespace {

using test::ReadFile;
using test::TempFolder;
using test::WriteFile;

TEST(ExportSettingsTest, DefaultMainFolderBelowAHomeAbove127IsWindows1252Text) {
  TempFolder folder;
  const char* saved = std::getenv("HOME");
  const std::string home = saved ? saved : "";
  setenv("HOME", "/home/j\u00f6rg", 1);
  const ExportSettings settings(folder.Path("MarlixXT40.INI"));
  setenv("HOME", home.c_str(), 1);
  EXPECT_EQ(settings.DestFolder, "/home/j\xF6rg/MarlixXT_2.5/Archive");
}

TEST(ExportSettingsTest, MissingFileGivesEveryDefault) {
  TempFolder folder;
  const ExportSettings settings(folder.Path("MarlixXT40.INI"));
  EXPECT_EQ(settings.DestFolder, platform::HomeFolder() + "/MarlixXT_2.5/Archive");
  EXPECT_EQ(settings.default_flags, 0u);
  EXPECT_EQ(settings.Explorer, 1);
  EXPECT_FALSE(settings.UseMetaTags);
  EXPECT_EQ(settings.HeadingSize, (std::array<XtFixed, 6>{16 << 16, 15 << 16, 14 << 16, 0, 0, 0}));
  EXPECT_EQ(settings.HTMLSuffix, 1);
  EXPECT_TRUE(settings.OpenBrowser);
  EXPECT_TRUE(settings.IgnoreChain);
  EXPECT_TRUE(settings.DosNames);
  EXPECT_FALSE(settings.ExternalHeadFootFile);
  EXPECT_EQ(settings.PictType, kPictureGif);
  EXPECT_EQ(settings.DateType, 0);
  EXPECT_EQ(settings.DateOffset, 1);
  EXPECT_EQ(settings.ImageVSpace, 2);
  EXPECT_EQ(settings.ImageHSpace, 2);
  EXPECT_EQ(settings.Path, "[1998]");
  EXPECT_EQ(settings.Issue, "01");
  EXPECT_EQ(settings.Category, "Culture");
  EXPECT_EQ(settings.Headline, "This is the headline for table of contents");
  EXPECT_EQ(settings.SubHeadline, "This is the sub headline for table of contents");
  EXPECT_EQ(settings.character_table[38], "&amp;");
  EXPECT_FALSE(std::filesystem::exists(folder.Path("MarlixXT40.INI")));
}

TEST(ExportSettingsTest, KeysReadAtUseHaveTheirDefaults) {
  TempFolder folder;
  const ExportSettings settings(folder.Path("x.ini"));
  EXPECT_EQ(settings.ReadString("TextBreak"), "<P>");
  EXPECT_EQ(settings.ReadString("PictBreak"), "<P>");
  EXPECT_EQ(settings.ReadString("LeftIndent"),
            "<IMG SRC=\"$HOME:initials/indent.gif\" ALIGN=LEFT WIDTH=8 HEIGHT=5 ALT=\"\">");
  EXPECT_EQ(settings.ReadString("Rubrics"), "Culture|Economy|Politics|Sports|");
  EXPECT_EQ(settings.ReadString("Indexer"), "indexer");
  EXPECT_EQ(settings.ReadString("Header"), "");
  EXPECT_EQ(settings.ReadString("WindowPos"), "100 100");
  EXPECT_EQ(settings.ReadInt("ImageCaptionVSpace"), 2);
  EXPECT_EQ(settings.ReadString("NoSuchKey"), "");
}

TEST(ExportSettingsTest, ValuesFromTheFile) {
  TempFolder folder;
  const std::string ini = folder.Path("MarlixXT40.INI");
  WriteFile(ini,
            "[Settings]\r\nDestFolder=/srv/Web/\r\nFontFace=1\r\nTextColor=1\r\nExplorer=0\r\n"
            "UseMetaTags=1\r\nH4Size=12\r\nHTMLSuffix=2\r\nOpenBrowser=0\r\nIgnoreChain=0\r\n"
            "DosNames=0\r\nExternalHeadFootFile=1\r\nPictType=5\r\nDateType=3\r\n"
            "DateOffset=-2\r\nImageVSpace=7\r\nImageHSpace=9\r\nHeader=<B>\\n\r\n"
            "[ExportDialog]\r\nPath=[1999]\r\nIssue=02\r\nCategory=Sports\r\n"
            "HeaderFile=Sports\r\nFooterFile=Foot\r\nHeadline=H\r\nSubHeadline=S\r\n");
  const ExportSettings settings(ini);
  EXPECT_EQ(settings.DestFolder, "/srv/Web");
  EXPECT_EQ(settings.default_flags, kFlagSendFace | kFlagSendColor);
  EXPECT_EQ(settings.Explorer, 0);
  EXPECT_TRUE(settings.UseMetaTags);
  EXPECT_EQ(settings.HeadingSize[3], 12 << 16);
  EXPECT_EQ(settings.HTMLSuffix, 2);
  EXPECT_FALSE(settings.OpenBrowser);
  EXPECT_FALSE(settings.IgnoreChain);
  EXPECT_FALSE(settings.DosNames);
  EXPECT_TRUE(settings.ExternalHeadFootFile);
  EXPECT_EQ(settings.PictType, kPictureJpeg | kPictureInterlaced);
  EXPECT_EQ(settings.DateType, 3);
  EXPECT_EQ(settings.DateOffset, -2);
  EXPECT_EQ(settings.ImageVSpace, 7);
  EXPECT_EQ(settings.ImageHSpace, 9);
  EXPECT_EQ(settings.ReadString("Header"), "<B>\\n");
  EXPECT_EQ(settings.Path, "[1999]");
  EXPECT_EQ(settings.Issue, "02");
  EXPECT_EQ(settings.Category, "Sports");
  EXPECT_EQ(settings.HeaderFile, "Sports");
  EXPECT_EQ(settings.FooterFile, "Foot");
  EXPECT_EQ(settings.Headline, "H");
  EXPECT_EQ(settings.SubHeadline, "S");
}

TEST(ExportSettingsTest, OutOfRangeSuffixCountsAsHtm) {
  TempFolder folder;
  const std::string ini = folder.Path("a.ini");
  WriteFile(ini, "[Settings]\nHTMLSuffix=7\n");
  EXPECT_EQ(ExportSettings(ini).HTMLSuffix, 1);
  WriteFile(ini, "[Settings]\nHTMLSuffix=-1\n");
  EXPECT_EQ(ExportSettings(ini).HTMLSuffix, 1);
  WriteFile(ini, "[Settings]\nHTMLSuffix=0\n");
  EXPECT_EQ(ExportSettings(ini).HTMLSuffix, 0);
}

TEST(ExportSettingsTest, PictTypeZeroSelectsGif) {
  TempFolder folder;
  const std::string ini = folder.Path("a.ini");
  WriteFile(ini, "[Settings]\nPictType=0\n");
  EXPECT_EQ(ExportSettings(ini).PictType, kPictureGif);
  WriteFile(ini, "[Settings]\nPictType=6\n");
  EXPECT_EQ(ExportSettings(ini).PictType, kPictureGif | kPictureInterlaced);
}

TEST(ExportSettingsTest, WriteAndReadKeysInTheirSections) {
  TempFolder folder;
  const std::string ini = folder.Path("a.ini");
  const ExportSettings settings(ini);
  settings.WriteString("headline", "New");
  settings.WriteInt("Explorer", 0);
  EXPECT_EQ(platform::GetProfileString(ini, "ExportDialog", "Headline", ""), "New");
  EXPECT_EQ(settings.ReadString("Headline"), "New");
  EXPECT_EQ(settings.ReadInt("Explorer"), 0);
}

TEST(ExportSettingsTest, SetJobFieldByName) {
  TempFolder folder;
  ExportSettings settings(folder.Path("a.ini"));
  for (const char* name : {"Path", "Issue", "Category", "FileName", "Headline", "SubHeadline",
                           "HeaderFile", "FooterFile"}) {
    EXPECT_TRUE(settings.SetJobField(name, std::string("v-") + name)) << name;
  }
  EXPECT_FALSE(settings.SetJobField("DestFolder", "/x"));
  EXPECT_FALSE(settings.SetJobField("path", "x"));
  EXPECT_EQ(settings.Path, "v-Path");
  EXPECT_EQ(settings.Issue, "v-Issue");
  EXPECT_EQ(settings.Category, "v-Category");
  EXPECT_EQ(settings.FileName, "v-FileName");
  EXPECT_EQ(settings.Headline, "v-Headline");
  EXPECT_EQ(settings.SubHeadline, "v-SubHeadline");
  EXPECT_EQ(settings.HeaderFile, "v-HeaderFile");
  EXPECT_EQ(settings.FooterFile, "v-FooterFile");
  EXPECT_NE(settings.DestFolder, "/x");
}

TEST(ExportSettingsTest, StoreJobFieldsWritesTheExportDialogKeys) {
  TempFolder folder;
  const std::string ini = folder.Path("a.ini");
  ExportSettings settings(ini);
  settings.Path = "[2001]";
  settings.Category = "Sports";
  settings.Headline = "Head";
  settings.OpenBrowser = false;
  settings.StoreJobFields();
  const ExportSettings again(ini);
  EXPECT_EQ(again.Path, "[2001]");
  EXPECT_EQ(again.Category, "Sports");
  EXPECT_EQ(again.Headline, "Head");
  EXPECT_FALSE(again.OpenBrowser);
  EXPECT_TRUE(again.IgnoreChain);
}

TEST(ExportSettingsMetaTagsTest, FiveDefaultsWhenTheSectionIsMissing) {
  TempFolder folder;
  const ExportSettings settings(folder.Path("a.ini"));
  ASSERT_EQ(settings.meta_tags.size(), 5u);
  EXPECT_EQ(settings.meta_tags.at("Publisher").content, "Your publisher name");
  EXPECT_EQ(settings.meta_tags.at("Publication").content, "Your publication name");
  EXPECT_EQ(settings.meta_tags.at("URL").content, "URL to your site");
  EXPECT_FALSE(settings.meta_tags.at("URL").unique);
  EXPECT_TRUE(settings.meta_tags.at("Author").unique);
  EXPECT_EQ(settings.meta_tags.at("Author").content, "");
  EXPECT_TRUE(settings.meta_tags.at("Keywords").unique);
}

TEST(ExportSettingsMetaTagsTest, ContentAndUniqueFlagSplitAtTheFirstFF) {
  TempFolder folder;
  const std::string ini = folder.Path("a.ini");
  WriteFile(ini,
            "[MetaTags]\nAuthor=Smith\nTopic=a\xff"
            "b\xff"
            "1\nRobots=\xff"
            "1\nEmpty=x\xff\n");
  const ExportSettings settings(ini);
  ASSERT_EQ(settings.meta_tags.size(), 4u);
  EXPECT_EQ(settings.meta_tags.at("Author").content, "Smith");
  EXPECT_FALSE(settings.meta_tags.at("Author").unique);
  EXPECT_EQ(settings.meta_tags.at("Topic").content, "a");
  EXPECT_FALSE(settings.meta_tags.at("Topic").unique);  // "b\xff1" is no number
  EXPECT_EQ(settings.meta_tags.at("Robots").content, "");
  EXPECT_TRUE(settings.meta_tags.at("Robots").unique);
  EXPECT_FALSE(settings.meta_tags.at("Empty").unique);
}

TEST(ExportSettingsMetaTagsTest, EveryKeyIsLoadedWithItsWholeValue) {
  TempFolder folder;
  const std::string ini = folder.Path("a.ini");
  std::string text = "[MetaTags]\n";
  const std::string long_content(1000, 'c');
  for (int i = 0; i < 100; ++i) {
    text += "LongTagName" + std::to_string(i) + "=" + long_content + "\xff" + "0\n";
  }
  WriteFile(ini, text);
  ExportSettings settings(ini);
  ASSERT_EQ(settings.meta_tags.size(), 100u);
  EXPECT_EQ(settings.meta_tags.at("LongTagName99").content, long_content);
  settings.SaveMetaTags();
  EXPECT_EQ(ExportSettings(ini).meta_tags.size(), 100u);
  EXPECT_EQ(ExportSettings(ini).meta_tags.at("LongTagName0").content, long_content);
}

TEST(ExportSettingsMetaTagsTest, SaveReplacesTheSectionAndKeepsOtherSections) {
  TempFolder folder;
  const std::string ini = folder.Path("a.ini");
  WriteFile(ini,
            "[MetaTags]\nOld=1\xff"
            "0\n[Settings]\nHTMLSuffix=2\n");
  ExportSettings settings(ini);
  settings.meta_tags.clear();
  settings.meta_tags["B"] = MetaTag{"B", "two", true};
  settings.meta_tags["A"] = MetaTag{"A", "one", false};
  settings.SaveMetaTags();
  EXPECT_EQ(ReadFile(ini),
            "[Settings]\nHTMLSuffix=2\n[MetaTags]\nA=one\xff"
            "0\nB=two\xff"
            "1\n");
}

TEST(ExportSettingsMetaTagsTest, DeletingEveryTagBringsTheDefaultsBack) {
  TempFolder folder;
  const std::string ini = folder.Path("a.ini");
  ExportSettings settings(ini);
  settings.meta_tags.clear();
  settings.SaveMetaTags();
  EXPECT_TRUE(platform::GetProfileKeys(ini, "MetaTags").empty());
  EXPECT_EQ(ExportSettings(ini).meta_tags.size(), 5u);
}

TEST(ExportSettingsTest, ActiveSettingsIsWhatWasSet) {
  TempFolder folder;
  ExportSettings settings(folder.Path("a.ini"));
  ExportSettings* before = ActiveSettings();
  SetActiveSettings(&settings);
  EXPECT_EQ(ActiveSettings(), &settings);
  SetActiveSettings(before);
}

}  // namespace
}  // namespace xt
