// META extraction from page heads: the tag grammar, the end at BODY, reading in pieces.
#include "indexer/engine/meta_extraction.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <string>
#include <thread>

#include "tests/indexer/scratch_folder.h"

namespace indexer {
namespace {

using testing::ScratchFolder;
using testing::WriteFile;

TEST(MetaExtraction, ReadsTheExportedMetaBlock) {
  const MetaMap meta = ExtractMeta(
      "<HTML><HEAD>\r\n<META NAME=\"DESCRIPTION\" CONTENT=\"Our story\">\r\n"
      "<META NAME=\"SUBDESCRIPTION\" CONTENT=\"and more\">\r\n"
      "<META NAME=\"CATEGORY\" CONTENT=\"News\">\r\n</HEAD><BODY>text</BODY></HTML>");
  EXPECT_EQ(meta, (MetaMap{{"category", "News"},
                           {"description", "Our story"},
                           {"subdescription", "and more"}}));
}

TEST(MetaExtraction, NamesAndAttributesCompareWithoutCase) {
  EXPECT_EQ(ExtractMeta("<meta NAME=Description CONTENT=x>").at("description"), "x");
  EXPECT_EQ(ExtractMeta("<MeTa nAmE=\"DeScRiPtIoN\" cOnTeNt=\"Y z\">").at("description"), "Y z");
}

TEST(MetaExtraction, NothingAfterTheBodyTag) {
  const MetaMap meta = ExtractMeta(
      "<head><meta name=a content=1></head><BODY bgcolor=white><meta name=b content=2>");
  EXPECT_EQ(meta, (MetaMap{{"a", "1"}}));
}

TEST(MetaExtraction, MetaWithoutNameOrContentIsIgnored) {
  EXPECT_TRUE(ExtractMeta("<meta http-equiv=refresh content=5><meta name=x>").empty());
}

TEST(MetaExtraction, LaterMetaOfTheSameNameWins) {
  EXPECT_EQ(ExtractMeta("<meta name=d content=1><META NAME=D CONTENT=2>").at("d"), "2");
}

TEST(MetaExtraction, QuotedValuesKeepBlanksAndAngleBrackets) {
  EXPECT_EQ(ExtractMeta("<meta name = \"d\" content =  \" a > b \">").at("d"), " a > b ");
}

TEST(MetaExtraction, CommentTagsGiveDescriptionSubdescriptionOrCategory) {
  EXPECT_EQ(ExtractMeta("<!-- indexmain=\"Main\" -->"), (MetaMap{{"description", "Main"}}));
  EXPECT_EQ(ExtractMeta("<!--indexsub=\"Sub\"-->"), (MetaMap{{"subdescription", "Sub"}}));
  EXPECT_EQ(ExtractMeta("<!-- CATEGORY=Sport -->"), (MetaMap{{"category", "Sport"}}));
  EXPECT_EQ(ExtractMeta("<!--indexmain=Plain-->"), (MetaMap{{"description", "Plain"}}));
  // One comment gives one entry, indexmain first.
  EXPECT_EQ(ExtractMeta("<!-- indexsub=\"s\" indexmain=\"m\" -->"),
            (MetaMap{{"description", "m"}}));
}

TEST(MetaExtraction, OtherTagsArePassedOver) {
  EXPECT_TRUE(ExtractMeta("<title>t</title><br><b>bold</b><!DOCTYPE html><p>").empty());
  // "<b" starts a tag whose name is not body.
  EXPECT_EQ(ExtractMeta("<bodyx><meta name=d content=1>").at("d"), "1");
}

TEST(MetaExtraction, UnterminatedTagAtTheEndStillCounts) {
  EXPECT_EQ(ExtractMeta("<meta name=d content=\"open").at("d"), "open");
}

TEST(MetaExtraction, TheResultDoesNotDependOnHowTheInputIsCut) {
  const std::string page =
      "<html><head><!-- indexmain=\"Comment text\" --><meta name=\"DESCRIPTION\" "
      "content=\"A > B\"><META NAME=SUBDESCRIPTION CONTENT=sub ><meta name=k></head>"
      "<body><meta name=after content=no>";
  const MetaMap whole = ExtractMeta(page);
  for (std::size_t cut = 1; cut < 9; ++cut) {
    MetaParser parser;
    for (std::size_t at = 0; at < page.size(); at += cut) {
      parser.feed(std::string_view(page).substr(at, cut));
    }
    parser.finish();
    EXPECT_EQ(parser.result(), whole) << "pieces of " << cut;
  }
  EXPECT_EQ(whole.at("description"), "A > B");
  EXPECT_EQ(whole.at("subdescription"), "sub");
  EXPECT_EQ(whole.count("after"), 0u);
}

TEST(MetaExtraction, FromFile) {
  ScratchFolder folder;
  const std::string page = folder.File("page.html");
  MetaMap meta;
  EXPECT_EQ(ExtractMetaFromFile(folder.File("missing.html"), meta), kFileOpenErr);
  WriteFile(page, "");
  EXPECT_EQ(ExtractMetaFromFile(page, meta), kFileReadErr);
  // A head followed by a large body: the result is the head's, whatever follows.
  WriteFile(page, "<head><meta name=description content=Big></head><body>" +
                      std::string(3 << 20, 'x') + "<meta name=late content=1>");
  ASSERT_EQ(ExtractMetaFromFile(page, meta), kNoErr);
  EXPECT_EQ(meta, (MetaMap{{"description", "Big"}}));
  // A head that spans several read blocks.
  WriteFile(page, std::string(10000, ' ') + "<meta name=description content=Far>");
  ASSERT_EQ(ExtractMetaFromFile(page, meta), kNoErr);
  EXPECT_EQ(meta.at("description"), "Far");
}

// The page comes through a pipe whose writer keeps it open after the body has begun: a reader
// that wanted the whole page would wait for the writer to give up.
TEST(MetaExtraction, StopsReadingAtTheBodyTag) {
  ScratchFolder folder;
  const std::string pipe = folder.File("pipe.html");
  ASSERT_EQ(mkfifo(pipe.c_str(), 0600), 0);
  std::atomic<bool> extracted{false};
  std::atomic<bool> writerGaveUp{false};
  std::thread writer([&] {
    const int fd = open(pipe.c_str(), O_WRONLY);
    const std::string page =
        "<head><meta name=description content=Piped></head><body>" + std::string(16 * 1024, 'b');
    EXPECT_EQ(write(fd, page.data(), page.size()), static_cast<ssize_t>(page.size()));
    for (int i = 0; i < 1000 && !extracted; ++i)
      usleep(10 * 1000);
    writerGaveUp = !extracted;
    close(fd);
  });
  MetaMap meta;
  const MMoreErr status = ExtractMetaFromFile(pipe, meta);
  const bool readToTheEnd = writerGaveUp;
  extracted = true;
  writer.join();
  EXPECT_EQ(status, kNoErr);
  EXPECT_EQ(meta.at("description"), "Piped");
  EXPECT_FALSE(readToTheEnd);
}

}  // namespace
}  // namespace indexer
