#include <gtest/gtest.h>

#include <sstream>

#include "layouthost/document/layout_document_json.h"
#include "layouthost/host/layout_host.h"
#include "layouthost/host/served_tables.h"
#include "sample_document.h"

namespace layouthost {
namespace {

// What the filter callbacks saw, with the tab stops asked for during each run.
struct SeenRun {
  XtTextRun run;
  std::string bytes;
  std::vector<XtTabStop> tabs;
};

std::vector<SeenRun> seen;
std::vector<int32_t> calls;
XtErr run_result = 0;

XtErr Filter(int32_t opcode, void* params) {
  calls.push_back(opcode);
  if (opcode == XT_OP_FILTER_RUN) {
    const auto* run = static_cast<XtTextRun*>(params);
    SeenRun copy{*run, std::string(reinterpret_cast<const char*>(run->bytes), run->count), {}};
    XtTabStop stops[4];
    copy.tabs.assign(stops, stops + TextTable().tab_stops(stops, 4));
    seen.push_back(copy);
    return run_result;
  }
  return 0;
}

class TextExportTest : public testing::Test {
 protected:
  TextExportTest() : host_(*layout::ParseDocument(test::SampleJson()).document, "") {
    seen.clear();
    calls.clear();
    run_result = 0;
    for (int32_t op : {XT_OP_FILTER_BEGIN, XT_OP_FILTER_RUN, XT_OP_FILTER_END}) {
      host_.InstallCallback(op, Filter);
    }
    filter_ = host_.RegisterFilter(XT_FILTER_KIND_TEXT, XT_FILE_TYPE_HTML, "MarlixXT40", 0);
    host_.document()->current = 2;
  }

  LayoutHost host_;
  int32_t filter_ = 0;
};

TEST_F(TextExportTest, WholeStoryRunsCarryCharacterAndParagraphAttributes) {
  ASSERT_EQ(host_.RunTextExport(filter_, false), 0);
  ASSERT_EQ(calls.front(), XT_OP_FILTER_BEGIN);
  ASSERT_EQ(calls.back(), XT_OP_FILTER_END);
  ASSERT_EQ(seen.size(), 8u);  // Titel / Body / start, data, text, end / tab col / Über end
  EXPECT_EQ(seen[0].bytes, "Titel\r");
  EXPECT_EQ(seen[0].run.file_type, XT_FILE_TYPE_HTML);
  EXPECT_EQ(seen[0].run.size, 16 << 16);
  EXPECT_EQ(seen[0].run.style, XT_STYLE_BOLD);
  EXPECT_EQ(seen[0].run.font_id, 1);
  EXPECT_EQ(seen[0].run.drop_cap, 0);
  EXPECT_TRUE(seen[0].tabs.empty());

  EXPECT_EQ(seen[1].bytes, "Body ");
  EXPECT_EQ(seen[1].run.left_indent, 12 << 16);
  EXPECT_EQ(seen[1].run.drop_cap, 1);
  EXPECT_EQ(seen[1].run.color_index, 5);
  ASSERT_EQ(seen[1].tabs.size(), 1u);
  EXPECT_EQ(seen[1].tabs[0].position, 72 << 16);
  EXPECT_EQ(seen[1].tabs[0].alignment, XT_TAB_RIGHT);

  EXPECT_EQ(seen[2].run.mark, XT_MARK_LINK_START);
  EXPECT_EQ(seen[3].run.mark, XT_MARK_LINK_DATA);
  EXPECT_EQ(seen[3].bytes, "\x04top");
  EXPECT_EQ(seen[5].run.mark, XT_MARK_LINK_END);
  EXPECT_EQ(seen[6].bytes, "\tcol\r");
  EXPECT_EQ(seen[6].run.tab_index, 0);
  EXPECT_EQ(seen[7].bytes,
            "\xDC"
            "ber end");
  EXPECT_EQ(seen[7].run.size, (21 << 16) / 2);
  EXPECT_EQ(seen[7].run.style, XT_STYLE_ITALIC | XT_STYLE_UNDERLINE);
  EXPECT_EQ(seen[7].run.left_indent, 0);
  EXPECT_TRUE(seen[7].tabs.empty());
  EXPECT_TRUE(host_.export_tabs().empty());  // only while a run is exported
}

TEST_F(TextExportTest, SelectionOnly) {
  layout::Story& story = *host_.document()->FindStory(1);
  story.selection_start = 22;
  story.selection_end = 25;
  ASSERT_EQ(host_.RunTextExport(filter_, true), 0);
  ASSERT_EQ(seen.size(), 1u);
  EXPECT_EQ(seen[0].bytes, "er ");
  story.selection_end = 22;
  ASSERT_EQ(host_.RunTextExport(filter_, true), 0);
  EXPECT_EQ(seen.size(), 1u);  // an empty selection sends begin and end only
  EXPECT_EQ(calls.size(), 5u);
}

TEST_F(TextExportTest, ARunErrorStopsTheRunsButEndIsStillCalled) {
  run_result = -1;
  EXPECT_EQ(host_.RunTextExport(filter_, false), -1);
  EXPECT_EQ(seen.size(), 1u);
  EXPECT_EQ(calls.back(), XT_OP_FILTER_END);
}

TEST_F(TextExportTest, RefusesWhatItCannotExport) {
  EXPECT_EQ(host_.RunTextExport(filter_ + 1, false), kNoSuchFilter);
  host_.document()->current = 3;
  EXPECT_EQ(host_.RunTextExport(filter_, false), kNoSuchItem);
  EXPECT_TRUE(calls.empty());
}

XtErr Collect(void* context, const char* bytes, int32_t count) {
  static_cast<std::string*>(context)->append(bytes, count);
  return 0;
}

TEST_F(TextExportTest, WriterCanBeReplacedAndRestored) {
  const XtTextTable text = TextTable();
  ASSERT_EQ(text.write("own ", 4), 0);
  std::string collected;
  XtWriterProc old_writer = nullptr;
  void* old_context = nullptr;
  text.replace_writer(Collect, &collected, &old_writer, &old_context);
  ASSERT_EQ(text.write("page", 4), 0);
  text.replace_writer(old_writer, old_context, nullptr, nullptr);
  ASSERT_EQ(text.write("again", 5), 0);
  EXPECT_EQ(collected, "page");
  EXPECT_EQ(host_.own_output(), "own again");
  EXPECT_EQ(text.write(nullptr, 3), kBadArgument);
}

}  // namespace
}  // namespace layouthost
