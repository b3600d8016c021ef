// Runs the built `indexer` program with its config folder in a scratch folder.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "scratch_folder.h"

namespace indexer {
namespace {

using testing::ReadFile;
using testing::ScratchFolder;
using testing::WriteFile;

struct RunResult {
  int status = -1;
  std::string out;
  std::string err;
};

std::string Quote(const std::string& arg) {
  std::string quoted = "'";
  for (const char c : arg)
    quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return quoted + "'";
}

class CliTest : public ::testing::Test {
 protected:
  void SetUp() override {
    const char* dir = std::getenv("MARLIX_BINARY_DIR");
    if (!dir) GTEST_SKIP() << "MARLIX_BINARY_DIR is not set (run through ctest)";
    binary_ = std::string(dir) + "/indexer/indexer";
  }

  RunResult Run(const std::vector<std::string>& args) {
    // Without a display, so that no command line ever opens the window.
    std::string command = "env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM XDG_CONFIG_HOME=" +
                          Quote(config_.path()) + " " + Quote(binary_);
    for (const std::string& arg : args)
      command += " " + Quote(arg);
    command += " 2>" + Quote(config_.File("stderr"));
    RunResult result;
    std::FILE* pipe = ::popen(command.c_str(), "r");
    if (!pipe) return result;
    char buffer[4096];
    for (std::size_t got; (got = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;)
      result.out.append(buffer, got);
    const int wait_status = ::pclose(pipe);
    result.status = WIFEXITED(wait_status) ? WEXITSTATUS(wait_status) : -1;
    result.err = ReadFile(config_.File("stderr"));
    return result;
  }

  std::string SettingsPath() const { return config_.path() + "/Tarnby/mlxindex.hpr"; }
  std::string CategoryPath() const { return config_.path() + "/Tarnby/mlxindex.hcg"; }

  std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    for (std::size_t end; (end = text.find('\n', start)) != std::string::npos; start = end + 1)
      lines.push_back(text.substr(start, end - start));
    return lines;
  }

  ScratchFolder config_;
  std::string binary_;
};

TEST_F(CliTest, PrefsListsEveryKeyInTableOrderAndWritesTheDefaults) {
  const RunResult run = Run({"--prefs"});
  ASSERT_EQ(run.status, 0) << run.err;
  const std::vector<std::string> lines = Lines(run.out);
  ASSERT_EQ(lines.size(), 61u);
  EXPECT_EQ(lines[0], "IndexHeaderBefore=<HTML><HEAD>");
  EXPECT_EQ(lines[17], "FooterUR=../../GIFs/footer.html");
  EXPECT_EQ(lines[27], "CategoryDelimiter= | ");
  EXPECT_EQ(lines[35], "IssueListType=1");
  EXPECT_EQ(lines[44], "DateCustom=");
  EXPECT_EQ(lines[60], "CreateDOSEnding=1");
  EXPECT_EQ(ReadFile(SettingsPath()).substr(0, 12), std::string("mPrf\0\x01\0\0\0\0\0\x3D", 12));
  EXPECT_EQ(ReadFile(CategoryPath()).substr(0, 4), "mCgy");
}

TEST_F(CliTest, PrefsStoreValuesWithEscapesAndListThemBack) {
  const RunResult set = Run({"--prefs", "IndexHeaderBefore=a\\\\b\\r\\n\\tc", "DateOffset=-3",
                             "CreateFrames=1", "AuthorName=Jürgen €"});
  ASSERT_EQ(set.status, 0) << set.err;
  const std::string listing = Run({"--prefs"}).out;
  EXPECT_NE(listing.find("IndexHeaderBefore=a\\\\b\\r\\n\\tc\n"), std::string::npos);
  EXPECT_NE(listing.find("DateOffset=-3\n"), std::string::npos);
  EXPECT_NE(listing.find("CreateFrames=1\n"), std::string::npos);
  EXPECT_NE(listing.find("AuthorName=Jürgen €\n"), std::string::npos);
  // Stored as Windows-1252 with the real control characters.
  const std::string bytes = ReadFile(SettingsPath());
  EXPECT_NE(bytes.find(std::string("a\\b\r\n\tc\0", 8)), std::string::npos);
  EXPECT_NE(bytes.find(std::string("J\xFCrgen \x80\0", 9)), std::string::npos);
}

TEST_F(CliTest, BadPrefsAreUsageErrorsAndSaveNothing) {
  ASSERT_EQ(Run({"--prefs", "InformOK=1"}).status, 0);
  const std::string before = ReadFile(SettingsPath());
  for (const std::vector<std::string>& args : std::vector<std::vector<std::string>>{
           {"--prefs", "CreateFrames=1", "NoSuchKey=1"},
           {"--prefs", "CreateFrames=1", "InformOK=yes"},
           {"--prefs", "DateOffset=40000"},
           {"--prefs", "DateOffset=1x"},
           {"--prefs", "BodySize=bad\\escape"},
           {"--prefs", "AuthorName=\xE4\xB8\xAD"},  // not in Windows-1252
           {"--prefs", "CreateFrames"}}) {
    const RunResult run = Run(args);
    EXPECT_EQ(run.status, 2) << args.back();
    EXPECT_NE(run.err, "") << args.back();
  }
  EXPECT_EQ(ReadFile(SettingsPath()), before);
}

TEST_F(CliTest, UnsavableFileIsAFailure) {
  ASSERT_EQ(Run({"--prefs"}).status, 0);
  // A folder where the file should be cannot be written, whoever runs the test.
  std::filesystem::remove(SettingsPath());
  std::filesystem::create_directory(SettingsPath());
  const RunResult run = Run({"--prefs", "CreateFrames=1"});
  EXPECT_EQ(run.status, 1);
  EXPECT_NE(run.err.find("mlxindex.hpr"), std::string::npos);
}

TEST_F(CliTest, ResetWritesTheDefaultsAgain) {
  ASSERT_EQ(Run({"--prefs", "CreateFrames=1"}).status, 0);
  ASSERT_EQ(Run({"--prefs-reset"}).status, 0);
  EXPECT_NE(Run({"--prefs"}).out.find("CreateFrames=0\n"), std::string::npos);
  ASSERT_EQ(Run({"--category-remove", "News"}).status, 0);
  ASSERT_EQ(Run({"--categories-reset"}).status, 0);
  EXPECT_EQ(Lines(Run({"--categories"}).out).size(), 7u);
}

TEST_F(CliTest, BadFileIsReplacedByTheDefaults) {
  std::filesystem::create_directories(config_.path() + "/Tarnby");
  WriteFile(SettingsPath(), "garbage");
  WriteFile(CategoryPath(), "mCgy");
  const RunResult run = Run({"--categories"});
  ASSERT_EQ(run.status, 0);
  EXPECT_EQ(Lines(run.out).size(), 7u);
  EXPECT_EQ(ReadFile(SettingsPath()).substr(0, 4), "mPrf");
  EXPECT_GT(ReadFile(CategoryPath()).size(), 12u);
}

TEST_F(CliTest, CategoriesListKeyNameAndHeading) {
  const RunResult run = Run({"--categories"});
  ASSERT_EQ(run.status, 0);
  const std::vector<std::string> lines = Lines(run.out);
  ASSERT_EQ(lines.size(), 7u);
  EXPECT_EQ(lines[2],
            "Entertai\tEntertainment\t<H2><IMG SRC=\"../../GIFs/Entertai.gif\" "
            "ALT=\"Entertainment\"></H2>");
  EXPECT_EQ(lines[6].substr(0, 18), "Technics\tTechnics\t");
}

TEST_F(CliTest, CategoryAddCutsTheKeyAndBuildsTheHeading) {
  ASSERT_EQ(Run({"--category-add", "Wissenschaft"}).status, 0);
  ASSERT_EQ(Run({"--category-add", "Ökologie", "<H2>Öko</H2>"}).status, 0);
  const std::vector<std::string> lines = Lines(Run({"--categories"}).out);
  ASSERT_EQ(lines.size(), 9u);
  EXPECT_EQ(lines[7],
            "Wissensc\tWissenschaft\t<H2><IMG SRC=\"../../GIFs/Wissenschaft.gif\" "
            "ALT=\"Wissenschaft\"></H2>");
  EXPECT_EQ(lines[8], "Ökologie\tÖkologie\t<H2>Öko</H2>");
  const std::string bytes = ReadFile(CategoryPath());
  EXPECT_NE(bytes.find(std::string("\0\x08Wissensc\0\x50Wissenschaft\r<H2>", 29)),
            std::string::npos);
  EXPECT_NE(bytes.find("\xD6kologie"), std::string::npos);
}

TEST_F(CliTest, CategoryCommandsRejectBadInput) {
  EXPECT_EQ(Run({"--category-add"}).status, 2);
  EXPECT_EQ(Run({"--category-add", "a", "b", "c"}).status, 2);
  EXPECT_EQ(Run({"--category-add", ""}).status, 2);
  EXPECT_EQ(Run({"--category-add", "Two\tParts"}).status, 2);
  EXPECT_EQ(Run({"--category-remove", "Nope"}).status, 1);  // well asked, nothing to remove
  EXPECT_EQ(Run({"--category-remove"}).status, 2);
  EXPECT_EQ(Lines(Run({"--categories"}).out).size(), 7u);
  ASSERT_EQ(Run({"--category-remove", "Entertai"}).status, 0);
  EXPECT_EQ(Lines(Run({"--categories"}).out).size(), 6u);
}

TEST_F(CliTest, HelpVersionAndUsageErrors) {
  const RunResult help = Run({"--help"});
  EXPECT_EQ(help.status, 0);
  EXPECT_NE(help.out.find("--category-add NAME [HEADING]"), std::string::npos);
  const RunResult version = Run({"--version"});
  EXPECT_EQ(version.status, 0);
  EXPECT_EQ(version.out.rfind("indexer ", 0), 0u);
  const RunResult bare = Run({});
  EXPECT_EQ(bare.status, 2);
  EXPECT_NE(bare.err.find("no display"), std::string::npos);
  EXPECT_NE(bare.err.find("--batch"), std::string::npos);
  EXPECT_EQ(Run({"collection.mlx"}).status, 2);
  const RunResult unknown = Run({"--frobnicate"});
  EXPECT_EQ(unknown.status, 2);
  EXPECT_EQ(unknown.err,
            "indexer: unknown command \"--frobnicate\"\n"
            "Try 'indexer --help' for more information.\n");
  EXPECT_EQ(Run({"--prefs-reset", "extra"}).status, 2);
}

TEST_F(CliTest, ValuesAfterAnEqualsSignOrAsTheNextArgument) {
  ASSERT_EQ(Run({"--prefs=DateOffset=7"}).status, 0);
  EXPECT_NE(Run({"--prefs"}).out.find("DateOffset=7\n"), std::string::npos);
  ScratchFolder archive;
  WriteFile(archive.File("News/a/a.html"), "<HTML></HTML>");
  const RunResult run =
      Run({"--batch", "--type", "issue", "--set", "CreateDOSEnding=0", archive.path()});
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.out, archive.path() + "/index.html\n");  // results only; status on stderr
  EXPECT_NE(run.err.find("Creating index complete."), std::string::npos);
  EXPECT_EQ(Run({"--batch", "--type"}).status, 2);
  EXPECT_EQ(Run({"--show=" + archive.File("missing.mlx")}).status, 1);
  EXPECT_EQ(Run({"--batch", "-type=issue", archive.File("missing")}).status, 1);
}

TEST_F(CliTest, BatchListsBrokenLinksWhenCheckLinksIsOn) {
  ScratchFolder archive;
  const std::string page = archive.File("1998/01/News/Intro/Intro.html");
  std::filesystem::create_directories(archive.File("1998/01/News/Intro"));
  WriteFile(page,
            "<HEAD><META NAME=\"DESCRIPTION\" CONTENT=\"Intro\"></HEAD><BODY>"
            "<IMG SRC=\"missing.gif\"><A HREF=\"../Gone/Gone.html\">x</A>"
            "<A HREF=\"http://example.com/\">y</A></BODY>");
  const std::string issue = archive.File("1998/01");
  EXPECT_EQ(Run({"--batch", "-type=issue", issue}).status, 0);

  ASSERT_EQ(Run({"--prefs", "CheckLinks=1"}).status, 0);
  const RunResult run = Run({"--batch", "-type=issue", issue});
  EXPECT_EQ(run.status, 1);
  EXPECT_NE(run.out.find("/index.htm"), std::string::npos);
  EXPECT_NE(run.err.find("broken link: " + page + ": missing.gif (no such file)"),
            std::string::npos);
  EXPECT_NE(run.err.find("../Gone/Gone.html"), std::string::npos);
  EXPECT_EQ(run.err.find("example.com"), std::string::npos);
}

}  // namespace
}  // namespace indexer
