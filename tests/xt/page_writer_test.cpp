#include "xt/export/page_writer.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstring>
#include <filesystem>

#include "tests/xt/export_test_support.h"
#include "tests/xt/fake_host.h"
#include "tests/xt/fake_text_filter.h"
#include "xt/export/box_record.h"
#include "xt/export/export_settings.h"

namespace xt {
namespace {

using test::FakeFilter;
using test::FakeHost;
using test::LocalMoment;
using test::ReadFile;
using test::TempFolder;
using test::WriteFile;

class PageWriterTest : public testing::Test {
 protected:
  void SetUp() override {
    settings_.DestFolder = folder_.Path("Archive");
    settings_.now = [] { return LocalMoment(1998, 4, 2, 10, 0, 0); };
    settings_.page_created = settings_.now();
    SetActiveSettings(&settings_);
  }
  void TearDown() override { SetActiveSettings(nullptr); }

  void Open() {
    settings_.page_path = folder_.Path("page.htm");
    settings_.output.reset(std::fopen(settings_.page_path.c_str(), "wb"));
    ASSERT_TRUE(settings_.output);
    settings_.column = 0;
  }
  std::string Close() {
    settings_.output.reset();
    return ReadFile(folder_.Path("page.htm"));
  }
  void SetJob(const char* path, const char* issue, const char* category, const char* file,
              const char* headline, const char* subheadline) {
    settings_.Path = path;
    settings_.Issue = issue;
    settings_.Category = category;
    settings_.FileName = file;
    settings_.Headline = headline;
    settings_.SubHeadline = subheadline;
    settings_.HeaderFile.clear();
    settings_.FooterFile.clear();
  }

  TempFolder folder_;
  ExportSettings settings_{folder_.Path("MarlixXT40.INI")};
};

TEST_F(PageWriterTest, OutputWriterBreaksOnlyBetweenWrites) {
  Open();
  const std::string long_line(100, 'x');
  WriteText(settings_, long_line);
  EXPECT_EQ(settings_.column, 0);
  WriteText(settings_, "ab\r\ncd");
  EXPECT_EQ(settings_.column, 2);
  WriteText(settings_, std::string(78, 'y'));
  EXPECT_EQ(settings_.column, 80);
  WriteText(settings_, "z");
  EXPECT_EQ(settings_.column, 0);
  WriteRaw(settings_, std::string(90, 'r'));
  EXPECT_EQ(settings_.column, 0);
  EXPECT_EQ(Close(),
            long_line + "\r\nab\r\ncd" + std::string(78, 'y') + "z\r\n" + std::string(90, 'r'));
}

TEST_F(PageWriterTest, HeadWithEmptyJobFields) {
  SetJob("", "", "", "", "", "");
  Open();
  WriteHead(settings_);
  EXPECT_EQ(Close(),
            "<!DOCTYPE HTML PUBLIC \"-//W3=//DTD W3 HTML 3.2//EN\">\r\n"
            "<HTML>\r\n<HEAD>\r\n<!-- #START META SEARCH -->\r\n"
            "<META name=\"GENERATOR\" content=\"MarlixXT 2.5.5 for QuarkXPress 4.0 Win95/NT\">"
            "\r\n"
            "<META name=\"YEAR\" content=\"\">\r\n"
            "<META name=\"ISSUE\" content=\"\">\r\n"
            "<META name=\"CATEGORY\" content=\"\">\r\n"
            "<META name=\"DESCRIPTION\" content=\"\">\r\n"
            "<META name=\"SUBDESCRIPTION\" content=\"\">\r\n"
            "<META name=\"HEADER\" content=\"\">\r\n"
            "<META name=\"FOOTER\" content=\"\">\r\n"
            "<META name=\"DATE\" content=\"02.04.1998\">\r\n"
            "<META name=\"REVISED\" content=\"02.04.1998\">\r\n"
            "<META name=\"VERSION\" content=\"1.0\">\r\n"
            "<!-- #STOP META SEARCH -->\r\n</HEAD>\r\n");
}

TEST_F(PageWriterTest, MetaValuesKeepTheirAttributeWhole) {
  SetJob("[1998]", "01", "Culture", "Intro", "Say \"cheese\" & <smile>", "Sub");
  settings_.HeaderFile = "Head";
  Open();
  WriteHead(settings_);
  const std::string page = Close();
  EXPECT_NE(page.find("<META name=\"YEAR\" content=\"[1998]\">\r\n"
                      "<META name=\"ISSUE\" content=\"01\">\r\n"
                      "<META name=\"CATEGORY\" content=\"Culture\">\r\n"
                      "<META name=\"DESCRIPTION\" content=\"Say &quot;cheese&quot; & <smile>\">"
                      "\r\n<META name=\"SUBDESCRIPTION\" content=\"Sub\">\r\n"
                      "<META name=\"HEADER\" content=\"Head\">\r\n"),
            std::string::npos)
      << page;
}

TEST_F(PageWriterTest, UserMetaTagsAskForUniqueEmptyContents) {
  FakeHost host;
  SetJob("", "", "", "Intro", "", "");
  settings_.UseMetaTags = true;
  settings_.meta_tags.clear();
  settings_.meta_tags["Author"] = MetaTag{"Author", "", true};
  settings_.meta_tags["Publisher"] = MetaTag{"Publisher", "Tarnby \"Press\"", false};
  settings_.meta_tags["Keywords"] = MetaTag{"Keywords", "fixed", true};
  host.QueueText("Smith");
  Open();
  WriteHead(settings_);
  const std::string page = Close();
  EXPECT_EQ(host.AskedPrompts(),
            (std::vector<std::string>{"Please enter the META tag content for\n\"Author\""}));
  EXPECT_NE(page.find("<META name=\"VERSION\" content=\"1.0\">\r\n"
                      "<META name=\"Author\" content=\"Smith\">\r\n"
                      "<META name=\"Keywords\" content=\"fixed\">\r\n"
                      "<META name=\"Publisher\" content=\"Tarnby &quot;Press&quot;\">\r\n"
                      "<!-- #STOP"),
            std::string::npos)
      << page;
  EXPECT_EQ(settings_.meta_tags.at("Author").content, "");
}

TEST_F(PageWriterTest, PreviewAndSwitchedOffTagsWriteNoUserTags) {
  FakeHost host;
  settings_.meta_tags["Author"] = MetaTag{"Author", "", true};
  for (const bool preview : {true, false}) {
    SetJob("", "", "", preview ? "$mxt" : "Intro", "", "");
    settings_.UseMetaTags = preview;
    Open();
    WriteHead(settings_);
    const std::string page = Close();
    EXPECT_EQ(page.find("Author"), std::string::npos);
    EXPECT_NE(page.find("\"1.0\">\r\n<!-- #STOP"), std::string::npos);
  }
  EXPECT_TRUE(host.AskedPrompts().empty());
}

TEST_F(PageWriterTest, InlineHeaderExpandsLineBreaksAndVariables) {
  SetJob("", "", "", "Intro", "Sport & Spiel", "");
  settings_.WriteString("Header", "<HEAD>\\n<TITLE>$TITLE:</TITLE>\\n</HEAD>\\n<BODY>\\n");
  Open();
  WriteHeader(settings_);
  EXPECT_EQ(Close(), "<HEAD>\r\n<TITLE>Sport &amp; Spiel</TITLE>\r\n</HEAD>\r\n<BODY>\r\n");
}

TEST_F(PageWriterTest, LongHeaderLineIsFollowedByALineBreak) {
  SetJob("", "", "", "Intro", "", "");
  const std::string line(100, 'h');
  settings_.WriteString("Header", line);
  Open();
  WriteHeader(settings_);
  EXPECT_EQ(Close(), line + "\r\n");
}

TEST_F(PageWriterTest, ExternalHeaderIsCopiedWithVariablesOnly) {
  SetJob("", "", "", "Intro", "", "");
  settings_.ExternalHeadFootFile = true;
  settings_.HeaderFile = "Sports";
  WriteFile(settings_.DestFolder + "/Standard/Headers/Sports",
            "<BODY>\\n$HOME:x " + std::string(90, 'w'));
  settings_.WriteString("Header", "inline");
  Open();
  WriteHeader(settings_);
  EXPECT_EQ(settings_.column, 0);
  EXPECT_EQ(Close(), "<BODY>\\n../x " + std::string(90, 'w'));
}

TEST_F(PageWriterTest, ExternalHeaderFallsBackToInline) {
  SetJob("", "", "", "Intro", "", "");
  settings_.ExternalHeadFootFile = true;
  settings_.WriteString("Header", "inline");
  std::filesystem::create_directories(settings_.DestFolder + "/Standard/Headers/Folder");
  for (const char* name : {"", "Missing", "Folder"}) {
    settings_.HeaderFile = name;
    Open();
    WriteHeader(settings_);
    EXPECT_EQ(Close(), "inline") << name;
  }
}

TEST_F(PageWriterTest, OversizedSnippetIsRefusedWithAMessage) {
  FakeHost host;
  SetJob("", "", "", "Intro", "", "");
  const std::string path = settings_.DestFolder + "/Standard/Footers/Huge";
  WriteFile(path, "");
  std::filesystem::resize_file(path, 0x7FFFFC18);  // sparse: nothing is really written
  Open();
  EXPECT_EQ(ReadExternalSnippet(settings_, "Huge", true), 1);
  Close();
  ASSERT_EQ(host.Messages().size(), 1u);
  EXPECT_EQ(host.Messages()[0].text, "External Footer-file too big 2147482648\r\n");
}

TEST_F(PageWriterTest, SeparatorByPreviousElement) {
  settings_.WriteString("TextBreak", "<HR>\\n");
  settings_.WriteString("PictBreak", "<BR>");
  Open();
  settings_.previous_element = ElementKind::kNone;
  WriteSeparator(settings_);
  settings_.previous_element = ElementKind::kText;
  WriteSeparator(settings_);
  settings_.previous_element = ElementKind::kPicture;
  WriteSeparator(settings_);
  EXPECT_EQ(Close(), "<HR>\\n\r\n<BR>\r\n");
}

TEST_F(PageWriterTest, TableStartLeftWithNothingElse) {
  Open();
  settings_.box_format.table = TableProperties{};
  WriteTableStart(settings_, 0);
  EXPECT_EQ(Close(), "\r\n<TABLE ALIGN=\"LEFT\">\r\n");
}

TEST_F(PageWriterTest, TableStartCentred) {
  Open();
  settings_.box_format.table = TableProperties{};
  settings_.box_format.table.alignment = 1;
  WriteTableStart(settings_, 0);
  EXPECT_EQ(Close(), "\r\n<CENTER>\r\n\r\n<TABLE >\r\n");
}

TEST_F(PageWriterTest, TableStartWithEveryAttribute) {
  FakeHost host;
  host.SetColor(5, XtRgb{0xFFFF, 0x8000, 0x0100});
  Open();
  settings_.box_format.table = TableProperties{2, 3, 4, 0, 5, 2, 90};
  WriteTableStart(settings_, 5);
  settings_.box_format.table = TableProperties{1, 0, 0, 0, 9, 1, 300};
  WriteTableStart(settings_, 7);  // a colour the host does not know
  EXPECT_EQ(Close(),
            "\r\n<TABLE BORDER=2 CELLPADDING=3 CELLSPACING=4 WIDTH=90% ALIGN=\"BOTTOM\" "
            "BGCOLOR=\"ff8001\">\r\n"
            "\r\n<TABLE BORDER=1 WIDTH=300 ALIGN=\"LEFT\">\r\n");
}

TEST_F(PageWriterTest, FinishPageWritesFooterAndEndWithoutLineEnd) {
  SetJob("", "", "", "Intro", "", "");
  settings_.WriteString("Footer", "<HR>\\nLast modified $DATE:");
  Open();
  WriteText(settings_, "body\r\n");
  EXPECT_EQ(FinishPage(settings_), 0);
  EXPECT_FALSE(settings_.output);
  EXPECT_TRUE(settings_.page_finished);
  EXPECT_EQ(settings_.footer_position, 6);
  EXPECT_EQ(ReadFile(folder_.Path("page.htm")),
            "body\r\n<HR>\r\nLast modified 1998:04:02</BODY></HTML>");
}

TEST_F(PageWriterTest, MissingExternalFooterGivesOne) {
  SetJob("", "", "", "Intro", "", "");
  settings_.ExternalHeadFootFile = true;
  settings_.FooterFile = "Missing";
  settings_.WriteString("Footer", "F");
  Open();
  EXPECT_EQ(FinishPage(settings_), 1);
  EXPECT_EQ(ReadFile(folder_.Path("page.htm")), "F</BODY></HTML>");
  WriteFile(settings_.DestFolder + "/Standard/Footers/Missing", "external");
  Open();
  EXPECT_EQ(FinishPage(settings_), 0);
  EXPECT_EQ(ReadFile(folder_.Path("page.htm")), "external</BODY></HTML>");
}

TEST_F(PageWriterTest, WriteErrorsAreReported) {
  if (!std::filesystem::exists("/dev/full")) GTEST_SKIP() << "no /dev/full";
  FakeHost host;
  SetJob("", "", "", "Intro", "", "");
  settings_.output.reset(std::fopen("/dev/full", "wb"));
  ASSERT_TRUE(settings_.output);
  WriteText(settings_, std::string(10000, 'x'));
  EXPECT_EQ(FinishPage(settings_), -1);
  ASSERT_EQ(host.Messages().size(), 1u);
  // The number as ever, then the file (unknown here: the stream was opened by hand) and why.
  EXPECT_EQ(host.Messages()[0].text,
            "File error " + std::to_string(ENOSPC) + "\n" + std::strerror(ENOSPC));
}

class TextBoxStepTest : public PageWriterTest {
 protected:
  void SetUp() override {
    PageWriterTest::SetUp();
    FakeFilter::Install(host_);
    settings_.WriteString("TextBreak", "<P>");
  }
  void SetRecord(XtBox box, int kind, std::uint32_t flags, int table_alignment = 0) {
    BoxRecord record;
    record.set_export_kind(static_cast<std::int16_t>(kind));
    record.set_flags(flags);
    record.set_table_alignment(static_cast<std::int16_t>(table_alignment));
    ASSERT_EQ(record.Attach(box, XT_RECORD_EXPORT), 0);
  }

  FakeHost host_;
};

TEST_F(TextBoxStepTest, ConvertsTheBoxThroughTheFilterInsideThePage) {
  const XtBox box = host_.AddTextBox();
  host_.AddRun(box, "Hello\r");
  host_.SetCurrentBox(box);
  host_.SetSelection(2, 3);
  settings_.default_flags = kFlagSendFace;
  Open();
  ExportTextBox(settings_, box, false);
  EXPECT_EQ(Close(), "[Hello\r]");
  EXPECT_TRUE(FakeFilter::inside_page);
  EXPECT_FALSE(settings_.inside_page_export);
  EXPECT_EQ(settings_.box_format.kind, kFormatNormal);
  EXPECT_EQ(settings_.box_format.flags, kFlagSendFace);
  std::int32_t start = 0, end = 0;
  Host().text.get_selection(&start, &end);
  EXPECT_EQ(std::make_pair(start, end), std::make_pair(2, 3));
}

TEST_F(TextBoxStepTest, SeparatorBeforeTheBox) {
  const XtBox box = host_.AddTextBox();
  host_.AddRun(box, "b");
  host_.SetCurrentBox(box);
  settings_.previous_element = ElementKind::kText;
  Open();
  ExportTextBox(settings_, box, false);
  EXPECT_EQ(Close(), "<P>\r\n[b]");
}

TEST_F(TextBoxStepTest, CaptionWritesOnlyItsSeparatorUnlessAskedFor) {
  const XtBox box = host_.AddTextBox();
  host_.AddRun(box, "caption");
  host_.SetCurrentBox(box);
  SetRecord(box, kFormatNormal, kFlagCaption);
  settings_.previous_element = ElementKind::kText;
  Open();
  ExportTextBox(settings_, box, false);
  settings_.previous_element = ElementKind::kNone;
  ExportTextBox(settings_, box, true);
  EXPECT_EQ(Close(), "<P>\r\n[caption]");
  EXPECT_EQ(settings_.box_format.flags, kFlagCaption);
}

TEST_F(TextBoxStepTest, TableFormatIsWrapped) {
  const XtBox box = host_.AddTextBox();
  host_.AddRun(box, "a\tb\r");
  host_.SetCurrentBox(box);
  SetRecord(box, kFormatTable, 0, 1);
  Open();
  ExportTextBox(settings_, box, false);
  EXPECT_EQ(Close(), "\r\n<CENTER>\r\n\r\n<TABLE >\r\n[a\tb\r]\r\n</TABLE>\r\n</CENTER>\r\n");
  EXPECT_EQ(settings_.box_format.kind, kFormatTable);
}

TEST_F(TextBoxStepTest, TextBoxExportedAsPictureGoesToThePictureStep) {
  const XtBox box = host_.AddTextBox();
  host_.AddRun(box, "text");
  host_.SetCurrentBox(box);
  SetRecord(box, kFormatPicture, 0);
  Open();
  ExportTextBox(settings_, box, false);
  const std::string page = Close();
  EXPECT_TRUE(page.starts_with("\r\n")) << page;
  EXPECT_NE(page.find("<IMG SRC=\""), std::string::npos) << page;
  EXPECT_EQ(FakeFilter::begins, 0);
}

TEST_F(TextBoxStepTest, OnlyThePartInTheBoxWhenIgnoringChains) {
  const XtBox first = host_.AddTextBox();
  host_.AddRun(first, "one\r");
  host_.AddRun(first, "two\r");
  const XtBox second = host_.AddChainedTextBox(first, 4);
  host_.SetCurrentBox(second);
  Open();
  ExportTextBox(settings_, second, false);
  EXPECT_EQ(Close(), "[two\r]");
}

TEST_F(TextBoxStepTest, WholeStoryWithTheFirstBoxOfAChain) {
  const XtBox first = host_.AddTextBox();
  host_.AddRun(first, "one\r");
  host_.AddRun(first, "two\r");
  const XtBox second = host_.AddChainedTextBox(first, 4);
  settings_.IgnoreChain = false;
  Open();
  host_.SetCurrentBox(second);
  ExportTextBox(settings_, second, false);
  host_.SetCurrentBox(first);
  ExportTextBox(settings_, first, false);
  EXPECT_EQ(Close(), "[one\r][two\r]");
}

TEST_F(TextBoxStepTest, EmptyBoxAndMissingFilterWriteNothing) {
  const XtBox empty = host_.AddTextBox();
  host_.SetCurrentBox(empty);
  Open();
  ExportTextBox(settings_, empty, false);
  EXPECT_EQ(Close(), "");
  EXPECT_EQ(FakeFilter::begins, 0);
}

TEST_F(TextBoxStepTest, AttachmentsFollowTheirBox) {
  const XtBox box = host_.AddTextBox();
  host_.AddRun(box, "t");
  host_.SetCurrentBox(box);
  const std::string gif = folder_.Path("Archive/Standard/logo.gif");
  WriteFile(gif, std::string("GIF89a\x40\x01\x20\x00", 10));
  const std::string html = folder_.Path("Archive/Standard/box.htm");
  WriteFile(html, "<A HREF=\"$HOME:index.htm\">");
  settings_.library_attachments = {
      {gif, box, true, 1}, {html, box, true, 0}, {gif, 0, true, 0}, {gif, box, false, 0}};
  settings_.page_path = folder_.Path("Archive/1998/Intro/Intro.htm");
  settings_.Path = "[1998]";
  settings_.Issue = settings_.Category = "";
  settings_.FileName = "Intro";
  settings_.output.reset(std::fopen(folder_.Path("page.htm").c_str(), "wb"));
  ExportTextBox(settings_, box, false);
  EXPECT_EQ(Close(),
            "[t]<CENTER><IMG SRC=\"../../Standard/logo.gif\" HSPACE=2 VSPACE=2 ALT=\"\" "
            "ALIGN=\"CENTER\" HEIGHT=32 WIDTH=320>\r\n</CENTER><A HREF=\"../../index.htm\">");
}

TEST_F(PageWriterTest, AttachmentSizesFromGifAndJpegFiles) {
  const std::string jpeg = folder_.Path("a.JPG");
  // SOI, an APP0 segment of odd length, then a baseline frame of 480 x 64.
  WriteFile(jpeg,
            std::string("\xFF\xD8\xFF\xE0\x00\x05JFI\xFF\xC0\x00\x11\x08\x00\x40\x01\xE0", 19));
  const std::string progressive = folder_.Path("p.jpeg");
  WriteFile(progressive, std::string("\xFF\xD8\xFF\xC2\x00\x11\x08\x00\x10\x00\x20", 11));
  const std::string no_frame = folder_.Path("n.jpg");
  WriteFile(no_frame, std::string("\xFF\xD8\xFF\xD9", 4));
  const std::string short_gif = folder_.Path("s.gif");
  WriteFile(short_gif, "GIF8");
  settings_.ImageHSpace = 4;
  settings_.ImageVSpace = 6;
  settings_.library_attachments = {{jpeg, 0, true, 2},
                                   {progressive, 0, true, 0},
                                   {no_frame, 0, true, 0},
                                   {short_gif, 0, true, 0},
                                   {folder_.Path("missing.gif"), 0, true, 0},
                                   {folder_.Path("x.txt"), 0, true, 0}};
  settings_.page_path = folder_.Path("page.htm");
  Open();
  settings_.previous_element = ElementKind::kPicture;
  WriteAttachments(settings_, 0);
  EXPECT_EQ(Close(),
            "<P>\r\n<IMG SRC=\"a.JPG\" HSPACE=4 VSPACE=6 ALT=\"\" ALIGN=\"RIGHT\" HEIGHT=64 "
            "WIDTH=480>\r\n"
            "<P>\r\n<IMG SRC=\"p.jpeg\" HSPACE=4 VSPACE=6 ALT=\"\" ALIGN=\"LEFT\" HEIGHT=16 "
            "WIDTH=32>\r\n");
}

}  // namespace
}  // namespace xt
