#include "platform/process.h"

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <memory>

namespace platform {
namespace {

// The search list posix_spawnp uses when PATH is not set.
constexpr const char* kDefaultSearchPath = "/bin:/usr/bin";

bool IsBlank(char c) {
  return c == ' ' || c == '\t' || c == '\n';
}

bool IsExecutableFile(const std::string& path) {
  struct stat info;
  return stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode) && access(path.c_str(), X_OK) == 0;
}

// argv as the C calls want it; the strings stay owned by `argv`.
std::vector<char*> ArgPointers(const std::vector<std::string>& argv) {
  std::vector<char*> pointers;
  for (const std::string& word : argv)
    pointers.push_back(const_cast<char*>(word.c_str()));
  pointers.push_back(nullptr);
  return pointers;
}

// Closes a descriptor when it goes out of scope.
class Fd {
 public:
  explicit Fd(int fd = -1) : fd_(fd) {}
  ~Fd() { Close(); }
  Fd(const Fd&) = delete;
  Fd& operator=(const Fd&) = delete;
  int get() const { return fd_; }
  void Close() {
    if (fd_ >= 0) close(fd_);
    fd_ = -1;
  }

 private:
  int fd_;
};

// Both ends close on exec; dup2 into a child's standard descriptor clears that.
class Pipe {
 public:
  Pipe() {
    int fds[2];
    if (pipe2(fds, O_CLOEXEC) != 0) return;
    read_end_ = std::make_unique<Fd>(fds[0]);
    write_end_ = std::make_unique<Fd>(fds[1]);
  }
  bool ok() const { return read_end_ != nullptr; }
  Fd& read_end() { return *read_end_; }
  Fd& write_end() { return *write_end_; }

 private:
  std::unique_ptr<Fd> read_end_;
  std::unique_ptr<Fd> write_end_;
};

// Reads until `size` bytes or the end; the count read.
size_t ReadFully(int fd, void* buffer, size_t size) {
  size_t done = 0;
  while (done < size) {
    ssize_t n = read(fd, static_cast<char*>(buffer) + done, size - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) break;
    done += static_cast<size_t>(n);
  }
  return done;
}

int WaitFor(pid_t pid) {
  int status = 0;
  while (waitpid(pid, &status, 0) < 0) {
    if (errno != EINTR) return -1;
  }
  return status;
}

class SpawnAttributes {
 public:
  SpawnAttributes() {
    posix_spawnattr_init(&attr_);
    sigset_t all, none;
    sigfillset(&all);
    sigemptyset(&none);
    posix_spawnattr_setsigdefault(&attr_, &all);
    posix_spawnattr_setsigmask(&attr_, &none);
  }
  ~SpawnAttributes() { posix_spawnattr_destroy(&attr_); }
  SpawnAttributes(const SpawnAttributes&) = delete;
  SpawnAttributes& operator=(const SpawnAttributes&) = delete;
  void SetFlags(short flags) { posix_spawnattr_setflags(&attr_, flags); }
  const posix_spawnattr_t* get() const { return &attr_; }

 private:
  posix_spawnattr_t attr_;
};

// What the intermediate child reports to the caller.
struct SpawnReport {
  int error;
  pid_t pid;
};

}  // namespace

std::optional<std::vector<std::string>> SplitCommandLine(std::string_view line) {
  std::vector<std::string> words;
  std::string word;
  bool in_word = false;
  for (size_t i = 0; i < line.size(); ++i) {
    char c = line[i];
    if (IsBlank(c)) {
      if (in_word) words.push_back(std::move(word));
      word.clear();
      in_word = false;
      continue;
    }
    in_word = true;
    if (c == '\\') {
      if (i + 1 < line.size()) {
        ++i;
        if (line[i] != '\n') word += line[i];  // backslash newline joins lines
      } else {
        word += c;
      }
    } else if (c == '\'') {
      size_t close = line.find('\'', i + 1);
      if (close == std::string_view::npos) return std::nullopt;
      word.append(line.substr(i + 1, close - i - 1));
      i = close;
    } else if (c == '"') {
      for (++i;; ++i) {
        if (i >= line.size()) return std::nullopt;
        char d = line[i];
        if (d == '"') break;
        if (d == '\\' && i + 1 < line.size()) {
          char next = line[i + 1];
          if (next == '$' || next == '`' || next == '"' || next == '\\' || next == '\n') {
            ++i;
            if (next != '\n') word += next;
            continue;
          }
        }
        word += d;
      }
    } else {
      word += c;
    }
  }
  if (in_word) words.push_back(std::move(word));
  return words;
}

std::optional<std::string> FindProgram(std::string_view program) {
  if (program.empty()) return std::nullopt;
  if (program.find('/') != std::string_view::npos) {
    std::string path(program);
    if (IsExecutableFile(path)) return path;
    return std::nullopt;
  }
  const char* env = std::getenv("PATH");
  std::string_view search = env != nullptr ? env : kDefaultSearchPath;
  while (true) {
    size_t colon = search.find(':');
    std::string_view folder = search.substr(0, colon);
    std::string candidate =
        folder.empty() ? std::string(program) : std::string(folder) + "/" + std::string(program);
    if (IsExecutableFile(candidate)) return candidate;
    if (colon == std::string_view::npos) return std::nullopt;
    search.remove_prefix(colon + 1);
  }
}

std::optional<pid_t> SpawnDetached(const std::vector<std::string>& argv, int niceness) {
  if (argv.empty() || argv[0].empty()) return std::nullopt;
  // Everything the child needs is prepared here: after fork only plain system calls follow.
  std::vector<char*> args = ArgPointers(argv);
  SpawnAttributes attributes;
  attributes.SetFlags(POSIX_SPAWN_SETSID | POSIX_SPAWN_SETSIGDEF | POSIX_SPAWN_SETSIGMASK);
  Pipe channel;
  if (!channel.ok()) return std::nullopt;

  pid_t intermediate = fork();
  if (intermediate < 0) return std::nullopt;
  if (intermediate == 0) {
    // The program becomes the child of this short-lived process; once it exits, init adopts
    // the program and reaps it.
    if (niceness != 0) setpriority(PRIO_PROCESS, 0, getpriority(PRIO_PROCESS, 0) + niceness);
    SpawnReport report{};
    report.error =
        posix_spawnp(&report.pid, args[0], nullptr, attributes.get(), args.data(), environ);
    ssize_t written = write(channel.write_end().get(), &report, sizeof report);
    _exit(written == static_cast<ssize_t>(sizeof report) ? 0 : 1);
  }
  channel.write_end().Close();
  SpawnReport report{};
  size_t got = ReadFully(channel.read_end().get(), &report, sizeof report);
  WaitFor(intermediate);
  if (got != sizeof report || report.error != 0) return std::nullopt;
  return report.pid;
}

std::optional<std::string> RunAndCapture(const std::vector<std::string>& argv) {
  if (argv.empty() || argv[0].empty()) return std::nullopt;
  std::vector<char*> args = ArgPointers(argv);
  Pipe output;
  if (!output.ok()) return std::nullopt;
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
  posix_spawn_file_actions_adddup2(&actions, output.write_end().get(), STDOUT_FILENO);
  SpawnAttributes attributes;
  attributes.SetFlags(POSIX_SPAWN_SETSIGDEF | POSIX_SPAWN_SETSIGMASK);
  pid_t pid = 0;
  int error = posix_spawnp(&pid, args[0], &actions, attributes.get(), args.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  if (error != 0) return std::nullopt;
  output.write_end().Close();

  std::string text;
  char buffer[4096];
  while (true) {
    ssize_t n = read(output.read_end().get(), buffer, sizeof buffer);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) break;
    text.append(buffer, static_cast<size_t>(n));
  }
  int status = WaitFor(pid);
  if (status < 0 || !WIFEXITED(status) || WEXITSTATUS(status) != 0) return std::nullopt;
  return text;
}

}  // namespace platform
