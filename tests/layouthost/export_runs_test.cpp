#include <gtest/gtest.h>

#include "hostapi/xt_host_api.h"
#include "layouthost/document/layout_document_json.h"
#include "layouthost/host/export_runs.h"
#include "sample_document.h"

namespace layouthost {
namespace {

layout::Story SampleStory() {
  return *layout::ParseDocument(test::SampleJson()).document->FindStory(1);
}

std::vector<std::string> Texts(const std::vector<ExportRun>& runs) {
  std::vector<std::string> out;
  for (const auto& run : runs)
    out.push_back(run.bytes);
  return out;
}

TEST(ExportRunsTest, RunsEndAtParagraphEndsAndStartAtTabs) {
  layout::Story story = SampleStory();
  story.links.clear();
  const auto runs = SplitExportRuns(story, 0, story.Length());
  EXPECT_EQ(Texts(runs), (std::vector<std::string>{"Titel\r", "Body text", "\tcol\r",
                                                   "\xDC"
                                                   "ber end"}));
  EXPECT_EQ(runs[0].paragraph, 0);
  EXPECT_EQ(runs[1].paragraph, 1);
  EXPECT_EQ(runs[2].paragraph, 1);
  EXPECT_EQ(runs[3].paragraph, 2);
  EXPECT_EQ(runs[0].style.size, 16);
  EXPECT_EQ(runs[2].style.color, 5);
}

TEST(ExportRunsTest, NoRunIsEmptyOrSpansAParagraphEnd) {
  layout::Story story;
  story.text = "\r\r\tA\t\tB\rC\r\r";
  story.spans = {{0, 3, {}}, {3, 4, {.font = 2}}, {7, 4, {}}};
  story.links = {{1, 5, 1, "x"}};
  for (int start = 0; start <= story.Length(); ++start) {
    for (int end = start; end <= story.Length(); ++end) {
      std::string joined;
      for (const ExportRun& run : SplitExportRuns(story, start, end)) {
        ASSERT_FALSE(run.bytes.empty());
        const auto cr = run.bytes.find('\r');
        EXPECT_TRUE(cr == std::string::npos || cr + 1 == run.bytes.size()) << start << " " << end;
        if (run.mark == 0) joined += run.bytes;
      }
      EXPECT_EQ(joined, story.text.substr(start, end - start));
    }
  }
}

TEST(ExportRunsTest, TabIndexCountsTheTabsOfTheLine) {
  layout::Story story;
  story.text = "a\tb\tc\x0B\td\r\te";
  story.spans = {{0, story.Length(), {}}};
  const auto runs = SplitExportRuns(story, 0, story.Length());
  ASSERT_EQ(Texts(runs), (std::vector<std::string>{"a", "\tb", "\tc\x0B", "\td\r", "\te"}));
  EXPECT_EQ(runs[1].tab_index, 0);
  EXPECT_EQ(runs[2].tab_index, 1);
  EXPECT_EQ(runs[3].tab_index, 0);  // after a soft line break
  EXPECT_EQ(runs[4].tab_index, 0);  // next paragraph
}

TEST(ExportRunsTest, LinksBecomeStartDataTextAndEndRuns) {
  const layout::Story story = SampleStory();  // link type 4 "top" over [11, 15): "text"
  const auto runs = SplitExportRuns(story, 6, 20);
  ASSERT_EQ(runs.size(), 6u);
  EXPECT_EQ(runs[0].bytes, "Body ");
  EXPECT_EQ(runs[1].mark, XT_MARK_LINK_START);
  EXPECT_EQ(runs[2].mark, XT_MARK_LINK_DATA);
  EXPECT_EQ(runs[2].bytes, std::string("\x04top"));
  EXPECT_EQ(runs[3].bytes, "text");
  EXPECT_EQ(runs[3].mark, 0u);
  EXPECT_EQ(runs[4].mark, XT_MARK_LINK_END);
  EXPECT_EQ(runs[5].bytes, "\tcol\r");
}

TEST(ExportRunsTest, LinkCutByTheRangeIsClosedInside) {
  const layout::Story story = SampleStory();
  const auto runs = SplitExportRuns(story, 13, 14);
  ASSERT_EQ(runs.size(), 4u);
  EXPECT_EQ(runs[0].mark, XT_MARK_LINK_START);
  EXPECT_EQ(runs[2].bytes, "x");
  EXPECT_EQ(runs[3].mark, XT_MARK_LINK_END);
  EXPECT_TRUE(SplitExportRuns(story, 16, 16).empty());
  EXPECT_TRUE(SplitExportRuns(story, 30, 90).empty());
}

}  // namespace
}  // namespace layouthost
