#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include <gtest/gtest.h>

#include "indexer/engine/document_chaining.h"

namespace indexer {
namespace {

namespace fs = std::filesystem;

constexpr const char* kPage =
    "<HTML><HEAD><TITLE>T</TITLE></HEAD><BODY>\n"
    "<A $PREVURL:>Back</A> <A $INDEXURL:>Index</A> <A $NEXTURL:>Next</A>\n"
    "<P>Text</P>\n"
    "<A $PREVURL:>Back</A> <A $INDEXURL:>Index</A> <A $NEXTURL:>Next</A>\n"
    "</BODY></HTML>\n";

class ChainingTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string pattern = (fs::path(::testing::TempDir()) / "chainXXXXXX").string();
    ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
    root_ = pattern;
  }
  void TearDown() override { fs::remove_all(root_); }

  std::string Put(const std::string& relative, const std::string& content) {
    const fs::path path = root_ / relative;
    fs::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary) << content;
    return path.string();
  }
  static std::string Get(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream content;
    content << in.rdbuf();
    return content.str();
  }
  std::size_t EntriesIn(const fs::path& folder) const {
    return static_cast<std::size_t>(
        std::distance(fs::directory_iterator(folder), fs::directory_iterator()));
  }

  fs::path root_;
};

TEST(ChainTextTest, PrefixCountsSlashes) {
  EXPECT_EQ(IndexPrefixFor("Culture/Story1/story.html"), "../../");
  EXPECT_EQ(IndexPrefixFor("story.html"), "");
  EXPECT_EQ(IndexPrefixFor("a/b/c/d.htm"), "../../../");
}

TEST(ChainTextTest, LinksJoinPrefixAndRelativePaths) {
  const ChainLinks links = MakeChainLinks("../../", "index.html", "News/a/a.html", "");
  EXPECT_EQ(links.previousUrl, "../../News/a/a.html");
  EXPECT_EQ(links.nextUrl, "");
  EXPECT_EQ(links.indexUrl, "../../index.html");
}

TEST(ChainTextTest, LoneDocumentGetsEmptyNeighboursAndAnIndexLink) {
  const ChainLinks links = MakeChainLinks("../../", "index.htm", "", "");
  EXPECT_EQ(ChainText("<A $PREVURL:>|<A $NEXTURL:>|<A $INDEXURL:>", links),
            "<A MXPREV HREF=\"\" MXEND>|<A MXNEXT HREF=\"\" MXEND>|"
            "<A MXINDEX HREF=\"../../index.htm\" MXEND>");
}

TEST(ChainTextTest, EveryPlaceholderIsReplaced) {
  const ChainLinks links{"p.html", "n.html", "i.html"};
  EXPECT_EQ(
      ChainText("$PREVURL:$PREVURL: $NEXTURL:$INDEXURL:$NEXTURL:", links),
      "MXPREV HREF=\"p.html\" MXENDMXPREV HREF=\"p.html\" MXEND "
      "MXNEXT HREF=\"n.html\" MXENDMXINDEX HREF=\"i.html\" MXENDMXNEXT HREF=\"n.html\" MXEND");
}

TEST(ChainTextTest, EarlierMarkedTextsAreReplacedAfresh) {
  const ChainLinks first{"../a.html", "../c.html", "../index.html"};
  const ChainLinks second{"../x.html", "", "../index.htm"};
  const std::string once = ChainText(kPage, first);
  EXPECT_EQ(ChainText(once, first), once);
  EXPECT_EQ(ChainText(once, second), ChainText(kPage, second));
  EXPECT_EQ(once.find('$'), std::string::npos);
}

TEST(ChainTextTest, MarkedPatternIsShortestFromTheLeft) {
  const ChainLinks links{"p", "n", "i"};
  EXPECT_EQ(ChainText("<A MXPREV HREF=\"old\" MXEND> MXEND MXNEXT", links),
            "<A MXPREV HREF=\"p\" MXEND> MXEND MXNEXT");
  EXPECT_EQ(ChainText("MXINDEX without its end", links), "MXINDEX without its end");
}

TEST(ChainTextTest, TextWithoutMarkersIsUnchanged) {
  const ChainLinks links{"p", "n", "i"};
  EXPECT_EQ(ChainText("$PREV $NEXTURL $INDEX: MXPRE MXEN", links),
            "$PREV $NEXTURL $INDEX: MXPRE MXEN");
  EXPECT_EQ(ChainText("", links), "");
}

TEST_F(ChainingTest, ChainingTwiceGivesTheSameFile) {
  const std::string path = Put("Culture/Story1/story.html", kPage);
  ASSERT_EQ(ChainDocument(path, "../../", "index.html", "News/A/a.html", "Sports/B/b.html"),
            kNoErr);
  const std::string once = Get(path);
  EXPECT_NE(once.find("<A MXPREV HREF=\"../../News/A/a.html\" MXEND>Back</A> "
                      "<A MXINDEX HREF=\"../../index.html\" MXEND>Index</A> "
                      "<A MXNEXT HREF=\"../../Sports/B/b.html\" MXEND>Next</A>"),
            std::string::npos);
  ASSERT_EQ(ChainDocument(path, "../../", "index.html", "News/A/a.html", "Sports/B/b.html"),
            kNoErr);
  EXPECT_EQ(Get(path), once);
  EXPECT_EQ(EntriesIn(root_ / "Culture/Story1"), 1u);
}

TEST_F(ChainingTest, MarkedTextAcrossAChunkBoundaryIsFound) {
  // A long run of printable characters before and after the marked text, so that a reader
  // working in 2 KB chunks would cut it in two.
  std::string page(2040, 'x');
  page += "<A MXNEXT HREF=\"old/old.html\" MXEND>Next</A>";
  page += std::string(3000, 'y');
  page += "$NEXTURL:";
  const std::string path = Put("a/b/page.htm", page);
  ASSERT_EQ(ChainDocument(path, "../", "index.htm", "", "c/d.htm"), kNoErr);
  const std::string chained = Get(path);
  EXPECT_EQ(chained.find("old/old.html"), std::string::npos);
  EXPECT_EQ(chained.substr(2040, 45), "<A MXNEXT HREF=\"../c/d.htm\" MXEND>Next</A>yyy");
  EXPECT_TRUE(
      chained.ends_with("y"
                        "MXNEXT HREF=\"../c/d.htm\" MXEND"));
}

TEST_F(ChainingTest, UnchangedDocumentIsNotRewritten) {
  const std::string path = Put("a/b/plain.html", "<P>No links here</P>\n");
  struct stat before {};
  ASSERT_EQ(::stat(path.c_str(), &before), 0);
  ASSERT_EQ(ChainDocument(path, "../../", "index.html", "x.html", "y.html"), kNoErr);
  struct stat after {};
  ASSERT_EQ(::stat(path.c_str(), &after), 0);
  EXPECT_EQ(before.st_ino, after.st_ino);
  EXPECT_EQ(Get(path), "<P>No links here</P>\n");
}

TEST_F(ChainingTest, RewrittenDocumentKeepsItsPermissions) {
  const std::string path = Put("a/b/page.html", kPage);
  // 0666 lies outside the usual umask, so the rewrite must set the bits back explicitly.
  for (const mode_t mode : {mode_t{0640}, mode_t{0666}}) {
    ASSERT_EQ(::chmod(path.c_str(), mode), 0);
    ASSERT_EQ(ChainDocument(path, "../../", "index.html", mode == 0640 ? "x" : "y", ""), kNoErr);
    struct stat info {};
    ASSERT_EQ(::stat(path.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 07777, mode);
  }
}

TEST_F(ChainingTest, FolderAndMissingDocumentAreRefused) {
  Put("a/b/page.html", kPage);
  EXPECT_EQ(ChainDocument((root_ / "a/b").string(), "", "index.html", "", ""), kBadArgument);
  EXPECT_EQ(ChainDocument((root_ / "a/b/gone.html").string(), "", "index.html", "", ""),
            kFileNotFoundErr);
  EXPECT_FALSE(fs::exists(root_ / "a/b/gone.html"));
  EXPECT_EQ(EntriesIn(root_ / "a/b"), 1u);
  EXPECT_EQ(Get((root_ / "a/b/page.html").string()), kPage);
}

TEST_F(ChainingTest, DocumentThatCannotBeReplacedKeepsItsContent) {
  if (::geteuid() == 0) GTEST_SKIP() << "permissions do not bind the superuser";
  const std::string path = Put("locked/page.html", kPage);
  fs::permissions(root_ / "locked", fs::perms::owner_read | fs::perms::owner_exec);
  EXPECT_EQ(ChainDocument(path, "../", "index.html", "", ""), kFileOpenErr);
  fs::permissions(root_ / "locked", fs::perms::owner_all);
  EXPECT_EQ(Get(path), kPage);
  EXPECT_EQ(EntriesIn(root_ / "locked"), 1u);
}

TEST_F(ChainingTest, APageChangedSinceItWasReadIsLeftAndReported) {
  const std::string path = Put("a/b/page.html", kPage);
  const std::optional<platform::FileIdentity> asRead = platform::IdentityOf(path);
  ASSERT_TRUE(asRead);
  // An export replaces the page between chaining's read and its rename.
  const std::string exported = std::string(kPage) + "<P>exported later</P>\n";
  Put("a/b/page.html", exported);
  std::vector<std::string> warnings;
  EXPECT_EQ(ReplaceChained(path, "chained old page", *asRead, &warnings), kNoErr);
  EXPECT_EQ(Get(path), exported);
  ASSERT_EQ(warnings.size(), 1u);
  EXPECT_TRUE(warnings[0].starts_with(path + ": changed while it was being chained"));
  EXPECT_EQ(EntriesIn(root_ / "a/b"), 1u);

  // Unchanged since the read, it is replaced.
  warnings.clear();
  EXPECT_EQ(ReplaceChained(path, "chained", *platform::IdentityOf(path), &warnings), kNoErr);
  EXPECT_EQ(Get(path), "chained");
  EXPECT_TRUE(warnings.empty());
}

}  // namespace
}  // namespace indexer
