// The outline of a collection: line texts, levels and the lines each record adds.
#include "indexer/engine/outline.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "indexer/engine/article_record.h"
#include "indexer/engine/index_collection.h"
#include "indexer/store/category_table.h"
#include "tests/indexer/scratch_folder.h"

namespace indexer {
namespace {

using testing::ScratchFolder;

TEST(OutlineText, DecodesTheEntityNames) {
  EXPECT_EQ(OutlineText("K&auml;se &Auml&ouml&Ouml;&uuml;&Uuml &szlig;"),
            "K\xE4se \xC4\xF6\xD6\xFC\xDC \xDF");
  EXPECT_EQ(OutlineText("a &amp; b &quot;c&quot; &lt;d&gt;"), "a & b \"c\" <d>");
  EXPECT_EQ(OutlineText("&amp;auml; &eacute; & &"), "&auml; &eacute; & &");
}

TEST(OutlineText, CutsAfter64Characters) {
  const std::string seventy(70, 'x');
  EXPECT_EQ(OutlineText(seventy), std::string(64, 'x') + "...");
  EXPECT_EQ(OutlineText(std::string(64, 'y')), std::string(64, 'y'));
  // The cut counts displayed characters, after decoding.
  EXPECT_EQ(OutlineText(std::string(60, 'z') + "&auml;&auml;&auml;&auml;"),
            std::string(60, 'z') + "\xE4\xE4\xE4\xE4");
}

class OutlineTest : public ::testing::Test {
 protected:
  void write(const std::vector<ArticleRecord>& records, bool flag0 = true) {
    IndexCollection collection(path_);
    ASSERT_EQ(collection.open("w+b"), kNoErr);
    ASSERT_EQ(collection.setHeader(kIssueIndex, flag0, true), kNoErr);
    for (ArticleRecord record : records)
      ASSERT_EQ(collection.appendRecord(record), kNoErr);
    ASSERT_EQ(collection.close(), kNoErr);
  }

  std::vector<OutlineLine> load() {
    Outline outline;
    EXPECT_EQ(outline.load(path_, categories_), kNoErr);
    return outline.lines();
  }

  static ArticleRecord Record(std::string category, std::string description,
                              std::string subdescription = {}, std::string issue = "01") {
    return ArticleRecord("1998", issue, category, "/p", "r", description, subdescription);
  }

  ScratchFolder folder_;
  std::string path_ = folder_.File("index.mlx");
  CategoryTable categories_;
};

TEST_F(OutlineTest, EqualDescriptionsInOneCategoryGiveOneLineEach) {
  write({Record("News", "Same", "s1"), Record("News", "Same", "s2")});
  EXPECT_EQ(load(), (std::vector<OutlineLine>{{2, "News"}, {1, "Same"}, {0, "s1"}, {0, "s2"}}));
}

TEST_F(OutlineTest, RecordsInIndexOrderWithDisplayNames) {
  categories_.Add("Entertai", "Entertainment\r<H2>x</H2>");
  write({Record("News", "A", "a"), Record("News", "B"), Record("Entertainment", "C", "c"),
         Record("News", "D")});
  EXPECT_EQ(load(), (std::vector<OutlineLine>{{2, "News"},
                                              {1, "A"},
                                              {0, "a"},
                                              {1, "B"},
                                              {2, "Entertainment"},
                                              {1, "C"},
                                              {0, "c"},
                                              {2, "News"},
                                              {1, "D"}}));
}

TEST_F(OutlineTest, ClearFlag0AddsIssueAndYearToGroupLines) {
  write({Record("News", "A"), Record("News", "B", {}, "02")}, false);
  EXPECT_EQ(load(), (std::vector<OutlineLine>{
                        {2, "News(01/1998)"}, {1, "A"}, {2, "News(02/1998)"}, {1, "B"}}));
}

TEST_F(OutlineTest, UnusedRecordsAndEmptyTextsAddNoLines) {
  ArticleRecord unused = Record("Gone", "Gone");
  unused.inUse = false;
  write({Record("News", "A"), unused, Record("News", "")});
  EXPECT_EQ(load(), (std::vector<OutlineLine>{{2, "News"}, {1, "A"}}));
}

TEST_F(OutlineTest, LoadingTwiceGivesTheSameOutline) {
  write({Record("News", "A", "a"), Record("Sport", "B", "b")});
  Outline outline;
  ASSERT_EQ(outline.load(path_, categories_), kNoErr);
  const std::vector<OutlineLine> first = outline.lines();
  ASSERT_EQ(outline.load(path_, categories_), kNoErr);
  EXPECT_EQ(outline.lines(), first);
  EXPECT_EQ(first.size(), 6u);
}

TEST_F(OutlineTest, LoadingLeavesTheCollectionUntouched) {
  write({Record("News", "A")});
  const std::string before = testing::ReadFile(path_);
  load();
  EXPECT_EQ(testing::ReadFile(path_), before);
}

TEST_F(OutlineTest, AnUnreadableCollectionLeavesTheOutlineEmpty) {
  Outline outline;
  EXPECT_NE(outline.load(folder_.File("missing.mlx"), categories_), kNoErr);
  testing::WriteFile(path_, "not a collection");
  EXPECT_EQ(outline.load(path_, categories_), kBadMagicErr);
  EXPECT_TRUE(outline.empty());
}

}  // namespace
}  // namespace indexer
