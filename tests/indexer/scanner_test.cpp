// The folder walk and the archive scanner on real folders.
#include "indexer/engine/archive_scanner.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "indexer/engine/article_record.h"
#include "indexer/engine/folder_walker.h"
#include "indexer/engine/index_collection.h"
#include "indexer/store/settings_store.h"
#include "tests/indexer/scratch_folder.h"

namespace indexer {
namespace {

namespace fs = std::filesystem;
using testing::ScratchFolder;
using testing::WriteFile;

void WritePage(const std::string& path, const std::string& head) {
  fs::create_directories(fs::path(path).parent_path());
  WriteFile(path, "<HTML><HEAD>" + head + "</HEAD><BODY>text</BODY></HTML>");
}

std::string Meta(const std::string& description, const std::string& subdescription = {}) {
  std::string head = "<META NAME=\"DESCRIPTION\" CONTENT=\"" + description + "\">";
  if (!subdescription.empty()) {
    head += "<META NAME=\"SUBDESCRIPTION\" CONTENT=\"" + subdescription + "\">";
  }
  return head;
}

// Records every call of the walk.
class RecordingWalker : public FolderWalker {
 public:
  std::vector<std::string> calls;

 protected:
  MMoreErr enterFolder(const std::string&, const std::string& rel, int depth) override {
    calls.push_back("enter " + rel + " " + std::to_string(depth));
    return kNoErr;
  }
  MMoreErr visitFile(const std::string& file, const std::string& rel, int depth) override {
    calls.push_back("file " + rel + " " + std::to_string(depth));
    return file.ends_with("stop") ? kUserCancelled : kNoErr;
  }
  MMoreErr leaveFolder(const std::string&, const std::string& rel, int depth) override {
    calls.push_back("leave " + rel + " " + std::to_string(depth));
    return kNoErr;
  }
  void folderSkipped(const std::string&, const std::string&) override {
    calls.push_back("skipped");
  }
  void nameSkipped(const std::string& path) override { calls.push_back("unnamed " + path); }
};

TEST(WalkOrder, IgnoresLetterCaseThenComparesBytes) {
  EXPECT_TRUE(WalkOrderLess("apple", "Banana"));
  EXPECT_TRUE(WalkOrderLess("Zebra", "zebra2"));
  EXPECT_TRUE(WalkOrderLess("News", "news"));  // tie broken byte by byte: 'N' < 'n'
  EXPECT_FALSE(WalkOrderLess("news", "News"));
  EXPECT_FALSE(WalkOrderLess("a_b", "ab"));  // '_' (0x5F) sorts after 'B' (0x42)
}

TEST(FolderWalker, VisitsDepthFirstInNameOrderWithRelativePaths) {
  ScratchFolder root;
  fs::create_directories(root.File("b/inner"));
  fs::create_directories(root.File("A"));
  WriteFile(root.File("b/inner/x.html"), "");
  WriteFile(root.File("c.txt"), "");
  WriteFile(root.File("A/y"), "");
  RecordingWalker walker;
  EXPECT_EQ(walker.walk(root.path(), "", 0), kNoErr);
  EXPECT_EQ(walker.calls,
            (std::vector<std::string>{"enter  0", "enter A 1", "file A/y 1", "leave A 1",
                                      "enter b 1", "enter b/inner 2", "file b/inner/x.html 2",
                                      "leave b/inner 2", "leave b 1", "file c.txt 0", "leave  0"}));
}

TEST(FolderWalker, NegativeDepthGivesEmptyRelativePaths) {
  ScratchFolder root;
  WriteFile(root.File("f"), "");
  RecordingWalker walker;
  walker.walk(root.path(), "", -1);
  EXPECT_EQ(walker.calls, (std::vector<std::string>{"enter  -1", "file  -1", "leave  -1"}));
}

TEST(FolderWalker, StopsAtTheFirstNonZeroResult) {
  ScratchFolder root;
  fs::create_directories(root.File("a"));
  WriteFile(root.File("a/stop"), "");
  WriteFile(root.File("b"), "");
  RecordingWalker walker;
  EXPECT_EQ(walker.walk(root.path(), "", 0), kUserCancelled);
  EXPECT_EQ(walker.calls, (std::vector<std::string>{"enter  0", "enter a 1", "file a/stop 1"}));
}

TEST(FolderWalker, AStartFolderThatCannotBeListedIs258) {
  ScratchFolder root;
  RecordingWalker walker;
  EXPECT_EQ(walker.walk(root.File("missing"), "", 0), kFileNotFoundErr);
}

TEST(FolderWalker, DoesNotFollowLinksToFolders) {
  ScratchFolder root;
  fs::create_directories(root.File("a"));
  fs::create_directory_symlink(root.path(), root.File("a/loop"));
  RecordingWalker walker;
  EXPECT_EQ(walker.walk(root.path(), "", 0), kNoErr);
  EXPECT_EQ(walker.calls, (std::vector<std::string>{"enter  0", "enter a 1", "file a/loop 1",
                                                    "leave a 1", "leave  0"}));
}

TEST(FolderWalker, NamesAreWindows1252AndUnwritableNamesAreSkipped) {
  ScratchFolder root;
  fs::create_directories(root.File("Caf\u00e9"));
  WriteFile(root.File("Caf\u00e9/Sm\u00f6rg\u00e5s.htm"), "");
  WriteFile(root.File("\u4e2d.htm"), "");
  RecordingWalker walker;
  EXPECT_EQ(walker.walk(root.path(), "", 0), kNoErr);
  EXPECT_EQ(walker.calls, (std::vector<std::string>{
                              "enter  0", "unnamed " + root.File("\u4e2d.htm"), "enter Caf\xE9 1",
                              "file Caf\xE9/Sm\xF6rg\xE5s.htm 1", "leave Caf\xE9 1", "leave  0"}));
}

TEST(ArchivePages, DepthNamesAndExtensions) {
  EXPECT_TRUE(IsIndexedPage("/x/News/a/story.html", 2));
  EXPECT_TRUE(IsIndexedPage("/x/News/a/STORY.HTM", 2));
  EXPECT_TRUE(IsIndexedPage("/x/News/a/b/deep.htm", 3));
  EXPECT_TRUE(IsIndexedPage("/x/News/a/Index.html", 2));  // the name test keeps case
  EXPECT_FALSE(IsIndexedPage("/x/News/story.html", 1));
  EXPECT_FALSE(IsIndexedPage("/x/story.html", 0));
  EXPECT_FALSE(IsIndexedPage("/x/News/a/index.html", 2));
  EXPECT_FALSE(IsIndexedPage("/x/News/a/category.htm", 2));
  EXPECT_FALSE(IsIndexedPage("/x/News/a/content.htm", 2));
  EXPECT_FALSE(IsIndexedPage("/x/News/a/story.txt", 2));
  EXPECT_FALSE(IsIndexedPage("/x/News/a/story.html.bak", 2));
}

// Callbacks that count and can cancel at the n-th document.
struct ScanCalls {
  std::vector<std::string> progress;
  int steps = 0;
  int asks = 0;
  std::size_t cancelAt = 0;
  MMoreErr askAnswer = kNoErr;
  std::uint32_t askType = kIssueIndex;
};

MMoreErr Progress(const std::string& text, void* context) {
  auto* calls = static_cast<ScanCalls*>(context);
  calls->progress.push_back(text);
  return calls->progress.size() == calls->cancelAt ? kUserCancelled : kNoErr;
}

MMoreErr Step(void* context) {
  ++static_cast<ScanCalls*>(context)->steps;
  return kNoErr;
}

MMoreErr AskType(std::uint32_t& type, void* context) {
  auto* calls = static_cast<ScanCalls*>(context);
  ++calls->asks;
  type = calls->askType;
  return calls->askAnswer;
}

class ArchiveScannerTest : public ::testing::Test {
 protected:
  ArchiveScanner makeScanner() {
    return ArchiveScanner(ComponentArgs{&preferences_, nullptr, Progress, Step, AskType, &calls_});
  }

  // Scans into a fresh collection and reads the records back.
  MMoreErr scan(const std::string& source, const OptionMap* options,
                std::vector<ArticleRecord>& records) {
    ArchiveScanner scanner = makeScanner();
    IndexCollection collection(scratch_.File("index.mlx"));
    EXPECT_EQ(collection.open("w+b"), kNoErr);
    const MMoreErr status = scanner.scan(options, collection, source);
    for (std::uint32_t n = 1; n <= collection.count(); ++n) {
      ArticleRecord record;
      EXPECT_EQ(collection.readRecord(record, n), kNoErr);
      records.push_back(record);
    }
    std::uint32_t type = 0;
    bool flag0 = false, flag1 = false;
    if (collection.getHeader(type, flag0, flag1) == kNoErr) {
      headerType_ = type;
      EXPECT_TRUE(flag0 && flag1);
    }
    warnings_ = scanner.warnings();
    return status;
  }

  SettingsStore preferences_;
  ScanCalls calls_;
  ScratchFolder scratch_;
  ScratchFolder archive_;
  std::uint32_t headerType_ = 0;
  std::vector<std::string> warnings_;
};

TEST_F(ArchiveScannerTest, DescriptiveTexts) {
  ArchiveScanner scanner = makeScanner();
  EXPECT_EQ(scanner.description(),
            "\"Marlix XT Archive\" runs through the folders of an archive created with Marlix XT.");
  EXPECT_EQ(scanner.usage(),
            "Marlix XT Scanner: -scanner=\"Marlix XT Scanner\" -type=\"issue\"\nAccepted types "
            "are \"issue\" and \"category\".\n");
  EXPECT_FALSE(scanner.author().empty());
  EXPECT_EQ(scanner.reserved(), kNotSupported);
}

TEST_F(ArchiveScannerTest, AcceptsFoldersOnlyAndPutsTheCollectionInside) {
  ArchiveScanner scanner = makeScanner();
  WriteFile(archive_.File("file"), "");
  EXPECT_EQ(scanner.accepts(archive_.path()), kArchiveScannerAccepts);
  EXPECT_EQ(scanner.accepts(archive_.path().c_str()), kArchiveScannerAccepts);
  EXPECT_EQ(scanner.accepts(archive_.File("file")), 0);
  EXPECT_EQ(scanner.accepts(archive_.File("missing")), 0);
  std::string path = "/a/b";
  EXPECT_EQ(scanner.collectionPathFor(path), kCollectionPathReady);
  EXPECT_EQ(path, "/a/b/index.mlx");
  char buffer[32] = "/a/b";
  EXPECT_EQ(scanner.collectionPathFor(buffer, sizeof buffer), kCollectionPathReady);
  EXPECT_STREQ(buffer, "/a/b/index.mlx");
  char small[8] = "/a/b";
  EXPECT_EQ(scanner.collectionPathFor(small, sizeof small), kBadArgument);
}

TEST_F(ArchiveScannerTest, IssueIndexRecordsEveryPageInWalkOrder) {
  const std::string issue = archive_.File("1998/01");
  WritePage(issue + "/News/b/story.html", Meta("Second", "more"));
  WritePage(issue + "/News/a/story.htm", Meta("First"));
  WritePage(issue + "/culture/Intro/intro.HTML", "");        // no description
  WritePage(issue + "/News/a/index.html", Meta("skipped"));  // an index page
  WritePage(issue + "/News/top.html", Meta("depth 1"));      // not an article folder
  WritePage(issue + "/top.html", Meta("depth 0"));
  WriteFile(issue + "/News/a/picture.gif", "GIF89a");
  std::vector<ArticleRecord> records;
  const OptionMap options{{"type", "issue"}};
  ASSERT_EQ(scan(issue, &options, records), kNoErr);
  EXPECT_EQ(headerType_, kIssueIndex);
  EXPECT_EQ(calls_.asks, 0);
  ASSERT_EQ(records.size(), 3u);
  ArticleRecord expected("1998", "01", "culture", issue + "/culture/Intro/intro.HTML",
                         "culture/Intro/intro.HTML", "culture/Intro/intro.HTML", "");
  expected.number = 1;
  EXPECT_EQ(records[0], expected);
  EXPECT_EQ(records[1].description, "First");
  EXPECT_EQ(records[1].relativePath, "News/a/story.htm");
  EXPECT_EQ(records[1].category, "News");
  EXPECT_EQ(records[2].description, "Second");
  EXPECT_EQ(records[2].subdescription, "more");
  EXPECT_EQ(records[2].number, 3u);
  EXPECT_EQ(calls_.progress,
            (std::vector<std::string>{"culture/Intro/intro.HTML", "First", "Second"}));
  // A step after every folder entered (issue, 2 categories, 3 articles) and every file (7).
  EXPECT_EQ(calls_.steps, 6 + 7);
}

TEST_F(ArchiveScannerTest, CategoryIndexTakesYearIssueAndCategoryFromThePath) {
  const std::string category = archive_.File("ARCHIVE/1997/ISSUE12/CULTURE");
  WritePage(category + "/Story/story.html", Meta("S"));
  WritePage(category + "/top.html", Meta("depth 1"));
  std::vector<ArticleRecord> records;
  const OptionMap options{{"type", "category"}};
  ASSERT_EQ(scan(category, &options, records), kNoErr);
  EXPECT_EQ(headerType_, kCategoryIndex);
  ASSERT_EQ(records.size(), 1u);
  EXPECT_EQ(records[0].year, "1997");
  EXPECT_EQ(records[0].issue, "ISSUE12");
  EXPECT_EQ(records[0].category, "CULTURE");
  EXPECT_EQ(records[0].relativePath, "Story/story.html");
}

TEST_F(ArchiveScannerTest, UnknownTypeIsRefusedBeforeAnythingIsWritten) {
  std::vector<ArticleRecord> records;
  const OptionMap options{{"type", "Issue"}};
  EXPECT_EQ(scan(archive_.path(), &options, records), kBadArgument);
  EXPECT_EQ(headerType_, 0u);
  EXPECT_EQ(calls_.asks, 0);
}

TEST_F(ArchiveScannerTest, WithoutTypeTheCallbackIsAsked) {
  WritePage(archive_.File("C/a/p.html"), Meta("P"));
  std::vector<ArticleRecord> records;
  calls_.askType = kCategoryIndex;
  EXPECT_EQ(scan(archive_.File("C"), nullptr, records), kNoErr);
  EXPECT_EQ(calls_.asks, 1);
  EXPECT_EQ(headerType_, kCategoryIndex);
  EXPECT_EQ(records.size(), 1u);
}

TEST_F(ArchiveScannerTest, CancelledTypeQuestionEndsTheScan) {
  WritePage(archive_.File("C/a/p.html"), Meta("P"));
  std::vector<ArticleRecord> records;
  calls_.askAnswer = kUserCancelled;
  EXPECT_EQ(scan(archive_.path(), nullptr, records), kUserCancelled);
  EXPECT_TRUE(records.empty());
  EXPECT_TRUE(calls_.progress.empty());
}

TEST_F(ArchiveScannerTest, CancelStopsTheWalkAtOnce) {
  for (const char* name : {"a", "b", "c", "d"}) {
    WritePage(archive_.File(std::string("News/") + name + "/p.html"), Meta(name));
  }
  std::vector<ArticleRecord> records;
  calls_.cancelAt = 2;
  const OptionMap options{{"type", "issue"}};
  EXPECT_EQ(scan(archive_.path(), &options, records), kUserCancelled);
  EXPECT_EQ(calls_.progress, (std::vector<std::string>{"a", "b"}));
  EXPECT_EQ(records.size(), 2u);
}

TEST_F(ArchiveScannerTest, AFailedAppendFailsTheScanWhateverFollows) {
  WritePage(archive_.File("News/a/p.html"), Meta("a"));
  WritePage(archive_.File("News/b/p.html"), Meta("b"));
  ArchiveScanner scanner = makeScanner();
  IndexCollection unopened(scratch_.File("index.mlx"));
  const OptionMap options{{"type", "issue"}};
  EXPECT_EQ(scanner.scan(&options, unopened, archive_.path()), kFileNotOpenErr);
  EXPECT_TRUE(calls_.progress.empty());
}

TEST_F(ArchiveScannerTest, UnreadablePageIsIndexedUnderItsRelativePath) {
  WritePage(archive_.File("News/a/p.html"), Meta("a"));
  WriteFile(archive_.File("News/a/empty.html"), "");
  std::vector<ArticleRecord> records;
  const OptionMap options{{"type", "issue"}};
  ASSERT_EQ(scan(archive_.path(), &options, records), kNoErr);
  ASSERT_EQ(records.size(), 2u);
  EXPECT_EQ(records[0].description, "News/a/empty.html");
  EXPECT_EQ(records[0].subdescription, "");
}

// A folder nested so deep that its path is longer than the system accepts cannot be listed.
std::string MakeUnlistableFolder(const std::string& parent) {
  std::string path = parent;
  const std::string name(200, 'd');
  int fd = open(parent.c_str(), O_RDONLY | O_DIRECTORY);
  while (path.size() < 5000 && fd >= 0) {
    mkdirat(fd, name.c_str(), 0755);
    const int next = openat(fd, name.c_str(), O_RDONLY | O_DIRECTORY);
    close(fd);
    fd = next;
    path += "/" + name;
  }
  if (fd >= 0) close(fd);
  return path;
}

TEST_F(ArchiveScannerTest, AFolderThatCannotBeListedIsSkippedWithAWarning) {
  WritePage(archive_.File("A/a/p.html"), Meta("before"));
  fs::create_directories(archive_.File("B"));
  MakeUnlistableFolder(archive_.File("B"));
  WritePage(archive_.File("C/c/p.html"), Meta("after"));
  std::vector<ArticleRecord> records;
  const OptionMap options{{"type", "issue"}};
  EXPECT_EQ(scan(archive_.path(), &options, records), kNoErr);
  ASSERT_EQ(records.size(), 2u);
  EXPECT_EQ(records[1].description, "after");
  ASSERT_EQ(warnings_.size(), 1u);
  EXPECT_NE(warnings_[0].find("cannot be listed"), std::string::npos);
  // std::filesystem cannot remove a tree this deep; rm can.
  std::system(("rm -rf '" + archive_.File("B") + "'").c_str());
}

TEST_F(ArchiveScannerTest, ChainPatchesTheDocument) {
  WriteFile(archive_.File("p.html"), "<A $PREVURL:>p</A><A $NEXTURL:>n</A><A $INDEXURL:>i</A>");
  ArchiveScanner scanner = makeScanner();
  EXPECT_EQ(scanner.chain(archive_.File("p.html"), "../../", "index.html", "", "N/b/q.html"),
            kNoErr);
  EXPECT_EQ(testing::ReadFile(archive_.File("p.html")),
            "<A MXPREV HREF=\"\" MXEND>p</A><A MXNEXT HREF=\"../../N/b/q.html\" MXEND>n</A>"
            "<A MXINDEX HREF=\"../../index.html\" MXEND>i</A>");
}

TEST_F(ArchiveScannerTest, NamesFromDiskBecomeWindows1252Records) {
  const std::string issue = archive_.File("1998/N\u00b001");
  WritePage(issue + "/Kultur/Sm\u00f6rg\u00e5s/Sm\u00f6rg\u00e5s.htm", Meta("S"));
  WritePage(issue + "/Kultur/x/\u4e2d.htm", Meta("skipped"));
  std::vector<ArticleRecord> records;
  const OptionMap options{{"type", "issue"}};
  ASSERT_EQ(scan(issue, &options, records), kNoErr);
  ASSERT_EQ(records.size(), 1u);
  EXPECT_EQ(records[0].issue,
            "N\xB0"
            "01");
  EXPECT_EQ(records[0].relativePath, "Kultur/Sm\xF6rg\xE5s/Sm\xF6rg\xE5s.htm");
  EXPECT_EQ(records[0].path, archive_.File("1998/N\xB0"
                                           "01/Kultur/Sm\xF6rg\xE5s/Sm\xF6rg\xE5s.htm"));
  ASSERT_EQ(warnings_.size(), 1u);
  EXPECT_NE(warnings_[0].find("Kultur/x/?.htm"), std::string::npos) << warnings_[0];
}

TEST_F(ArchiveScannerTest, AFolderWithoutArticlesIsReported) {
  const OptionMap options{{"type", "issue"}};
  std::vector<ArticleRecord> records;
  ASSERT_EQ(scan(archive_.path(), &options, records), kNoErr);
  ASSERT_EQ(warnings_.size(), 1u);
  EXPECT_NE(warnings_[0].find("empty"), std::string::npos);

  WritePage(archive_.File("News/top.html"), Meta("depth 1"));
  ASSERT_EQ(scan(archive_.path(), &options, records), kNoErr);
  ASSERT_EQ(warnings_.size(), 1u);
  EXPECT_NE(warnings_[0].find("No article pages at the expected depth"), std::string::npos);

  WritePage(archive_.File("News/a/a.html"), Meta("A"));
  ASSERT_EQ(scan(archive_.path(), &options, records), kNoErr);
  EXPECT_TRUE(warnings_.empty());
}

TEST_F(ArchiveScannerTest, PagesUnderStandardAreReported) {
  WritePage(archive_.File("Standard/Headers/News.htm"), "");
  WritePage(archive_.File("Standard/Headers/Sports.htm"), "");
  const OptionMap options{{"type", "issue"}};
  std::vector<ArticleRecord> records;
  ASSERT_EQ(scan(archive_.path(), &options, records), kNoErr);
  EXPECT_EQ(records.size(), 2u);
  ASSERT_EQ(warnings_.size(), 1u);
  EXPECT_NE(warnings_[0].find("2 page(s) under Standard/"), std::string::npos) << warnings_[0];
  EXPECT_NE(warnings_[0].find("Standard/Headers/News.htm"), std::string::npos);
}

}  // namespace
}  // namespace indexer
