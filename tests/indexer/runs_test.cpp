// The component registry and the two indexing runs, driven through a recording front end.
#include "indexer/engine/index_runs.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "indexer/engine/archive_scanner.h"
#include "indexer/engine/component_registry.h"
#include "indexer/engine/index_collection.h"
#include "indexer/engine/index_engine.h"
#include "indexer/engine/index_writer.h"
#include "indexer/store/settings_keys.h"
#include "tests/indexer/scratch_folder.h"

namespace indexer {
namespace {

namespace fs = std::filesystem;
using testing::FolderEntries;
using testing::ReadFile;
using testing::ScratchFolder;
using testing::WriteFile;

void WritePage(const std::string& path, const std::string& description) {
  fs::create_directories(fs::path(path).parent_path());
  WriteFile(path, "<HEAD><META NAME=\"DESCRIPTION\" CONTENT=\"" + description +
                      "\"></HEAD><BODY><A $NEXTURL:>next</A></BODY>");
}

// An engine whose dialogs answer as a test says.
class TestEngine : public IndexEngine {
 public:
  TestEngine() {
    setDefaultPreferences();
    setDefaultCategories();
  }
  MMoreErr showProgress(const std::string& text) override {
    shown.push_back(text);
    return shown.size() == cancelAt ? kUserCancelled : kNoErr;
  }
  MMoreErr askIndexType(std::uint32_t& type) override {
    ++asks;
    type = indexType;
    return askAnswer;
  }

  std::vector<std::string> shown;
  std::size_t cancelAt = 0;
  int asks = 0;
  std::uint32_t indexType = kIssueIndex;
  MMoreErr askAnswer = kNoErr;
};

class RecordingFrontEnd : public RunFrontEnd {
 public:
  std::string selectFolder(const std::string& title, const std::string& start) override {
    log.push_back("folder " + title + " " + start);
    return folder;
  }
  std::string selectScanner(const std::vector<std::string>& candidates) override {
    log.push_back("scanners " + std::to_string(candidates.size()));
    return {};
  }
  void showError(const std::string& text, const std::string& title) override {
    log.push_back("error " + title + " " + text);
  }
  void openProgress(const std::string& caption) override { log.push_back("open " + caption); }
  void closeProgress() override { log.push_back("close"); }
  void openPage(const std::string& path) override { log.push_back("page " + path); }

  std::string folder;
  std::vector<std::string> log;
};

std::unique_ptr<IndexComponent> MakeOtherWriter(const ComponentArgs& args) {
  class OtherWriter : public IndexWriter {
   public:
    using IndexWriter::IndexWriter;
    MMoreErr write(const OptionMap*, IndexCollection&, Scanner*, std::string&) override {
      return kNoErr;
    }
    std::string description() const override { return "other"; }
    std::string usage() const override { return "other"; }
    std::string author() const override { return "other"; }
  };
  return std::make_unique<OtherWriter>(args);
}

TEST(ComponentRegistry, StartsWithTheTwoComponentsInNameOrder) {
  TestEngine engine;
  ComponentRegistry& registry = engine.registry();
  std::string name;
  int kind = 0;
  ASSERT_EQ(registry.entryAt(0, &name, &kind), kNoErr);
  EXPECT_EQ(name, "Marlix XT Archive");
  EXPECT_EQ(kind, kComponentScanner);
  ASSERT_EQ(registry.entryAt(1, &name, &kind), kNoErr);
  EXPECT_EQ(name, "Standard");
  EXPECT_EQ(kind, kComponentWriter);
  EXPECT_EQ(registry.entryAt(2, &name, &kind), kNotFound);
  EXPECT_EQ(registry.entryAt(0, nullptr, &kind), kBadArgument);
  EXPECT_EQ(registry.entryAt(0, &name, nullptr), kBadArgument);
}

TEST(ComponentRegistry, ConstructionWithoutEngineThrows3) {
  OptionMap a, b, c;
  try {
    ComponentRegistry registry(a, b, c, nullptr);
    FAIL() << "no throw";
  } catch (MMoreErr status) {
    EXPECT_EQ(status, kBadArgument);
  }
}

TEST(ComponentRegistry, AddKindOfRemove) {
  TestEngine engine;
  ComponentRegistry& registry = engine.registry();
  EXPECT_EQ(registry.add("", kComponentWriter, MakeOtherWriter), kBadArgument);
  EXPECT_EQ(registry.add("Other", 3, MakeOtherWriter), kBadArgument);
  EXPECT_EQ(registry.add("Other", kComponentWriter, nullptr), kBadArgument);
  ASSERT_EQ(registry.add("Other", kComponentWriter, MakeOtherWriter), kNoErr);
  int kind = 0;
  EXPECT_EQ(registry.kindOf("Other", kind), kNoErr);
  EXPECT_EQ(kind, kComponentWriter);
  std::string name;
  ASSERT_EQ(registry.entryAt(1, &name, &kind), kNoErr);
  EXPECT_EQ(name, "Other");                              // byte order: "O" < "S"
  EXPECT_EQ(registry.kindOf("other", kind), kNotFound);  // names keep their case
  EXPECT_EQ(registry.remove("Other"), kNoErr);
  EXPECT_EQ(registry.remove("Other"), kNotFound);
}

TEST(ComponentRegistry, CreatesComponentsOfTheRightKindOnly) {
  TestEngine engine;
  ComponentRegistry& registry = engine.registry();
  std::unique_ptr<Scanner> scanner;
  std::unique_ptr<IndexWriter> writer;
  EXPECT_EQ(registry.createScanner("Standard", scanner, nullptr, nullptr, nullptr, nullptr),
            kBadArgument);
  EXPECT_EQ(registry.createWriter("Marlix XT Archive", writer, nullptr, nullptr, nullptr),
            kBadArgument);
  EXPECT_EQ(registry.createScanner("Nobody", scanner, nullptr, nullptr, nullptr, nullptr),
            kNotFound);
  ASSERT_EQ(registry.createWriter("Standard", writer, nullptr, nullptr, nullptr), kNoErr);
  EXPECT_EQ(writer->description(),
            "\"Standard\" creates an HTML table of contentswith links to all the articles. "
            "Optionally a Frames document is created - see the preferences of the application.");
  EXPECT_EQ(writer->usage(), "Standard: -writer=\"Standard\"");
  EXPECT_EQ(writer->reserved(), kNotSupported);
  std::unique_ptr<IndexComponent> component;
  EXPECT_EQ(registry.create("Marlix XT Archive", component, ComponentArgs{}), kBadArgument);
}

class RunsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    issue_ = archive_.File("1998/01");
    WritePage(issue_ + "/News/a/a.html", "A");
    WritePage(issue_ + "/News/b/b.html", "B");
    WritePage(issue_ + "/Sport/c/c.html", "C");
    frontEnd_.folder = issue_;
    engine_.scannerOptions()["type"] = "issue";
  }

  std::string collection() const { return issue_ + "/index.mlx"; }

  TestEngine engine_;
  RecordingFrontEnd frontEnd_;
  RunDocument document_;
  ScratchFolder archive_;
  std::string issue_;
};

TEST_F(RunsTest, RegistryScanGivesBackTheCollectionPath) {
  std::string source = issue_;
  std::unique_ptr<Scanner> scanner;
  ASSERT_EQ(engine_.registry().scan(source, "Marlix XT Archive", nullptr, nullptr, nullptr, nullptr,
                                    &scanner),
            kNoErr);
  EXPECT_EQ(source, collection());
  ASSERT_NE(scanner, nullptr);
  EXPECT_EQ(engine_.shown, (std::vector<std::string>{"A", "B", "C"}));
  IndexCollection written(collection());
  ASSERT_EQ(written.open("rb"), kNoErr);
  EXPECT_EQ(written.count(), 3u);
  std::string name;
  EXPECT_EQ(written.headerBlock().GetString(kCollectionScanner, name), kNoErr);
  EXPECT_EQ(name, "Marlix XT Archive");
  // Nothing but the collection was added to the folder.
  EXPECT_EQ(FolderEntries(issue_).size(), 3u);
}

TEST_F(RunsTest, RegistryScanRefusesWritersAndUnusableSources) {
  std::string source = issue_;
  EXPECT_EQ(
      engine_.registry().scan(source, "Standard", nullptr, nullptr, nullptr, nullptr, nullptr),
      kBadArgument);
  source = issue_ + "/News/a/a.html";
  EXPECT_EQ(engine_.registry().scan(source, "Marlix XT Archive", nullptr, nullptr, nullptr, nullptr,
                                    nullptr),
            kBadArgument);
}

TEST_F(RunsTest, AFailedOrCancelledScanKeepsTheEarlierCollection) {
  WriteFile(collection(), "earlier collection");
  for (MMoreErr answer : {kUserCancelled, kNoErr}) {
    engine_.scannerOptions().clear();
    engine_.askAnswer = answer;
    engine_.indexType = answer == kNoErr ? 7 : kIssueIndex;  // 7: not a type, the scan fails
    std::string source = issue_;
    const MMoreErr status = engine_.registry().scan(source, "Marlix XT Archive", nullptr, nullptr,
                                                    nullptr, nullptr, nullptr);
    EXPECT_EQ(status, answer == kNoErr ? kBadArgument : kUserCancelled);
    EXPECT_EQ(ReadFile(collection()), "earlier collection");
    EXPECT_EQ(FolderEntries(issue_).size(), 3u) << "a temporary file was left";
  }
  engine_.cancelAt = 2;
  engine_.scannerOptions()["type"] = "issue";
  std::string source = issue_;
  EXPECT_EQ(engine_.registry().scan(source, "Marlix XT Archive", nullptr, nullptr, nullptr, nullptr,
                                    nullptr),
            kUserCancelled);
  EXPECT_EQ(ReadFile(collection()), "earlier collection");
}

TEST_F(RunsTest, ScanningRunSucceeds) {
  document_.defaultFolder = "/start";
  EXPECT_EQ(RunScanning(engine_.registry(), frontEnd_, document_), kStatusScanComplete);
  EXPECT_EQ(frontEnd_.log,
            (std::vector<std::string>{"folder Select a folder to be indexed... /start",
                                      "open Scanning...", "close"}));
  EXPECT_EQ(document_.collectionPath, collection());
  EXPECT_EQ(document_.defaultFolder, issue_);
  EXPECT_EQ(document_.title, issue_ + "/index.mlx");
  EXPECT_EQ(document_.statusWord, kStatusScanComplete);
}

TEST_F(RunsTest, ScanningRunWithoutMatchingScannerKeepsTheStatusWord) {
  document_.statusWord = kStatusIndexWritten;
  frontEnd_.folder = issue_ + "/News/a/a.html";
  EXPECT_EQ(RunScanning(engine_.registry(), frontEnd_, document_), kStatusIndexWritten);
  ASSERT_EQ(frontEnd_.log.size(), 2u);
  EXPECT_EQ(frontEnd_.log[1], "error Error... No matching Scanner found.");
  EXPECT_TRUE(document_.collectionPath.empty());
}

TEST_F(RunsTest, ScanningRunCancelledFolderDialogChangesNothing) {
  frontEnd_.folder.clear();
  document_.statusWord = kStatusScanFailed;
  EXPECT_EQ(RunScanning(engine_.registry(), frontEnd_, document_), kStatusScanFailed);
  EXPECT_EQ(frontEnd_.log.size(), 1u);
}

TEST_F(RunsTest, ScanningRunOutcomes) {
  engine_.scannerOptions().clear();
  engine_.askAnswer = kUserCancelled;
  EXPECT_EQ(RunScanning(engine_.registry(), frontEnd_, document_), kStatusScanCancelled);
  EXPECT_FALSE(MessageForStatus(kStatusScanCancelled).has_value());
  engine_.scannerOptions()["type"] = "neither";
  EXPECT_EQ(RunScanning(engine_.registry(), frontEnd_, document_), kStatusScanFailed);
  // A named scanner skips the dialog; a name that is no scanner fails the scan.
  EXPECT_EQ(RunScanning(engine_.registry(), frontEnd_, document_, "Standard"), kStatusScanFailed);
  frontEnd_.folder = std::string(300, 'x');
  EXPECT_EQ(RunScanning(engine_.registry(), frontEnd_, document_), kStatusScanFailed);
}

TEST_F(RunsTest, WritingRunWritesTheIndexAndOpensIt) {
  ASSERT_EQ(RunScanning(engine_.registry(), frontEnd_, document_), kStatusScanComplete);
  engine_.preferences().SetBool(kCreateDOSEnding, false);
  frontEnd_.log.clear();
  std::string indexPath;
  EXPECT_EQ(RunWriting(engine_.registry(), frontEnd_, document_, "Standard", true, &indexPath),
            kStatusIndexWritten);
  EXPECT_EQ(indexPath, issue_ + "/index.html");
  EXPECT_EQ(frontEnd_.log, (std::vector<std::string>{"open Creating Index...", "close",
                                                     "page " + issue_ + "/index.html"}));
  EXPECT_EQ(engine_.shown.size(), 6u);  // three documents scanned, three written
}

TEST_F(RunsTest, CancelledWritingRunStillOpensAnExistingIndex) {
  ASSERT_EQ(RunScanning(engine_.registry(), frontEnd_, document_), kStatusScanComplete);
  engine_.preferences().SetBool(kCreateDOSEnding, true);
  ASSERT_EQ(RunWriting(engine_.registry(), frontEnd_, document_, "Standard", false),
            kStatusIndexWritten);
  const std::string before = ReadFile(issue_ + "/index.htm");
  engine_.cancelAt = engine_.shown.size() + 2;
  frontEnd_.log.clear();
  EXPECT_EQ(RunWriting(engine_.registry(), frontEnd_, document_, "Standard", true),
            kStatusWriteCancelled);
  EXPECT_EQ(frontEnd_.log.back(), "page " + issue_ + "/index.htm");
  EXPECT_EQ(ReadFile(issue_ + "/index.htm"), before);
  EXPECT_EQ(MessageForStatus(kStatusWriteCancelled)->text, "User Break!");
}

TEST_F(RunsTest, WritingRunWithAnUnknownCollectionScannerFails) {
  ASSERT_EQ(RunScanning(engine_.registry(), frontEnd_, document_), kStatusScanComplete);
  {
    IndexCollection changed(collection());
    ASSERT_EQ(changed.open("r+b"), kNoErr);
    changed.headerBlock().SetString(kCollectionScanner, "Gone Scanner");
    ASSERT_EQ(changed.close(), kNoErr);
  }
  EXPECT_EQ(
      engine_.registry().write(collection(), "", "Standard", nullptr, nullptr, nullptr, nullptr),
      kNotFound);
  EXPECT_EQ(RunWriting(engine_.registry(), frontEnd_, document_, "Standard", false),
            kStatusWriteFailed);
  EXPECT_EQ(RunWriting(engine_.registry(), frontEnd_, document_, "Nobody", false),
            kStatusWriteFailed);
}

TEST(RunMessages, TextsAndTitles) {
  struct Expected {
    std::uint16_t word;
    const char* text;
    bool error;
  };
  for (const Expected& expected :
       {Expected{1, "User Break!", true}, Expected{2, "Error by scanning source!", true},
        Expected{3, "Error by writing index!", true},
        Expected{6, "Error by creating of\ndrag and drop struct!", true},
        Expected{16, "Scanning complete.", false},
        Expected{17, "Creating index complete.", false}}) {
    const auto message = MessageForStatus(expected.word);
    ASSERT_TRUE(message.has_value()) << expected.word;
    EXPECT_EQ(message->text, expected.text);
    EXPECT_EQ(message->error, expected.error);
    EXPECT_EQ(message->title, expected.error ? "Error" : "Information");
  }
  EXPECT_FALSE(MessageForStatus(0).has_value());
  EXPECT_FALSE(MessageForStatus(7).has_value());
  EXPECT_EQ(ScanStatusWord(kNoErr), 16);
  EXPECT_EQ(ScanStatusWord(kUserCancelled), 7);
  EXPECT_EQ(ScanStatusWord(kFileOpenErr), 2);
  EXPECT_EQ(WriteStatusWord(kNoErr), 17);
  EXPECT_EQ(WriteStatusWord(kUserCancelled), 1);
  EXPECT_EQ(WriteStatusWord(kBadArgument), 3);
}

TEST(RunMessages, IndexPageIsHtmlElseHtm) {
  ScratchFolder folder;
  const std::string collection = folder.File("index.mlx");
  EXPECT_EQ(IndexPageFor(collection), "");
  WriteFile(folder.File("index.htm"), "");
  EXPECT_EQ(IndexPageFor(collection), folder.File("index.htm"));
  WriteFile(folder.File("index.html"), "");
  EXPECT_EQ(IndexPageFor(collection), folder.File("index.html"));
}

}  // namespace
}  // namespace indexer
