#include <string>

#include <gtest/gtest.h>

#include "indexer/engine/frames_document.h"
#include "indexer/engine/index_html.h"
#include "indexer/engine/index_writer_settings.h"
#include "indexer/store/settings_keys.h"
#include "indexer/store/settings_store.h"

namespace indexer {
namespace {

constexpr const char* kGenerator =
    "<!DOCTYPE HTML PUBLIC \"-//W30//DTD W3 HTML 2.0//EN\">\n"
    "<!-- Created with \"Marlix Index 3.0.1\" by Tarnby -->\n";

IndexWriterSettings Defaults() {
  SettingsStore store;
  StoreDefaultSettings(store);
  return ReadIndexWriterSettings(store);
}

TEST(FramesDocumentTest, WithoutOptionalFramesOnlyTheInnerFramesetIsWritten) {
  IndexWriterSettings settings = Defaults();
  settings.showHeader = settings.showCategory = settings.showFooter = false;
  settings.body.scrollable = false;
  settings.body.resizable = false;
  EXPECT_EQ(FramesDocumentStart(settings, "content.htm", "category.htm"),
            std::string(kGenerator) +
                "<HTML>\n<HEAD><TITLE>Index</TITLE></HEAD>\n"
                "<FRAMESET COLS=\"*, 65%\">\n"
                "\t<FRAME SRC=\"content.htm\" NAME=\"IndexList\" SCROLLING=\"NO\">\n"
                "\t<FRAME SRC=\"../../GIFs/Start.html\" NAME=\"IndexBody\" SCROLLING=\"YES\" "
                "RESIZABLE>\n"
                "</FRAMESET>\n"
                "<NOFRAMES>\n<HR>!! Frames-View: Please use Netscape 2.0 or higher...<HR>\n");
}

TEST(FramesDocumentTest, RowListFollowsTheShownFrames) {
  IndexWriterSettings settings = Defaults();
  settings.header.size = "60";
  settings.footer.size = "40";
  settings.showCategory = false;
  const std::string both = FramesDocumentStart(settings, "content.html", "category.html");
  EXPECT_NE(both.find("<FRAMESET ROWS=\"60, *, 40\">\n"
                      "\t<FRAME SRC=\"../../GIFs/header.html\" SCROLLING=\"NO\">\n"
                      "<FRAMESET COLS="),
            std::string::npos);
  EXPECT_NE(both.find("</FRAMESET>\n"
                      "\t<FRAME SRC=\"../../GIFs/footer.html\" SCROLLING=\"NO\">\n"
                      "</FRAMESET>\n<NOFRAMES>"),
            std::string::npos);

  settings.showCategory = true;
  settings.showFooter = false;
  EXPECT_NE(FramesDocumentStart(settings, "content.html", "category.html")
                .find("<FRAMESET ROWS=\"60, 36, *\">\n"
                      "\t<FRAME SRC=\"../../GIFs/header.html\" SCROLLING=\"NO\">\n"
                      "\t<FRAME SRC=\"category.html\" SCROLLING=\"NO\">\n"),
            std::string::npos);

  settings.showHeader = false;
  settings.showFooter = true;
  settings.showCategory = false;
  EXPECT_NE(FramesDocumentStart(settings, "c", "k").find("<FRAMESET ROWS=\"*, 40\">\n"),
            std::string::npos);
}

TEST(FramesDocumentTest, EmptyBodyUrlShowsTheListInBothFrames) {
  IndexWriterSettings settings = Defaults();
  settings.body.url.clear();
  EXPECT_NE(FramesDocumentStart(settings, "content.html", "category.html")
                .find("\t<FRAME SRC=\"content.html\" NAME=\"IndexList\" SCROLLING=\"YES\" "
                      "RESIZABLE>\n"
                      "\t<FRAME SRC=\"content.html\" NAME=\"IndexBody\" SCROLLING=\"YES\" "
                      "RESIZABLE>\n"),
            std::string::npos);
}

TEST(FramesDocumentTest, CategoryFrameShowsTheCategoryDocumentActuallyWritten) {
  IndexWriterSettings settings = Defaults();
  ASSERT_EQ(settings.category.url, "category.html");
  EXPECT_NE(FramesDocumentStart(settings, "content.htm", "category.htm")
                .find("\t<FRAME SRC=\"category.htm\" SCROLLING=\"NO\">\n"),
            std::string::npos);
  settings.category.url = "../menu.html";
  EXPECT_NE(FramesDocumentStart(settings, "content.htm", "category.htm")
                .find("\t<FRAME SRC=\"../menu.html\" SCROLLING=\"NO\">\n"),
            std::string::npos);
}

TEST(FramesDocumentTest, WarningIsEncodedButNotSubstituted) {
  IndexWriterSettings settings = Defaults();
  settings.framesWarning = "Bitte \xFC $YEAR:";
  EXPECT_TRUE(FramesDocumentStart(settings, "c", "k")
                  .ends_with("</FRAMESET>\n<NOFRAMES>\nBitte &uuml; $YEAR:\n"));
}

TEST(FramesDocumentTest, FrameLineFlags) {
  EXPECT_EQ(FrameLine("h.html", {"", "80", false, false}),
            "\t<FRAME SRC=\"h.html\" SCROLLING=\"NO\">\n");
  EXPECT_EQ(FrameLine("h.html", {"", "80", true, false}),
            "\t<FRAME SRC=\"h.html\" SCROLLING=\"YES\">\n");
  EXPECT_EQ(FrameLine("h.html", {"", "80", false, true}),
            "\t<FRAME SRC=\"h.html\" SCROLLING=\"NO\" RESIZABLE>\n");
}

TEST(CategoryFrameTest, HeadLinksAndFoot) {
  IndexWriterSettings settings = Defaults();
  settings.categoryHeaderBefore = "<HTML><HEAD>\xE4$ISSUE:";
  settings.categoryDelimiter = "";
  EXPECT_EQ(CategoryFrameHead(settings),
            std::string(kGenerator) +
                "<HTML><HEAD>&auml;$ISSUE:<TITLE>Category</TITLE></HEAD><BODY "
                "BGCOLOR=\"FFFFFF\">\n");
  EXPECT_EQ(CategoryFrameLink(settings, "content.htm", "Entertainment", "Entertainment"),
            "<A HREF=\"content.htm#Entertainment\" TARGET=\"IndexList\">Entertainment</A>\n");
  settings.categoryDelimiter = " | ";
  EXPECT_EQ(CategoryFrameLink(settings, "content.htm", "NEWS", "News"),
            "<A HREF=\"content.htm#NEWS\" TARGET=\"IndexList\">News</A> | \n");

  settings.authorName.clear();
  settings.categoryFooterBefore = "<HR>$YEAR:";
  EXPECT_EQ(CategoryFrameFoot(settings, IndexVariables(), {"1998", "01"}),
            "<HR>1998</BODY></HTML>");
}

TEST(ListTagsTest, FirstKindBitDecides) {
  ListSettings list{kListDefinition, "<X>", "<T>", "<D>", "</X>"};
  ListTags tags = ListTagsFor(list);
  EXPECT_EQ(tags.open, "<DL>\n");
  EXPECT_EQ(tags.close, "</DL>\n");
  EXPECT_EQ(tags.topic, "<DT>");
  EXPECT_EQ(tags.text, "<DD>");

  list.type = kListDefinition | kListCompact;
  EXPECT_EQ(ListTagsFor(list).open, "<DL COMPACT>\n");

  list.type = kListNumbered | kListUnnumbered;
  tags = ListTagsFor(list);
  EXPECT_EQ(tags.open, "<OL>\n");
  EXPECT_EQ(tags.close, "</OL>\n");
  EXPECT_EQ(tags.topic, "<LI>");
  EXPECT_EQ(tags.text, "");

  list.type = kListUnnumbered | kListCompact;
  EXPECT_EQ(ListTagsFor(list).open, "<UL>\n");
}

TEST(ListTagsTest, CustomListUsesItsTextsAsStored) {
  ListSettings list{kListCustom, "<TABLE>", "<TR><TD>", "<TD>$DATE:", "</TABLE>"};
  ListTags tags = ListTagsFor(list);
  EXPECT_EQ(tags.open, "<TABLE>");
  EXPECT_EQ(tags.close, "</TABLE>");
  EXPECT_EQ(tags.topic, "<TR><TD>");
  EXPECT_EQ(tags.text, "<TD>$DATE:");

  list.type = kListNumbered | kListCustom;
  tags = ListTagsFor(list);
  EXPECT_EQ(tags.open, "<OL>\n");
  EXPECT_EQ(tags.topic, "<TR><TD>");
}

TEST(ListTagsTest, NoKindBitGivesBareItems) {
  const ListTags tags = ListTagsFor({kListCompact, "<X>", "<T>", "<D>", "</X>"});
  EXPECT_EQ(tags.open, "");
  EXPECT_EQ(tags.close, "");
  EXPECT_EQ(tags.topic, "<LI>");
  EXPECT_EQ(tags.text, "");
}

TEST(IndexHtmlTest, HeadAndFootApplyVariables) {
  IndexWriterSettings settings = Defaults();
  settings.indexHeaderBefore = "<HTML>$ISSUE:";
  settings.indexFooterAfter = "";
  settings.authorName = "A";
  settings.authorURL = "mailto:$YEAR:";
  const IndexVariables variables;
  EXPECT_EQ(
      StandardHead(settings, variables, {"1998", "07"}),
      std::string(kGenerator) + "<HTML>07<TITLE>Index</TITLE></HEAD><BODY BGCOLOR=\"FFFFFF\">\n");
  EXPECT_EQ(StandardFoot(settings, variables, {"1998", "07"}),
            "<HR><ADDRESS><A HREF=\"mailto:1998\" TARGET=\"About\">A</A></ADDRESS>\n");
}

TEST(IndexWriterSettingsTest, ReadsTheStoredValues) {
  SettingsStore store;
  StoreDefaultSettings(store);
  store.SetShort(kDateOffset, static_cast<std::uint16_t>(-3));
  store.SetShort(kDateFormat, kOffsetDateFormat);
  store.SetBool(kLinkDocuments, true);
  const IndexWriterSettings settings = ReadIndexWriterSettings(store);
  EXPECT_EQ(settings.date.offsetDays, -3);
  EXPECT_EQ(settings.date.format, kOffsetDateFormat);
  EXPECT_TRUE(settings.linkDocuments);
  EXPECT_TRUE(settings.dosEnding);
  EXPECT_FALSE(settings.createFrames);
  EXPECT_EQ(settings.footer.url, "../../GIFs/footer.html");
  EXPECT_EQ(settings.issueHeader, "<H1>Index of $ISSUE:/$YEAR:</H1>");
  EXPECT_EQ(settings.issueList.type, kListDefinition);
  EXPECT_EQ(settings.categoryDelimiter, " | ");

  const IndexWriterSettings empty = ReadIndexWriterSettings(SettingsStore());
  EXPECT_EQ(empty.authorName, "");
  EXPECT_FALSE(empty.showHeader);
}

}  // namespace
}  // namespace indexer
