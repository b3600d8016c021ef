#include "platform/process.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>

namespace {

namespace fs = std::filesystem;
using platform::SplitCommandLine;
using Words = std::vector<std::string>;

class TempDir {
 public:
  TempDir() {
    std::string pattern = (fs::temp_directory_path() / "marlix-process-XXXXXX").string();
    path_ = mkdtemp(pattern.data());
  }
  ~TempDir() { fs::remove_all(path_); }
  const fs::path& path() const { return path_; }

  fs::path Script(const std::string& name, const std::string& body) const {
    fs::path file = path_ / name;
    std::ofstream(file) << "#!/bin/sh\n" << body << "\n";
    fs::permissions(file, fs::perms::owner_all);
    return file;
  }

 private:
  fs::path path_;
};

std::string ReadFile(const fs::path& file) {
  std::ifstream in(file);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

bool WaitForFile(const fs::path& file) {
  for (int i = 0; i < 200; ++i) {
    if (fs::exists(file) && !ReadFile(file).empty()) return true;
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  }
  return false;
}

// Field `index` (1-based, as proc(5) counts) of /proc/<pid>/stat.
std::string StatField(pid_t pid, int index) {
  std::string stat = ReadFile("/proc/" + std::to_string(pid) + "/stat");
  size_t close = stat.rfind(')');
  if (close == std::string::npos) return "";
  std::istringstream rest(stat.substr(close + 2));
  std::string field;
  for (int i = 3; i <= index && rest >> field; ++i) {
  }
  return field;
}

int ZombieChildren() {
  int count = 0;
  for (const auto& entry : fs::directory_iterator("/proc")) {
    std::string name = entry.path().filename();
    if (name.find_first_not_of("0123456789") != std::string::npos) continue;
    pid_t pid = std::stoi(name);
    if (StatField(pid, 4) == std::to_string(getpid()) && StatField(pid, 3) == "Z") ++count;
  }
  return count;
}

TEST(SplitCommandLine, SplitsAtBlanksLikeAShell) {
  EXPECT_EQ(SplitCommandLine("a b\t c\n"), (Words{"a", "b", "c"}));
  EXPECT_EQ(SplitCommandLine(""), Words{});
  EXPECT_EQ(SplitCommandLine("   "), Words{});
  EXPECT_EQ(SplitCommandLine("indexer"), Words{"indexer"});
}

TEST(SplitCommandLine, QuotesAndEscapes) {
  EXPECT_EQ(SplitCommandLine("\"/opt/My Browser/run\" --new 'x  y'"),
            (Words{"/opt/My Browser/run", "--new", "x  y"}));
  EXPECT_EQ(SplitCommandLine("a\\ b c"), (Words{"a b", "c"}));
  EXPECT_EQ(SplitCommandLine("\"\" ''"), (Words{"", ""}));
  EXPECT_EQ(SplitCommandLine("x\"a\\\"b\"'c'"), Words{"xa\"bc"});
  EXPECT_EQ(SplitCommandLine("\"a\\nb\""), Words{"a\\nb"});  // only \$ \` \" \\ escape
  EXPECT_EQ(SplitCommandLine("'a\\b'"), Words{"a\\b"});
  EXPECT_EQ(SplitCommandLine("a\\\nb"), Words{"ab"});
  EXPECT_EQ(SplitCommandLine("$HOME *"), (Words{"$HOME", "*"}));  // nothing is expanded
}

TEST(SplitCommandLine, OpenQuoteIsRefused) {
  EXPECT_FALSE(SplitCommandLine("\"abc"));
  EXPECT_FALSE(SplitCommandLine("a 'b"));
}

TEST(FindProgram, SearchesPathAndChecksExecutables) {
  TempDir dir;
  fs::path script = dir.Script("marlix-probe", "true");
  std::ofstream(dir.path() / "plain") << "x";
  std::string old_path = std::getenv("PATH");
  setenv("PATH", ("/nonexistent::" + dir.path().string() + ":" + old_path).c_str(), 1);
  EXPECT_EQ(platform::FindProgram("marlix-probe"), script.string());
  EXPECT_FALSE(platform::FindProgram("plain"));
  EXPECT_FALSE(platform::FindProgram("marlix-no-such-program"));
  EXPECT_EQ(platform::FindProgram(script.string()), script.string());
  EXPECT_FALSE(platform::FindProgram((dir.path() / "plain").string()));
  EXPECT_FALSE(platform::FindProgram(""));
  setenv("PATH", old_path.c_str(), 1);
}

TEST(SpawnDetached, DoesNotWaitAndLeavesNoZombie) {
  TempDir dir;
  fs::path out = dir.path() / "args";
  fs::path script = dir.Script("slow", "sleep 1\necho \"$@\" > '" + out.string() + "'");
  auto started = std::chrono::steady_clock::now();
  std::optional<pid_t> pid = platform::SpawnDetached({script.string(), "one", "two words"});
  auto took = std::chrono::steady_clock::now() - started;
  ASSERT_TRUE(pid);
  EXPECT_LT(took, std::chrono::milliseconds(900));
  EXPECT_FALSE(fs::exists(out));
  // Not our child: nothing for us to wait for.
  EXPECT_EQ(waitpid(*pid, nullptr, WNOHANG), -1);
  EXPECT_EQ(errno, ECHILD);
  ASSERT_TRUE(WaitForFile(out));
  EXPECT_EQ(ReadFile(out), "one two words\n");
  EXPECT_EQ(ZombieChildren(), 0);
}

TEST(SpawnDetached, RunsInItsOwnSessionWithDefaultSignalsAndLowerPriority) {
  struct sigaction ignore {};
  struct sigaction old {};
  ignore.sa_handler = SIG_IGN;
  sigaction(SIGUSR1, &ignore, &old);
  std::optional<pid_t> pid = platform::SpawnDetached({"sleep", "5"}, 19);
  sigaction(SIGUSR1, &old, nullptr);
  ASSERT_TRUE(pid);
  EXPECT_EQ(getsid(*pid), *pid);
  std::string status = ReadFile("/proc/" + std::to_string(*pid) + "/status");
  size_t ignored = status.find("SigIgn:");
  ASSERT_NE(ignored, std::string::npos);
  unsigned long long mask = std::stoull(status.substr(ignored + 7), nullptr, 16);
  EXPECT_EQ(mask & (1ull << (SIGUSR1 - 1)), 0u);
  int expected = std::min(getpriority(PRIO_PROCESS, 0) + 19, 19);
  EXPECT_EQ(StatField(*pid, 19), std::to_string(expected));
  kill(*pid, SIGKILL);
}

TEST(SpawnDetached, ReportsProgramsThatCannotStart) {
  TempDir dir;
  std::ofstream(dir.path() / "plain") << "x";
  EXPECT_FALSE(platform::SpawnDetached({}));
  EXPECT_FALSE(platform::SpawnDetached({""}));
  EXPECT_FALSE(platform::SpawnDetached({"marlix-no-such-program"}));
  EXPECT_FALSE(platform::SpawnDetached({(dir.path() / "plain").string()}));
  EXPECT_EQ(ZombieChildren(), 0);
}

TEST(RunAndCapture, GivesStandardOutputOfSuccessfulRuns) {
  EXPECT_EQ(platform::RunAndCapture({"printf", "a\\nb"}), "a\nb");
  EXPECT_FALSE(platform::RunAndCapture({"false"}));
  EXPECT_FALSE(platform::RunAndCapture({"marlix-no-such-program"}));
  EXPECT_EQ(ZombieChildren(), 0);
}

}  // namespace
