// The link check after a writing run: which links are followed and which are reported.
#include "indexer/engine/link_check.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "tests/indexer/scratch_folder.h"

namespace indexer {
namespace {

namespace fs = std::filesystem;
using testing::ScratchFolder;
using testing::WriteFile;

TEST(LinkCheckTest, FindsHrefAndSrcInEveryQuotingStyle) {
  const std::vector<std::string> links = PageLinks(
      "<A HREF=\"a.html\">x</A><img src='b.gif' alt=x><FRAME SRC=c.htm NAME=f>"
      "<a name=\"top\" href = \"d.html\"><P CLASS=\"HREF\">text HREF=\"no.html\"</P>"
      "<A DATA-HREF=\"e.html\">");
  EXPECT_EQ(links, (std::vector<std::string>{"a.html", "b.gif", "c.htm", "d.html"}));
}

TEST(LinkCheckTest, ReportsOnlyMissingLocalTargets) {
  ScratchFolder folder;
  fs::create_directories(folder.File("GIFs"));
  fs::create_directories(folder.File("pages"));
  WriteFile(folder.File("GIFs/logo.gif"), "GIF89a");
  WriteFile(folder.File("pages/other.html"), "");
  WriteFile(folder.File("pages/Caf\xC3\xA9.html"), "");
  const std::string page = folder.File("pages/page.html");
  WriteFile(page,
            "<IMG SRC=\"../GIFs/logo.gif\"><IMG SRC=\"../GIFs/missing.gif\">"
            "<A HREF=\"other.html#part\">a</A><A HREF=\"other.html?x=1\">b</A>"
            "<A HREF=\"#top\">c</A><A HREF=\"http://example.com/none.html\">d</A>"
            "<A HREF=\"mailto:a@b.c\">e</A><A HREF=\"Caf\xE9.html\">f</A>"
            "<A HREF=\"Caf%C3%A9.html\">g</A><A HREF=\"gone.html\">h</A>"
            "<A HREF=\"/server/rooted.html\">i</A>");
  const std::vector<BrokenLink> broken = CheckPageLinks(page, "");
  EXPECT_EQ(broken, (std::vector<BrokenLink>{{page, "../GIFs/missing.gif", "no such file"},
                                             {page, "gone.html", "no such file"}}));

  // With a server root, rooted links are followed from it.
  fs::create_directories(folder.File("root/server"));
  const std::vector<BrokenLink> rooted = CheckPageLinks(page, folder.File("root"));
  ASSERT_EQ(rooted.size(), 3u);
  EXPECT_EQ(rooted[2].link, "/server/rooted.html");
}

TEST(LinkCheckTest, AnUnreadablePageIsReported) {
  ScratchFolder folder;
  const std::vector<BrokenLink> broken = CheckPageLinks(folder.File("none.html"), "");
  ASSERT_EQ(broken.size(), 1u);
  EXPECT_EQ(broken[0].reason, "the page cannot be read");
}

TEST(LinkCheckTest, AMissingCollectionIsAnError) {
  ScratchFolder folder;
  std::vector<BrokenLink> broken;
  EXPECT_NE(CheckCollectionLinks(folder.File("index.mlx"), "", broken), kNoErr);
  EXPECT_TRUE(broken.empty());
}

}  // namespace
}  // namespace indexer
