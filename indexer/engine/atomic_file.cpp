#include "indexer/engine/atomic_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <vector>

#include "platform/paths.h"

namespace indexer {
namespace {

constexpr mode_t kNewFileMode = 0666;
constexpr const char* kTemporarySuffix = ".XXXXXX";

// Closes a descriptor on every path out of a function.
class Descriptor {
 public:
  explicit Descriptor(int fd) : fd_(fd) {}
  Descriptor(const Descriptor&) = delete;
  Descriptor& operator=(const Descriptor&) = delete;
  ~Descriptor() {
    if (fd_ >= 0) ::close(fd_);
  }
  int get() const { return fd_; }
  // Closes now and reports whether the close (the last chance for a write error) succeeded.
  bool Close() {
    const int fd = fd_;
    fd_ = -1;
    return ::close(fd) == 0;
  }

 private:
  int fd_;
};

mode_t ProcessUmask() {
  static const mode_t mask = [] {
    const mode_t old = ::umask(0);
    ::umask(old);
    return old;
  }();
  return mask;
}

// The permission bits the target should get: its own when it exists.
mode_t TargetMode(const std::string& path) {
  struct stat info {};
  if (::stat(path.c_str(), &info) == 0) return info.st_mode & 07777;
  return kNewFileMode & ~ProcessUmask();
}

bool WriteAll(int fd, std::string_view content) {
  while (!content.empty()) {
    const ssize_t written = ::write(fd, content.data(), content.size());
    if (written < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    content.remove_prefix(static_cast<std::size_t>(written));
  }
  return true;
}

// Writes content to a new temporary file beside path; its name comes back in temporary.
MMoreErr WriteTemporary(const std::string& path, std::string_view content, std::string& temporary) {
  const std::string folder = platform::FolderPart(path);
  const std::string name = "." + platform::NamePart(path) + kTemporarySuffix;
  std::string pattern = folder.empty() && !path.starts_with('/') ? name : folder + "/" + name;
  std::vector<char> buffer(pattern.begin(), pattern.end());
  buffer.push_back('\0');
  Descriptor file(::mkostemp(buffer.data(), O_CLOEXEC));
  if (file.get() < 0) return kFileOpenErr;
  temporary.assign(buffer.data());
  const bool written =
      WriteAll(file.get(), content) && ::fchmod(file.get(), TargetMode(path)) == 0 && file.Close();
  if (!written) {
    ::unlink(temporary.c_str());
    temporary.clear();
    return kFileWriteErr;
  }
  return kNoErr;
}

}  // namespace

MMoreErr ReadWholeFile(const std::string& path, std::string& content) {
  Descriptor file(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
  if (file.get() < 0) return errno == ENOENT ? kFileNotFoundErr : kFileOpenErr;
  struct stat info {};
  if (::fstat(file.get(), &info) != 0) return kFileReadErr;
  if (S_ISDIR(info.st_mode)) return kBadArgument;
  std::string text;
  text.resize(static_cast<std::size_t>(info.st_size));
  std::size_t filled = 0;
  for (;;) {
    if (filled == text.size()) text.resize(text.size() + BUFSIZ);  // grew since fstat
    const ssize_t got = ::read(file.get(), text.data() + filled, text.size() - filled);
    if (got < 0) {
      if (errno == EINTR) continue;
      return kFileReadErr;
    }
    if (got == 0) break;
    filled += static_cast<std::size_t>(got);
  }
  text.resize(filled);
  content = std::move(text);
  return kNoErr;
}

MMoreErr ReplaceFileContent(const std::string& path, std::string_view content) {
  StagedFiles files;
  if (const MMoreErr status = files.Stage(path, content); status != kNoErr) return status;
  return files.Commit();
}

StagedFiles::~StagedFiles() {
  Discard();
}

MMoreErr StagedFiles::Stage(const std::string& path, std::string_view content) {
  std::string temporary;
  if (const MMoreErr status = WriteTemporary(path, content, temporary); status != kNoErr) {
    return status;
  }
  staged_.emplace_back(std::move(temporary), path);
  return kNoErr;
}

MMoreErr StagedFiles::Commit() {
  MMoreErr status = kNoErr;
  std::size_t moved = 0;
  for (; moved < staged_.size(); ++moved) {
    if (std::rename(staged_[moved].first.c_str(), staged_[moved].second.c_str()) != 0) {
      status = kFileWriteErr;
      break;
    }
  }
  staged_.erase(staged_.begin(), staged_.begin() + static_cast<std::ptrdiff_t>(moved));
  Discard();
  return status;
}

void StagedFiles::Discard() {
  for (const auto& [temporary, target] : staged_)
    ::unlink(temporary.c_str());
  staged_.clear();
}

}  // namespace indexer
