// The browser channel and preview with fake browsers: recording scripts on PATH stand for the
// browser programs, a folder of fake process entries for the running processes.
#include "xt/xtension/browser.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <stdlib.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>

#include "platform/profile.h"
#include "tests/xt/fake_host.h"
#include "xt/export/export_settings.h"

namespace xt {
namespace {

namespace fs = std::filesystem;

std::string ReadFile(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

// Waits for a file written by a detached process; "" when it never comes.
std::string WaitForFile(const fs::path& file) {
  for (int i = 0; i < 400; ++i) {
    std::string text = ReadFile(file);
    if (!text.empty() && text.back() == '\n') return text;
    std::this_thread::sleep_for(std::chrono::milliseconds(25));
  }
  return "";
}

class BrowserTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string pattern = (fs::temp_directory_path() / "marlix-browser-XXXXXX").string();
    dir_ = mkdtemp(pattern.data());
    fs::create_directories(dir_ / "bin");
    fs::create_directories(dir_ / "proc");
    old_path_ = getenv("PATH");
    setenv("PATH", ((dir_ / "bin").string() + ":" + old_path_).c_str(), 1);
    // No desktop association unless a test makes one.
    Tool("xdg-mime", "exit 1");
    options_.proc_root = (dir_ / "proc").string();
    options_.start_pause = std::chrono::milliseconds(10);
    settings_ = std::make_unique<ExportSettings>((dir_ / "MarlixXT40.INI").string());
  }
  void TearDown() override {
    setenv("PATH", old_path_.c_str(), 1);
    fs::remove_all(dir_);
  }

  void Tool(const std::string& name, const std::string& body) {
    fs::path file = dir_ / "bin" / name;
    std::ofstream(file) << "#!/bin/sh\n" << body << "\n";
    fs::permissions(file, fs::perms::owner_all);
  }
  // A browser program that records each URL it is handed, one per line.
  void FakeBrowserProgram(const std::string& name) {
    Tool(name, "echo \"$@\" >> '" + Log(name).string() + "'");
  }
  fs::path Log(const std::string& name) const { return dir_ / ("log-" + name); }
  void FakeProcess(int pid, const std::string& comm, char state = 'S') {
    fs::path folder = dir_ / "proc" / std::to_string(pid);
    fs::create_directories(folder);
    std::ofstream(folder / "comm") << comm << "\n";
    std::ofstream(folder / "stat") << pid << " (" << comm << ") " << state << " 1 1 1\n";
  }
  std::string ProfileExplorer() const {
    return platform::GetProfileString(settings_->profile_path(), "Settings", "Explorer", "unset");
  }
  std::vector<std::string> MessageTexts() const {
    std::vector<std::string> texts;
    for (const auto& message : host_.Messages())
      texts.push_back(message.text);
    return texts;
  }

  test::FakeHost host_;
  fs::path dir_;
  std::string old_path_;
  BrowserOptions options_;
  std::unique_ptr<ExportSettings> settings_;
};

TEST(PathToFileUrl, AbsolutePathPercentEncoded) {
  EXPECT_EQ(PathToFileUrl("/home/ed/Archive/1998/01/Culture/Intro/Intro.htm"),
            "file:///home/ed/Archive/1998/01/Culture/Intro/Intro.htm");
  EXPECT_EQ(PathToFileUrl("/a b/%#?\xFC.htm"), "file:///a%20b/%25%23%3F%FC.htm");
  EXPECT_EQ(PathToFileUrl("/x/a-b_c.~!$&'()*+,;=:@"), "file:///x/a-b_c.~!$&'()*+,;=:@");
  EXPECT_EQ(PathToFileUrl("/\"<>\\^`{|}"), "file:///%22%3C%3E%5C%5E%60%7B%7C%7D");
}

TEST(PathToFileUrl, RelativePathFromTheWorkingFolder) {
  EXPECT_EQ(PathToFileUrl("sub/p.htm"), "file://" + fs::current_path().string() + "/sub/p.htm");
}

TEST(PathToFileUrl, ShortTextStaysAsItIs) {
  EXPECT_EQ(PathToFileUrl("ab"), "ab");
  EXPECT_EQ(PathToFileUrl(""), "");
  EXPECT_EQ(PathToFileUrl("/a"), "/a");
}

TEST_F(BrowserTest, ChannelAnswersOnlyForARunningBrowserOfItsKind) {
  FakeBrowserProgram("firefox-esr");
  BrowserChannel firefox(kBrowserFirefox, options_);
  BrowserChannel chromium(kBrowserChromium, options_);
  EXPECT_EQ(firefox.OpenUrl("file:///a.htm"), kBrowserNobodyAnswers);
  EXPECT_EQ(firefox.Activate(), kBrowserNobodyAnswers);
  FakeProcess(4711, "firefox-esr");
  FakeProcess(4712, "bash");
  EXPECT_EQ(chromium.OpenUrl("file:///a.htm"), kBrowserNobodyAnswers);
  EXPECT_EQ(firefox.RunningBrowser(), "firefox-esr");
  EXPECT_EQ(firefox.OpenUrl("file:///a.htm"), kBrowserAnswered);
  EXPECT_EQ(firefox.Activate(), kBrowserAnswered);
  EXPECT_EQ(WaitForFile(Log("firefox-esr")), "file:///a.htm\n");
}

TEST_F(BrowserTest, ChannelSkipsDeadProcessesAndFailsWithoutAProgram) {
  BrowserChannel chromium(kBrowserChromium, options_);
  FakeProcess(100, "chromium", 'Z');
  EXPECT_EQ(chromium.OpenUrl("file:///a.htm"), kBrowserNobodyAnswers);
  FakeProcess(101, "chrome");
  // A Chromium-family browser runs but none of the family's programs is on PATH.
  setenv("PATH", (dir_ / "bin").c_str(), 1);
  EXPECT_EQ(chromium.OpenUrl("file:///a.htm"), kBrowserRequestFailed);
  // Another program of the family passes the URL on.
  FakeBrowserProgram("chromium");
  EXPECT_EQ(chromium.OpenUrl("file:///a.htm"), kBrowserAnswered);
  EXPECT_EQ(WaitForFile(Log("chromium")), "file:///a.htm\n");
}

TEST_F(BrowserTest, ChannelFindsARealProcessOfTheKind) {
  fs::create_symlink("/bin/sleep", dir_ / "firefox");
  std::optional<pid_t> pid = LaunchProgram((dir_ / "firefox").string() + " 30");
  ASSERT_TRUE(pid);
  BrowserOptions real;
  bool seen = false;
  for (int i = 0; i < 200 && !seen; ++i) {
    seen = BrowserChannel(kBrowserFirefox, real).RunningBrowser() == "firefox";
    if (!seen) std::this_thread::sleep_for(std::chrono::milliseconds(25));
  }
  kill(*pid, SIGKILL);
  EXPECT_TRUE(seen);
}

TEST_F(BrowserTest, RunningBrowserOfTheConfiguredKindIsAskedOnce) {
  FakeBrowserProgram("chromium");
  Tool("startbrowser", "echo started >> '" + Log("start").string() + "'");
  settings_->WriteString("Browser", "startbrowser");
  settings_->Explorer = 1;
  FakeProcess(200, "chromium");
  EXPECT_EQ(ShowInBrowser(*settings_, (dir_ / "page.htm").string(), true, options_), 0);
  EXPECT_EQ(WaitForFile(Log("chromium")), "file://" + (dir_ / "page.htm").string() + "\n");
  EXPECT_FALSE(fs::exists(Log("start")));
  EXPECT_EQ(ProfileExplorer(), "unset");
  EXPECT_TRUE(host_.Messages().empty());
}

TEST_F(BrowserTest, OnlyTheOtherKindRunningFlipsAndStoresTheKind) {
  FakeBrowserProgram("firefox");
  Tool("startbrowser", "echo started >> '" + Log("start").string() + "'");
  settings_->WriteString("Browser", "startbrowser");
  settings_->Explorer = 1;
  FakeProcess(300, "firefox");
  EXPECT_EQ(ShowInBrowser(*settings_, "http://example.org/", false, options_), 0);
  EXPECT_EQ(WaitForFile(Log("firefox")), "http://example.org/\n");
  EXPECT_EQ(WaitForFile(Log("start")), "started\n");  // the configured browser, once
  EXPECT_EQ(settings_->Explorer, 0);
  EXPECT_EQ(ProfileExplorer(), "0");
  EXPECT_TRUE(host_.Messages().empty());
}

TEST_F(BrowserTest, StartedBrowserIsAskedAgain) {
  FakeBrowserProgram("chromium");
  fs::path entry = dir_ / "proc" / "400";
  Tool("startbrowser",
       "mkdir '" + entry.string() + "' && echo chromium > '" + entry.string() + "/comm'");
  settings_->WriteString("Browser", "startbrowser");
  settings_->Explorer = 1;
  options_.start_pause = std::chrono::milliseconds(2000);
  EXPECT_EQ(ShowInBrowser(*settings_, "/srv/a.htm", true, options_), 0);
  EXPECT_EQ(WaitForFile(Log("chromium")), "file:///srv/a.htm\n");
  EXPECT_EQ(settings_->Explorer, 1);
  EXPECT_EQ(ProfileExplorer(), "unset");
}

TEST_F(BrowserTest, NobodyAnsweringTriesEachKindOnceThenGivesUp) {
  Tool("startbrowser", "echo started >> '" + Log("start").string() + "'");
  settings_->WriteString("Browser", "startbrowser");
  settings_->Explorer = 0;
  EXPECT_EQ(ShowInBrowser(*settings_, "/srv/a.htm", true, options_), 1);
  EXPECT_EQ(MessageTexts(), std::vector<std::string>{"Could not show file"});
  EXPECT_EQ(settings_->Explorer, 0);
  EXPECT_EQ(ProfileExplorer(), "unset");
  std::string log;
  for (int i = 0; i < 400 && log != "started\nstarted\n"; ++i) {
    std::this_thread::sleep_for(std::chrono::milliseconds(25));
    log = ReadFile(Log("start"));
  }
  EXPECT_EQ(log, "started\nstarted\n");
}

TEST_F(BrowserTest, NoBrowserSettingAndNoHandlerAsksForThePath) {
  setenv("PATH", (dir_ / "bin").c_str(), 1);  // no xdg-open either
  settings_->Explorer = 1;
  EXPECT_EQ(ShowInBrowser(*settings_, "/srv/a.htm", true, options_), 1);
  const std::string must =
      "You must set the path for the Browser and choose Netscape or Explorer in the next dialog.";
  const std::string cannot =
      "Could not start Browser.\nCheck if the filepath for your browser is correct.";
  EXPECT_EQ(MessageTexts(),
            (std::vector<std::string>{must, cannot, must, cannot, "Could not show file"}));
}

TEST_F(BrowserTest, DesktopHandlerRunsItsWholeExecLineAndNothingIsStored) {
  fs::create_directories(dir_ / "data/applications");
  std::ofstream(dir_ / "data/applications/fake.desktop")
      << "[Desktop Entry]\nExec=env MARK=set startbrowser --new %u\n";
  setenv("XDG_DATA_HOME", (dir_ / "data").c_str(), 1);
  Tool("xdg-mime", "[ \"$2\" = default ] && echo fake.desktop\nexit 0");
  Tool("startbrowser", "echo \"$MARK $*\" >> '" + Log("start").string() + "'");
  // The page path is Windows-1252 text; its file, and so its URL, is UTF-8.
  const std::string page = (dir_ / "Sm").string() + "\xF6rg\xE5s.htm";
  EXPECT_EQ(ShowInBrowser(*settings_, page, true, options_), 0);
  unsetenv("XDG_DATA_HOME");
  EXPECT_EQ(WaitForFile(Log("start")),
            "set --new file://" + (dir_ / "Sm%C3%B6rg%C3%A5s.htm").string() + "\n");
  EXPECT_EQ(settings_->ReadString("Browser"), "");
  EXPECT_EQ(platform::GetProfileString(settings_->profile_path(), "Settings", "Browser", "unset"),
            "unset");
  EXPECT_TRUE(host_.Messages().empty());
}

TEST_F(BrowserTest, WithoutADesktopEntryXdgOpenGetsThePage) {
  Tool("xdg-open", "echo \"$*\" >> '" + Log("xdg-open").string() + "'");
  EXPECT_EQ(ShowInBrowser(*settings_, "/srv/a b.htm", true, options_), 0);
  EXPECT_EQ(WaitForFile(Log("xdg-open")), "file:///srv/a%20b.htm\n");
  EXPECT_EQ(settings_->ReadString("Browser"), "");
}

TEST_F(BrowserTest, BrowserThatCannotTakeTheUrlIsNoSuccess) {
  // A Firefox-family browser runs, but no program of the family can be found to hand it the URL.
  setenv("PATH", (dir_ / "bin").c_str(), 1);
  FakeProcess(500, "firefox");
  settings_->Explorer = 0;
  EXPECT_EQ(ShowInBrowser(*settings_, "/srv/a.htm", true, options_), 1);
  EXPECT_EQ(MessageTexts(), std::vector<std::string>{"Could not show file"});
}

TEST_F(BrowserTest, IndexerIsStartedFromItsSetting) {
  Tool("fakeindexer", "echo \"started $#\" >> '" + Log("indexer").string() + "'");
  settings_->WriteString("Indexer", "fakeindexer");
  EXPECT_TRUE(LaunchIndexer(*settings_));
  EXPECT_EQ(WaitForFile(Log("indexer")), "started 0\n");
  EXPECT_TRUE(host_.Messages().empty());
}

TEST_F(BrowserTest, IndexerIsFoundBesideTheExecutable) {
  fs::path beside = fs::read_symlink("/proc/self/exe").parent_path() /
                    ("marlix-fake-indexer-" + std::to_string(getpid()));
  std::ofstream(beside) << "#!/bin/sh\necho beside >> '" << Log("indexer").string() << "'\n";
  fs::permissions(beside, fs::perms::owner_all);
  settings_->WriteString("Indexer", beside.filename().string());
  LaunchIndexer(*settings_);
  std::string log = WaitForFile(Log("indexer"));
  fs::remove(beside);
  EXPECT_EQ(log, "beside\n");
  EXPECT_TRUE(host_.Messages().empty());
}

TEST_F(BrowserTest, IndexerThatCannotStartIsReported) {
  settings_->WriteString("Indexer", "");
  EXPECT_FALSE(LaunchIndexer(*settings_));
  settings_->WriteString("Indexer", "marlix-no-such-indexer");
  EXPECT_FALSE(LaunchIndexer(*settings_));
  settings_->WriteString("Indexer", "\"open quote");
  EXPECT_FALSE(LaunchIndexer(*settings_));
  EXPECT_EQ(MessageTexts(), std::vector<std::string>(3, "Could not start Indexer"));
}

TEST_F(BrowserTest, LaunchProgramSplitsWithoutAShell) {
  Tool("recorder", "printf '%s|' \"$@\" > '" + Log("args").string() + "'; echo >> '" +
                       Log("args").string() + "'");
  ASSERT_TRUE(LaunchProgram("recorder 'a b' \"c;d\" $HOME"));
  EXPECT_EQ(WaitForFile(Log("args")), "a b|c;d|$HOME|\n");
  EXPECT_FALSE(LaunchProgram(""));
  EXPECT_FALSE(LaunchProgram("marlix-no-such-program"));
}

}  // namespace
}  // namespace xt
