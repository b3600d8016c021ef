// The export job with the plug-in's real text filter: what a page holds end to end.
#include <gtest/gtest.h>

#include "tests/xt/export_test_support.h"
#include "tests/xt/fake_host.h"
#include "xt/export/box_record.h"
#include "xt/export/export_job.h"
#include "xt/export/export_settings.h"
#include "xt/export/text_converter.h"

namespace xt {
namespace {

using test::FakeHost;
using test::LocalMoment;
using test::ReadFile;
using test::TempFolder;

XtErr Filter(std::int32_t opcode, void* params) {
  switch (opcode) {
    case XT_OP_FILTER_BEGIN:
      return FilterBegin(*static_cast<XtFilterBeginParams*>(params));
    case XT_OP_FILTER_RUN:
      return FilterRun(*static_cast<XtTextRun*>(params));
    default:
      return FilterEnd(*static_cast<XtFilterEndParams*>(params));
  }
}

class ExportWithConverterTest : public testing::Test {
 protected:
  void SetUp() override {
    for (int opcode : {XT_OP_FILTER_BEGIN, XT_OP_FILTER_RUN, XT_OP_FILTER_END}) {
      host_.InstallCallback(opcode, Filter);
    }
    Host().text.register_filter(XT_FILTER_KIND_TEXT, XT_FILE_TYPE_HTML, "MarlixXT40",
                                XT_FILTER_FLAGS);
    settings_.DestFolder = folder_.Path("Archive");
    settings_.now = [] { return LocalMoment(1998, 4, 2, 10, 0, 0); };
    settings_.OpenBrowser = false;
    settings_.Path = "[1998]";
    settings_.Issue = "01";
    settings_.Category = "Culture";
    settings_.FileName = "Intro";
    settings_.Headline = "Fish & Chips";
    SetActiveSettings(&settings_);
  }
  void TearDown() override { SetActiveSettings(nullptr); }

  FakeHost host_;
  TempFolder folder_;
  ExportSettings settings_{folder_.Path("MarlixXT40.INI")};
};

TEST_F(ExportWithConverterTest, TextAndTableBoxesOfAGroup) {
  const XtBox text = host_.AddTextBox();
  host_.AddRun(text, "Fish & Chips <b>\r", {.left_indent = test::Fix(12)});
  const XtBox table = host_.AddTextBox();
  host_.AddRun(table, "a\tb\r");
  BoxRecord record;
  record.set_export_kind(kFormatTable);
  ASSERT_EQ(record.Attach(table, XT_RECORD_EXPORT), 0);
  host_.SetCurrentBox(host_.AddGroup({text, table}));

  const auto no_browser = [](ExportSettings&, const std::string&) { return 0; };
  ASSERT_EQ(RunExportJob(settings_, XT_JOB_EXPORT, no_browser), 0);
  const std::string page = ReadFile(folder_.Path("Archive/1998/01/Culture/Intro/Intro.htm"));
  EXPECT_NE(page.find("<META name=\"DESCRIPTION\" content=\"Fish & Chips\">\r\n"),
            std::string::npos);
  EXPECT_NE(page.find("<IMG SRC=\"../../../../initials/indent.gif\""), std::string::npos);
  EXPECT_NE(page.find("Fish &amp; Chips &lt;b&gt;"), std::string::npos) << page;
  const auto separator = page.find("<P>\r\n\r\n<TABLE ALIGN=\"LEFT\">\r\n<TR>");
  EXPECT_NE(separator, std::string::npos) << page;
  EXPECT_GT(separator, page.find("Fish &amp; Chips"));
  EXPECT_NE(page.find("</TR>\r\n\r\n</TABLE>\r\n</BODY></HTML>"), std::string::npos) << page;
  EXPECT_FALSE(settings_.inside_page_export);
}

}  // namespace
}  // namespace xt
