#include <gtest/gtest.h>

#include <filesystem>

#include "tests/xt/export_test_support.h"
#include "tests/xt/fake_host.h"
#include "tests/xt/fake_text_filter.h"
#include "tests/xt/picture_support.h"
#include "xt/export/box_record.h"
#include "xt/export/export_settings.h"
#include "xt/export/picture_capture.h"
#include "xt/export/picture_step.h"
#include "xt/picture/gif_preview.h"
#include "xt/picture/jpeg_preview.h"

namespace xt {
namespace {

using test::FakeFilter;
using test::FakeHost;
using test::FixRect;
using test::ReadFile;
using test::TempFolder;

TEST(PictureBaseName, KeepsLettersAndDigitsInLowerCase) {
  EXPECT_EQ(PictureBaseName("Big Photo #1.TIF", true), "bigphoto");
  EXPECT_EQ(PictureBaseName("Big Photo #1.TIF", false), "bigphoto1tif");
  EXPECT_EQ(PictureBaseName("#%&!.", true), "pic");
  EXPECT_EQ(PictureBaseName("\xE9t\xE9 2.gif", true), "t2gif");
  EXPECT_EQ(PictureBaseName(std::string(40, 'A'), false), std::string(27, 'a'));
}

class PictureExportTest : public testing::Test {
 protected:
  void SetUp() override {
    settings_.DestFolder = folder_.Path("Archive");
    settings_.Path = "1998";
    settings_.Issue = "01";
    settings_.Category = "Culture";
    settings_.FileName = "Intro";
    settings_.page_path = folder_.Path("Archive/1998/01/Culture/Intro/Intro.htm");
    std::filesystem::create_directories(folder_.Path("Archive/1998/01/Culture/Intro"));
    settings_.output.reset(std::fopen(settings_.page_path.c_str(), "wb"));
    ASSERT_TRUE(settings_.output);
    SetActiveSettings(&settings_);
  }
  void TearDown() override { SetActiveSettings(nullptr); }

  std::string Page() {
    settings_.output.reset();
    return ReadFile(settings_.page_path);
  }
  std::string Beside(const std::string& name) const {
    return folder_.Path("Archive/1998/01/Culture/Intro/" + name);
  }
  void SetRecord(XtBox box, std::uint32_t key, const BoxRecord& record) {
    host_.SetRecord(box, key, {record.bytes().begin(), record.bytes().end()});
  }

  FakeHost host_;
  TempFolder folder_;
  ExportSettings settings_{folder_.Path("MarlixXT40.INI")};
};

TEST_F(PictureExportTest, BoxWithoutRecordIsTheDefaultGifAtItsOwnSize) {
  const XtBox box = host_.AddPictureBox(FixRect(0, 0, 100, 200), 0, "Photo.TIF");
  host_.SetRenderColor(box, {0xFFFF, 0, 0});
  EXPECT_FALSE(ExportPictureBox(settings_, box, false));
  EXPECT_EQ(settings_.previous_element, ElementKind::kPicture);
  EXPECT_EQ(Page(),
            "\r\n\r\n\r\n<IMG SRC=\"phototif.gif\" HSPACE=2 VSPACE=2 BORDER=0 ALT=\"\" "
            "ALIGN=\"LEFT\" HEIGHT=100 WIDTH=200>\r\n");  // the line is over 80 columns
  const auto gif = picture_test::DecodeWithGiflib(*ReadWholeFile(Beside("phototif.gif")));
  ASSERT_TRUE(gif);
  EXPECT_EQ(gif->width, 200);
  EXPECT_EQ(gif->height, 100);
  EXPECT_NEAR(gif->colors[gif->indices[0]].r, 255, 4);
  EXPECT_EQ(host_.LiveHandles(), 0);
}

TEST_F(PictureExportTest, RecordChoosesFormatAndTargetWidthScales) {
  const XtBox box = host_.AddPictureBox(FixRect(0, 0, 100, 200));
  BoxRecord record;
  record.set_target_width(test::Fix(100));        // half the box width
  record.set_picture_format(kPictureInterlaced);  // neither file type: JPEG
  record.set_alignment(2);
  record.set_hspace(5);
  record.set_alt_text("Sea");
  record.set_border(1);
  SetRecord(box, XT_RECORD_PICTURE, record);
  settings_.now = [] { return std::time_t{42}; };
  ExportPictureBox(settings_, box, false);
  const std::string page = Page();
  const auto src = page.find("<IMG SRC=\"");
  ASSERT_NE(src, std::string::npos);
  const std::string name = page.substr(src + 10, page.find('"', src + 10) - src - 10);
  EXPECT_TRUE(name.ends_with(".jpg")) << name;
  EXPECT_GE(name.size(), 6u + 4);
  EXPECT_NE(
      page.find("\" HSPACE=5 VSPACE=0 BORDER=1 ALT=\"Sea\" ALIGN=\"RIGHT\" HEIGHT=50 WIDTH=100>"),
      std::string::npos)
      << page;
  PackedBitmap jpeg;
  ASSERT_TRUE(DecodeJpegPreview(Beside(name), jpeg));
  EXPECT_EQ(ViewBitmap(jpeg)->width, 100);
  EXPECT_EQ(ViewBitmap(jpeg)->height, 50);
}

TEST_F(PictureExportTest, CentredLinkedPictureInATable) {
  const XtBox box = host_.AddPictureBox(FixRect(0, 0, 10, 20), 0, "a.gif");
  BoxRecord record;
  record.set_picture_format(kPictureGif | kPictureTransparent);
  record.set_target_width(test::Fix(20));
  record.set_alignment(1);
  record.set_link_type(3);
  record.set_link_target("top");
  record.set_flags(kFlagSendColor);
  record.set_border(3);
  SetRecord(box, XT_RECORD_PICTURE, record);
  EXPECT_FALSE(ExportPictureBox(settings_, box, false));
  EXPECT_EQ(Page(),
            "\r\n\r\n<CENTER>\r\n\r\n<TABLE BORDER=3>\r\n<TR>\r\n<TD ALIGN=>"
            "<A HREF=\"#top\">\r\n<IMG SRC=\"agif.gif\" HSPACE=0 VSPACE=0 ALT=\"\" HEIGHT=10 "
            "WIDTH=20></A></TD>\r\n</TR>\r\n</TABLE>\r\n\r\n</CENTER>\r\n");
  const auto gif = picture_test::DecodeWithGiflib(*ReadWholeFile(Beside("agif.gif")));
  ASSERT_TRUE(gif);
  EXPECT_EQ(gif->transparent, gif->indices[9 * 20]);
}

TEST_F(PictureExportTest, FileLinkIsMadeRelativeToThePage) {
  const XtBox box = host_.AddPictureBox(FixRect(0, 0, 10, 20), 0, "b.gif");
  BoxRecord record;
  record.set_picture_format(kPictureGif);
  record.set_link_type(4);
  record.set_link_target(settings_.DestFolder + "/1998/01/Sport/Match/Match.htm");
  SetRecord(box, XT_RECORD_PICTURE, record);
  ExportPictureBox(settings_, box, false);
  EXPECT_NE(Page().find("<A HREF=\"../../Sport/Match/Match.htm\">"), std::string::npos);
}

TEST_F(PictureExportTest, ImageAndCaptionWrapsThePictureAndExportsTheCaptionBox) {
  FakeFilter::Install(host_);
  settings_.WriteString("ImageCaptionStart", "<TABLE ALIGN=$ALIGN: WIDTH=$WIDTH:>\\n<TR><TD>");
  settings_.WriteString("ImageCaptionEnd", "</TD></TR>\\n</TABLE $ALIGN:>");
  const XtBox picture = host_.AddPictureBox(FixRect(0, 0, 30, 40), 0, "c.gif");
  const XtBox other = host_.AddTextBox();
  const XtBox caption = host_.AddTextBox();
  host_.AddRun(other, "Not me\r");
  host_.AddRun(caption, "Caption\r");
  BoxRecord record;
  record.set_picture_format(kPictureGif);
  record.set_target_width(test::Fix(80));
  record.set_flags(kFlagCaption | kFlagSendColor);
  record.set_caption_id(7);
  record.set_alignment(2);
  SetRecord(picture, XT_RECORD_PICTURE, record);
  BoxRecord text;
  text.set_caption_id(7);
  text.set_flags(kFlagCaption);
  SetRecord(caption, XT_RECORD_EXPORT, text);
  host_.SetCurrentBox(picture);
  settings_.previous_element = ElementKind::kText;
  settings_.WriteString("TextBreak", "<HR>");

  EXPECT_TRUE(ExportPictureBox(settings_, picture, false));
  EXPECT_EQ(host_.CurrentBox(), picture);
  const std::string page = Page();
  EXPECT_TRUE(page.starts_with("\r\n<HR>\r\n\r\n<TABLE ALIGN=RIGHT WIDTH=80>\r\n<TR><TD>\r\n<IMG "))
      << page;
  EXPECT_NE(page.find("HSPACE=0 VSPACE=0 ALT=\"\" ALIGN=\"RIGHT\" HEIGHT=60 WIDTH=80>\r\n<BR "
                      "CLEAR=\"ALL\">\r\n"),
            std::string::npos)
      << page;
  EXPECT_NE(page.find("[Caption"), std::string::npos) << page;
  EXPECT_EQ(page.find("Not me"), std::string::npos);
  EXPECT_TRUE(page.ends_with("</TD></TR>\r\n</TABLE RIGHT>")) << page;
  EXPECT_EQ(settings_.previous_element, ElementKind::kNone);
}

TEST_F(PictureExportTest, TextBoxExportedAsPicture) {
  const XtBox box = host_.AddTextBox(FixRect(0, 0, 20, 30));
  host_.AddRun(box, "Drawn\r");
  BoxRecord record;
  record.set_export_kind(kFormatPicture);
  record.set_picture_format(kPictureGif);
  record.set_target_width(test::Fix(30));
  record.set_alt_text("Text");
  SetRecord(box, XT_RECORD_EXPORT, record);
  settings_.now = [] { return std::time_t{7}; };
  EXPECT_FALSE(ExportPictureBox(settings_, box, true));
  const std::string page = Page();
  const auto src = page.find("<IMG SRC=\"");
  ASSERT_NE(src, std::string::npos) << page;
  const std::string name = page.substr(src + 10, page.find('"', src + 10) - src - 10);
  EXPECT_TRUE(std::filesystem::exists(Beside(name))) << name;
  EXPECT_NE(page.find("ALT=\"Text\" ALIGN=\"LEFT\" HEIGHT=20 WIDTH=30>"), std::string::npos);

  // Without its record the text box gives only the line break.
  const XtBox bare = host_.AddTextBox();
  settings_.output.reset(std::fopen(settings_.page_path.c_str(), "wb"));
  EXPECT_FALSE(ExportPictureBox(settings_, bare, true));
  EXPECT_EQ(Page(), "\r\n");
}

TEST_F(PictureExportTest, SameNameTwiceInOneJobGetsANumber) {
  const XtBox first = host_.AddPictureBox(FixRect(0, 0, 10, 10), 0, "Logo.gif");
  const XtBox second = host_.AddPictureBox(FixRect(0, 0, 20, 20), 0, "logo.GIF");
  host_.SetRenderColor(second, {0, 0, 0xFFFF});
  ExportPictureBox(settings_, first, false);
  ExportPictureBox(settings_, second, false);
  const std::string page = Page();
  EXPECT_NE(page.find("SRC=\"logogif.gif\""), std::string::npos);
  EXPECT_NE(page.find("SRC=\"logogif1.gif\""), std::string::npos) << page;
  EXPECT_EQ(picture_test::DecodeWithGiflib(*ReadWholeFile(Beside("logogif.gif")))->width, 10);
  EXPECT_EQ(picture_test::DecodeWithGiflib(*ReadWholeFile(Beside("logogif1.gif")))->width, 20);
  // A new job starts with no names taken: the page's own files are replaced.
  settings_.picture_names.clear();
  EXPECT_EQ(ExportPicture(settings_, first, XT_RECORD_PICTURE).Write(settings_, "Logo.gif"),
            "logogif.gif");
}

TEST_F(PictureExportTest, NoRenderingWritesTheTagButNoFile) {
  const XtBox box = host_.AddPictureBox(FixRect(0, 0, 10, 10), 0, "gone.gif");
  host_.SetRenderFails(true);
  ExportPictureBox(settings_, box, false);
  EXPECT_NE(
      Page().find("<IMG SRC=\"gonegif.gif\" HSPACE=2 VSPACE=2 BORDER=0 ALT=\"\" ALIGN=\"LEFT\" "
                  "HEIGHT=10 WIDTH=10>"),
      std::string::npos);
  EXPECT_FALSE(std::filesystem::exists(Beside("gonegif.gif")));
}

TEST_F(PictureExportTest, MissingFoldersAreCreated) {
  settings_.page_path = folder_.Path("Archive/1999/02/New/Page/Page.htm");
  const XtBox box = host_.AddPictureBox(FixRect(0, 0, 10, 10), 0, "x.gif");
  ExportPictureBox(settings_, box, false);
  EXPECT_TRUE(std::filesystem::exists(folder_.Path("Archive/1999/02/New/Page/xgif.gif")));
}

}  // namespace
}  // namespace xt
