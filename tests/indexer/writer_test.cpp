#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "indexer/engine/index_collection.h"
#include "indexer/engine/standard_index_writer.h"
#include "indexer/store/category_table.h"
#include "indexer/store/settings_keys.h"
#include "indexer/store/settings_store.h"

namespace indexer {
namespace {

namespace fs = std::filesystem;

constexpr const char* kHead =
    "<!DOCTYPE HTML PUBLIC \"-//W30//DTD W3 HTML 2.0//EN\">\n"
    "<!-- Created with \"Marlix Index 3.0.1\" by Tarnby -->\n"
    "<HTML><HEAD><TITLE>Index</TITLE></HEAD><BODY BGCOLOR=\"FFFFFF\">\n";
constexpr const char* kFoot =
    "<HR><ADDRESS><A HREF=\"http://author.example/\" TARGET=\"About\">Tarnby</A></ADDRESS>\n"
    "</BODY></HTML>\n";
constexpr const char* kChainedPage = "<A $PREVURL:>P</A><A $INDEXURL:>I</A><A $NEXTURL:>N</A>";

struct Page {
  std::string year = "1998";
  std::string issue = "01";
  std::string category;
  std::string name;
  std::string description;
  std::string subdescription;
  bool inUse = true;
};

// Counts the calls of the writer's callbacks; cancels at a given progress call.
struct Callbacks {
  int progressCalls = 0;
  int stepCalls = 0;
  int cancelAt = 0;
  std::vector<std::string> texts;
};

MMoreErr CountProgress(const std::string& text, void* context) {
  auto* calls = static_cast<Callbacks*>(context);
  calls->texts.push_back(text);
  return ++calls->progressCalls == calls->cancelAt ? kUserCancelled : kNoErr;
}

MMoreErr CountStep(void* context) {
  ++static_cast<Callbacks*>(context)->stepCalls;
  return kNoErr;
}

class WriterTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string pattern = (fs::path(::testing::TempDir()) / "writerXXXXXX").string();
    ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
    root_ = pattern;
    StoreDefaultSettings(store_);
    store_.SetBool(kCreateDOSEnding, false);
    store_.SetString(kAuthorURL, "http://author.example/");
  }
  void TearDown() override { fs::remove_all(root_); }

  void AddDefaultCategory(const std::string& key, const std::string& name) {
    categories_.Add(
        key, name + "\r<H2><IMG SRC=\"../../GIFs/" + key + ".gif\" ALT=\"" + name + "\"></H2>");
  }

  // Writes the pages (with chaining placeholders) and a collection of them; the relative path
  // of a page is category/name/name.html in an issue index, name/name.html in a category index.
  void MakeCollection(const std::vector<Page>& pages, std::uint32_t type = kIssueIndex,
                      bool flag1 = true) {
    IndexCollection collection(Collection());
    ASSERT_EQ(collection.open("w+b"), kNoErr);
    ASSERT_EQ(collection.setHeader(type, true, flag1), kNoErr);
    for (const Page& page : pages) {
      const std::string relative = (type == kCategoryIndex ? "" : page.category + "/") + page.name +
                                   "/" + page.name + ".html";
      const fs::path path = root_ / relative;
      fs::create_directories(path.parent_path());
      std::ofstream(path, std::ios::binary) << kChainedPage;
      ArticleRecord record(page.year, page.issue, page.category, path.string(), relative,
                           page.description, page.subdescription);
      record.inUse = page.inUse;
      ASSERT_EQ(collection.appendRecord(record), kNoErr);
    }
    ASSERT_EQ(collection.close(), kNoErr);
  }

  MMoreErr Write(std::string* entry = nullptr, Callbacks* calls = nullptr) {
    ComponentArgs args;
    args.preferences = &store_;
    args.categories = &categories_;
    if (calls != nullptr) {
      args.progress = CountProgress;
      args.step = CountStep;
      args.context = calls;
    }
    StandardIndexWriter writer(args);
    IndexCollection collection(Collection());
    if (const MMoreErr status = collection.open("r+b"); status != kNoErr) return status;
    std::string path = Collection();
    const MMoreErr status = writer.write(nullptr, collection, nullptr, path);
    warnings_ = writer.warnings();
    collection.close();
    if (entry != nullptr) *entry = path;
    return status;
  }

  std::string Collection() const {
    return collection_.empty() ? (root_ / "index.mlx").string() : collection_;
  }
  std::string Read(const std::string& relative) const {
    std::ifstream in(root_ / relative, std::ios::binary);
    std::ostringstream content;
    content << in.rdbuf();
    return content.str();
  }
  std::vector<std::string> TopLevelNames() const {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(root_)) {
      if (entry.is_regular_file()) names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
  }
  static std::size_t Count(const std::string& text, const std::string& part) {
    std::size_t count = 0;
    for (std::size_t pos = text.find(part); pos != std::string::npos;
         pos = text.find(part, pos + part.size())) {
      ++count;
    }
    return count;
  }

  // Appends records with the given relative paths, all naming pages below the test folder.
  void MakeRecords(const std::vector<std::string>& relativePaths) {
    IndexCollection collection(Collection());
    ASSERT_EQ(collection.open("w+b"), kNoErr);
    ASSERT_EQ(collection.setHeader(kIssueIndex, true, true), kNoErr);
    for (const std::string& relative : relativePaths) {
      ArticleRecord record("1998", "01", "NEWS", (root_ / relative).string(), relative, relative,
                           "");
      ASSERT_EQ(collection.appendRecord(record), kNoErr);
    }
    ASSERT_EQ(collection.close(), kNoErr);
  }

  fs::path root_;
  std::string collection_;  // another collection than the test folder's own
  std::vector<std::string> warnings_;
  SettingsStore store_;
  CategoryTable categories_;
};

TEST_F(WriterTest, OneRecordIssueIndexByteForByte) {
  MakeCollection({{"1998", "01", "NEWS", "a", "D", "S"}});
  std::string entry;
  ASSERT_EQ(Write(&entry), kNoErr);
  EXPECT_EQ(entry, (root_ / "index.html").string());
  EXPECT_EQ(Read("index.html"), std::string(kHead) +
                                    "<H1>Index of 01/1998</H1>"
                                    "<A NAME=NEWS>\n"
                                    "<H2>NEWS</H2>"
                                    "<DL>\n"
                                    "<DT><A HREF=\"NEWS/a/a.html\">D</A>\n"
                                    "<DD>S\n"
                                    "</DL>\n" +
                                    kFoot);
  EXPECT_EQ(TopLevelNames(), (std::vector<std::string>{"index.html", "index.mlx"}));
}

TEST_F(WriterTest, CategoryRunsGiveOneSectionEach) {
  MakeCollection({{"1998", "01", "NEWS", "a", "A", ""},
                  {"1998", "01", "NEWS", "b", "B", ""},
                  {"1998", "01", "SPORTS", "c", "C", ""},
                  {"1998", "01", "NEWS", "d", "D", ""}});
  ASSERT_EQ(Write(), kNoErr);
  EXPECT_EQ(Read("index.html"), std::string(kHead) +
                                    "<H1>Index of 01/1998</H1>"
                                    "<A NAME=NEWS>\n<H2>NEWS</H2><DL>\n"
                                    "<DT><A HREF=\"NEWS/a/a.html\">A</A>\n"
                                    "<DT><A HREF=\"NEWS/b/b.html\">B</A>\n"
                                    "</DL>\n"
                                    "<A NAME=SPORTS>\n<H2>SPORTS</H2><DL>\n"
                                    "<DT><A HREF=\"SPORTS/c/c.html\">C</A>\n"
                                    "</DL>\n"
                                    "<A NAME=NEWS>\n<H2>NEWS</H2><DL>\n"
                                    "<DT><A HREF=\"NEWS/d/d.html\">D</A>\n"
                                    "</DL>\n" +
                                    kFoot);
}

TEST_F(WriterTest, KnownCategoriesGetTheirHeadlineByEightCharacterKey) {
  AddDefaultCategory("Entertai", "Entertainment");
  AddDefaultCategory("Culture", "Culture");
  categories_.Add("Plain", "Plain Name");
  MakeCollection({{"1998", "01", "Entertainment", "a", "A", ""},
                  {"1998", "01", "CULTURE", "b", "B", ""},
                  {"1998", "01", "Plain", "c", "C", ""}});
  ASSERT_EQ(Write(), kNoErr);
  const std::string index = Read("index.html");
  EXPECT_NE(
      index.find("<A NAME=Entertainment>\n"
                 "<H2><IMG SRC=\"../../GIFs/Entertai.gif\" ALT=\"Entertainment\"></H2><DL>\n"),
      std::string::npos);
  EXPECT_NE(index.find("<A NAME=CULTURE>\n<H2>CULTURE</H2><DL>\n"), std::string::npos);
  EXPECT_NE(index.find("<A NAME=Plain>\nPlain Name<DL>\n"), std::string::npos);
}

TEST_F(WriterTest, TwoIssuesGiveTwoGroupHeadings) {
  store_.SetShort(kIssueListType, kListUnnumbered);
  MakeCollection({{"1998", "01", "NEWS", "a", "A", "sub"}, {"1998", "02", "NEWS", "b", "B", ""}});
  ASSERT_EQ(Write(), kNoErr);
  EXPECT_EQ(Read("index.html"), std::string(kHead) +
                                    "<H1>Index of 01/1998</H1>"
                                    "<A NAME=NEWS>\n<H2>NEWS</H2><UL>\n"
                                    "<LI><A HREF=\"NEWS/a/a.html\">A</A>\n"
                                    "sub\n"
                                    "</UL>\n"
                                    "<H1>Index of 02/1998</H1>"
                                    "<A NAME=NEWS>\n<H2>NEWS</H2><UL>\n"
                                    "<LI><A HREF=\"NEWS/b/b.html\">B</A>\n"
                                    "</UL>\n" +
                                    kFoot);
}

TEST_F(WriterTest, DosEndingNamesEveryOutputFile) {
  store_.SetBool(kCreateDOSEnding, true);
  MakeCollection({{"1998", "01", "NEWS", "a", "A", ""}});
  std::string entry;
  ASSERT_EQ(Write(&entry), kNoErr);
  EXPECT_EQ(entry, (root_ / "index.htm").string());
  EXPECT_EQ(TopLevelNames(), (std::vector<std::string>{"index.htm", "index.mlx"}));

  store_.SetBool(kCreateFrames, true);
  ASSERT_EQ(Write(&entry), kNoErr);
  EXPECT_EQ(entry, (root_ / "index.htm").string());
  EXPECT_EQ(TopLevelNames(),
            (std::vector<std::string>{"category.htm", "content.htm", "index.htm", "index.mlx"}));
  EXPECT_NE(Read("index.htm").find("<FRAME SRC=\"category.htm\""), std::string::npos);
  EXPECT_NE(Read("category.htm").find("<A HREF=\"content.htm#NEWS\""), std::string::npos);
}

TEST_F(WriterTest, FrameDocumentsThatDoNotExistAreReported) {
  store_.SetBool(kCreateFrames, true);
  store_.SetBool(kShowHeader, true);
  store_.SetBool(kShowFooter, true);
  store_.SetBool(kShowCategory, true);
  store_.SetString(kHeaderURL, "GIFs/header.html#top");
  store_.SetString(kFooterUR, "GIFs/footer.html");
  store_.SetString(kCategoryURL, "category.html");  // the writer's own document
  store_.SetString(kBodyURL, "http://example.org/start");
  MakeCollection({{"1998", "01", "News", "a", "A", ""}});
  fs::create_directories(root_ / "GIFs");
  std::ofstream(root_ / "GIFs/header.html") << "<HTML></HTML>";
  ASSERT_EQ(Write(), kNoErr);
  EXPECT_EQ(warnings_, std::vector<std::string>{
                           "Frame document missing: GIFs/footer.html (named by the frames of "
                           "index.html)"});
  std::ofstream(root_ / "GIFs/footer.html") << "<HTML></HTML>";
  ASSERT_EQ(Write(), kNoErr);
  EXPECT_TRUE(warnings_.empty());
}

TEST_F(WriterTest, FramesModeRepeatsTheListWithoutTargets) {
  store_.SetBool(kCreateFrames, true);
  store_.SetBool(kShowHeader, false);
  store_.SetBool(kShowFooter, false);
  store_.SetString(kCategoryDelimiter, " | ");
  store_.SetString(kCategoryFooterBefore, "<HR>$ISSUE:");
  AddDefaultCategory("News", "News");
  MakeCollection({{"1998", "01", "News", "a", "A", "S"}, {"1998", "01", "Sports", "b", "B", ""}});
  std::string entry;
  ASSERT_EQ(Write(&entry), kNoErr);
  EXPECT_EQ(entry, (root_ / "index.html").string());

  const std::string list =
      "<H1>Index of 01/1998</H1>"
      "<H2><IMG SRC=\"../../GIFs/News.gif\" ALT=\"News\"></H2><DL>\n"
      "<DT><A HREF=\"News/a/a.html\">A</A>\n<DD>S\n</DL>\n"
      "<H2>Sports</H2><DL>\n"
      "<DT><A HREF=\"Sports/b/b.html\">B</A>\n</DL>\n";
  EXPECT_EQ(Read("index.html"),
            "<!DOCTYPE HTML PUBLIC \"-//W30//DTD W3 HTML 2.0//EN\">\n"
            "<!-- Created with \"Marlix Index 3.0.1\" by Tarnby -->\n"
            "<HTML>\n<HEAD><TITLE>Index</TITLE></HEAD>\n"
            "<FRAMESET ROWS=\"36, *\">\n"
            "\t<FRAME SRC=\"category.html\" SCROLLING=\"NO\">\n"
            "<FRAMESET COLS=\"*, 65%\">\n"
            "\t<FRAME SRC=\"content.html\" NAME=\"IndexList\" SCROLLING=\"YES\" RESIZABLE>\n"
            "\t<FRAME SRC=\"../../GIFs/Start.html\" NAME=\"IndexBody\" SCROLLING=\"YES\" "
            "RESIZABLE>\n"
            "</FRAMESET>\n</FRAMESET>\n"
            "<NOFRAMES>\n<HR>!! Frames-View: Please use Netscape 2.0 or higher...<HR>\n" +
                list);
  EXPECT_EQ(Read("content.html"),
            std::string(kHead) +
                "<H1>Index of 01/1998</H1>"
                "<A NAME=News>\n<H2><IMG SRC=\"../../GIFs/News.gif\" ALT=\"News\"></H2><DL>\n"
                "<DT><A HREF=\"News/a/a.html\" TARGET=\"IndexBody\">A</A>\n<DD>S\n</DL>\n"
                "<A NAME=Sports>\n<H2>Sports</H2><DL>\n"
                "<DT><A HREF=\"Sports/b/b.html\" TARGET=\"IndexBody\">B</A>\n</DL>\n" +
                kFoot);
  EXPECT_EQ(Read("category.html"),
            "<!DOCTYPE HTML PUBLIC \"-//W30//DTD W3 HTML 2.0//EN\">\n"
            "<!-- Created with \"Marlix Index 3.0.1\" by Tarnby -->\n"
            "<HTML><HEAD><TITLE>Category</TITLE></HEAD><BODY BGCOLOR=\"FFFFFF\">\n"
            "<A HREF=\"content.html#News\" TARGET=\"IndexList\">News</A> | \n"
            "<A HREF=\"content.html#Sports\" TARGET=\"IndexList\">Sports</A> | \n"
            "<HR>01<ADDRESS><A HREF=\"http://author.example/\" TARGET=\"About\">Tarnby</A>"
            "</ADDRESS>\n</BODY></HTML>");
}

TEST_F(WriterTest, CategoryIndexHeadsEachGroupWithTheCategoryName) {
  AddDefaultCategory("Entertai", "Entertainment");
  store_.SetBool(kCreateFrames, true);
  MakeCollection({{"1997", "ISSUE12", "Entertainment", "a", "A", ""},
                  {"1997", "ISSUE12", "Entertainment", "b", "B", "b2"}},
                 kCategoryIndex);
  ASSERT_EQ(Write(), kNoErr);
  EXPECT_EQ(Read("content.html"),
            std::string(kHead) +
                "<H1>Index of Entertainment</H1><DL>\n"
                "<DT><A HREF=\"a/a.html\" TARGET=\"IndexBody\">A</A>\n"
                "<DT><A HREF=\"b/b.html\" TARGET=\"IndexBody\">B</A>\n<DD>b2\n"
                "</DL>\n" +
                kFoot);
  const std::string category = Read("category.html");
  EXPECT_EQ(category.find("<A HREF"), category.rfind("<A HREF"));  // the address link alone
  EXPECT_TRUE(category.ends_with("</ADDRESS>\n</BODY></HTML>"));
}

TEST_F(WriterTest, AuthorLinesFollowTheAuthorSettings) {
  MakeCollection({{"1998", "01", "NEWS", "a", "A", ""}});
  store_.SetString(kAuthorName, "");
  ASSERT_EQ(Write(), kNoErr);
  EXPECT_EQ(Read("index.html").find("ADDRESS"), std::string::npos);

  store_.SetString(kAuthorName, "Ed \xFC $YEAR:");
  store_.SetString(kAuthorURL, "");
  store_.SetString(kIndexFooterAfter, "");
  ASSERT_EQ(Write(), kNoErr);
  EXPECT_TRUE(Read("index.html").ends_with("<HR><ADDRESS>Ed &uuml; 1998</ADDRESS>\n"));
}

TEST_F(WriterTest, CollectionSnippetsReplaceHeadAndFoot) {
  MakeCollection({{"1998", "01", "NEWS", "a", "A", ""}});
  // The collection holds the path as Windows-1252 text; the file's name on disk is UTF-8.
  std::ofstream(root_ / "h\u00e9ad.txt") << "HEAD $YEAR:\n";
  {
    IndexCollection collection(Collection());
    ASSERT_EQ(collection.open("r+b"), kNoErr);
    collection.headerBlock().SetString(kCollectionHeaderSnippet, (root_ / "h").string() +
                                                                     "\xE9"
                                                                     "ad.txt");
    collection.headerBlock().SetString(kCollectionFooterSnippet, (root_ / "none.txt").string());
    ASSERT_EQ(collection.close(), kNoErr);
  }
  ASSERT_EQ(Write(), kNoErr);
  const std::string index = Read("index.html");
  EXPECT_TRUE(index.starts_with("HEAD $YEAR:\n<H1>Index of 01/1998</H1>")) << index;
  EXPECT_TRUE(index.ends_with(kFoot));
}

TEST_F(WriterTest, SkippedRecordsCallStepAndLeaveNoTrace) {
  MakeCollection({{"1998", "01", "NEWS", "a", "A", ""},
                  {"1998", "01", "NEWS", "b", "B", "", false},
                  {"1998", "01", "NEWS", "c", "C", ""}});
  Callbacks calls;
  ASSERT_EQ(Write(nullptr, &calls), kNoErr);
  EXPECT_EQ(calls.progressCalls, 2);
  EXPECT_EQ(calls.stepCalls, 1);
  EXPECT_EQ(calls.texts.front(), (root_ / "NEWS/a/a.html").string());
  const std::string index = Read("index.html");
  EXPECT_EQ(index.find("NEWS/b/b.html"), std::string::npos);
  EXPECT_EQ(Count(index, "<DL>"), 1u);
}

TEST_F(WriterTest, CollectionWithoutFlagOneIsRefused) {
  MakeCollection({{"1998", "01", "NEWS", "a", "A", ""}}, kIssueIndex, false);
  EXPECT_EQ(Write(), kBadArgument);
  EXPECT_EQ(TopLevelNames(), (std::vector<std::string>{"index.mlx"}));
}

TEST_F(WriterTest, CancelledRunLeavesThePreviousIndexAlone) {
  MakeCollection({{"1998", "01", "NEWS", "a", "A", ""}, {"1998", "01", "NEWS", "b", "B", ""}});
  ASSERT_EQ(Write(), kNoErr);
  const std::string before = Read("index.html");

  store_.SetBool(kCreateFrames, true);
  store_.SetString(kIssueHeader, "changed");
  Callbacks calls;
  calls.cancelAt = 2;
  EXPECT_EQ(Write(nullptr, &calls), kUserCancelled);
  EXPECT_EQ(Read("index.html"), before);
  EXPECT_EQ(TopLevelNames(), (std::vector<std::string>{"index.html", "index.mlx"}));
}

TEST_F(WriterTest, ChainingLinksNeighboursAndIndex) {
  store_.SetBool(kLinkDocuments, true);
  store_.SetBool(kCreateDOSEnding, true);
  MakeCollection({{"1998", "01", "NEWS", "a", "A", ""},
                  {"1998", "01", "NEWS", "b", "B", "", false},
                  {"1998", "01", "NEWS", "c", "C", ""},
                  {"1998", "01", "SPORTS", "d", "D", ""}});
  ASSERT_EQ(Write(), kNoErr);
  EXPECT_EQ(Read("NEWS/a/a.html"),
            "<A MXPREV HREF=\"\" MXEND>P</A><A MXINDEX HREF=\"../../index.htm\" MXEND>I</A>"
            "<A MXNEXT HREF=\"../../NEWS/c/c.html\" MXEND>N</A>");
  EXPECT_EQ(Read("NEWS/b/b.html"), kChainedPage);
  EXPECT_EQ(Read("NEWS/c/c.html"),
            "<A MXPREV HREF=\"../../NEWS/a/a.html\" MXEND>P</A>"
            "<A MXINDEX HREF=\"../../index.htm\" MXEND>I</A>"
            "<A MXNEXT HREF=\"../../SPORTS/d/d.html\" MXEND>N</A>");
  EXPECT_EQ(Read("SPORTS/d/d.html"),
            "<A MXPREV HREF=\"../../NEWS/c/c.html\" MXEND>P</A>"
            "<A MXINDEX HREF=\"../../index.htm\" MXEND>I</A><A MXNEXT HREF=\"\" MXEND>N</A>");

  const std::string first = Read("NEWS/c/c.html");
  ASSERT_EQ(Write(), kNoErr);
  EXPECT_EQ(Read("NEWS/c/c.html"), first);
}

TEST_F(WriterTest, ACopiedCollectionChainsTheCopyAndNotTheOriginal) {
  store_.SetBool(kLinkDocuments, true);
  MakeCollection({{"1998", "01", "NEWS", "a", "A", ""}, {"1998", "01", "NEWS", "b", "B", ""}});
  const fs::path copy = root_.string() + "-copy";
  fs::copy(root_, copy, fs::copy_options::recursive);
  collection_ = (copy / "index.mlx").string();
  const MMoreErr status = Write();
  std::ifstream in(copy / "NEWS/b/b.html", std::ios::binary);
  const std::string chained((std::istreambuf_iterator<char>(in)), {});
  fs::remove_all(copy);
  ASSERT_EQ(status, kNoErr);
  EXPECT_EQ(Read("NEWS/a/a.html"), kChainedPage);  // the records' full paths name these
  EXPECT_EQ(Read("NEWS/b/b.html"), kChainedPage);
  EXPECT_EQ(chained,
            "<A MXPREV HREF=\"../../NEWS/a/a.html\" MXEND>P</A>"
            "<A MXINDEX HREF=\"../../index.html\" MXEND>I</A><A MXNEXT HREF=\"\" MXEND>N</A>");
  EXPECT_TRUE(warnings_.empty());
}

TEST_F(WriterTest, RecordsNamingPagesOutsideTheFolderAreNotChained) {
  store_.SetBool(kLinkDocuments, true);
  const fs::path outside = root_.string() + "-outside.html";
  std::ofstream(outside, std::ios::binary) << kChainedPage;
  fs::create_directories(root_ / "NEWS/a");
  fs::create_directories(root_ / "NEWS/link");
  std::ofstream(root_ / "NEWS/a/a.html", std::ios::binary) << kChainedPage;
  fs::create_symlink(outside, root_ / "NEWS/link/link.html");
  MakeRecords({"../" + outside.filename().string(), "NEWS/a/a.html", outside.string(),
               "NEWS/link/link.html", "NEWS/a/../../../x.html"});
  const MMoreErr status = Write();
  std::ifstream in(outside, std::ios::binary);
  const std::string outsideText((std::istreambuf_iterator<char>(in)), {});
  fs::remove(outside);
  ASSERT_EQ(status, kNoErr);
  EXPECT_EQ(outsideText, kChainedPage);
  // The one page inside is chained alone; the others take no part.
  EXPECT_EQ(Read("NEWS/a/a.html"),
            "<A MXPREV HREF=\"\" MXEND>P</A><A MXINDEX HREF=\"../../index.html\" MXEND>I</A>"
            "<A MXNEXT HREF=\"\" MXEND>N</A>");
  ASSERT_EQ(warnings_.size(), 4u);
  EXPECT_EQ(warnings_[3],
            "Page not chained, it lies outside the collection's folder: NEWS/a/../../../x.html");
  // The index still lists every record, as the collection has it.
  EXPECT_EQ(Count(Read("index.html"), "<DT>"), 5u);
}

TEST_F(WriterTest, PagesAbove127AreFoundUnderTheirUtf8Names) {
  store_.SetBool(kLinkDocuments, true);
  fs::create_directories(root_ / "Kultur/Sm\u00f6rg\u00e5s");
  std::ofstream(root_ / "Kultur/Sm\u00f6rg\u00e5s/Sm\u00f6rg\u00e5s.htm", std::ios::binary)
      << kChainedPage;
  MakeRecords({"Kultur/Sm\xF6rg\xE5s/Sm\xF6rg\xE5s.htm"});
  ASSERT_EQ(Write(), kNoErr);
  EXPECT_EQ(Read("Kultur/Sm\u00f6rg\u00e5s/Sm\u00f6rg\u00e5s.htm"),
            "<A MXPREV HREF=\"\" MXEND>P</A><A MXINDEX HREF=\"../../index.html\" MXEND>I</A>"
            "<A MXNEXT HREF=\"\" MXEND>N</A>");
  EXPECT_NE(Read("index.html").find("<A HREF=\"Kultur/Sm\xF6rg\xE5s/Sm\xF6rg\xE5s.htm\">"),
            std::string::npos);
}

TEST_F(WriterTest, LoneDocumentIsChainedOnceAtTheEnd) {
  store_.SetBool(kLinkDocuments, true);
  MakeCollection({{"1998", "01", "NEWS", "a", "A", ""}});
  ASSERT_EQ(Write(), kNoErr);
  EXPECT_EQ(Read("NEWS/a/a.html"),
            "<A MXPREV HREF=\"\" MXEND>P</A><A MXINDEX HREF=\"../../index.html\" MXEND>I</A>"
            "<A MXNEXT HREF=\"\" MXEND>N</A>");
}

TEST_F(WriterTest, MissingDocumentStopsTheRunBeforeTheIndexIsWritten) {
  store_.SetBool(kLinkDocuments, true);
  MakeCollection({{"1998", "01", "NEWS", "a", "A", ""}, {"1998", "01", "NEWS", "b", "B", ""}});
  fs::remove(root_ / "NEWS/a/a.html");
  EXPECT_EQ(Write(), kFileNotFoundErr);
  EXPECT_EQ(TopLevelNames(), (std::vector<std::string>{"index.mlx"}));
  EXPECT_EQ(Read("NEWS/b/b.html"), kChainedPage);
}

TEST_F(WriterTest, DescriptionsKeepTheirTextButNoMarkup) {
  MakeCollection(
      {{"1998", "01", "NEWS", "a", "<script>x</script>\xFC &amp; $YEAR:", "<B>\xE9</B> &lt;"}});
  ASSERT_EQ(Write(), kNoErr);
  const std::string index = Read("index.html");
  EXPECT_EQ(index.find("<script>"), std::string::npos);
  EXPECT_NE(index.find(">&lt;script&gt;x&lt;/script&gt;\xFC &amp; $YEAR:</A>\n"
                       "<DD>&lt;B&gt;\xE9&lt;/B&gt; &lt;\n"),
            std::string::npos)
      << index;
}

TEST(WriterComponentTest, TextsAndConstruction) {
  SettingsStore store;
  ComponentArgs args;
  args.preferences = &store;
  StandardIndexWriter writer(args);
  EXPECT_EQ(writer.description(),
            "\"Standard\" creates an HTML table of contentswith links to all the articles. "
            "Optionally a Frames document is created - see the preferences of the application.");
  EXPECT_EQ(writer.usage(), "Standard: -writer=\"Standard\"");
  EXPECT_EQ(writer.reserved(), kNotSupported);
  args.preferences = nullptr;
  EXPECT_THROW(StandardIndexWriter{args}, MMoreErr);
}

}  // namespace
}  // namespace indexer
