#include "indexer/engine/atomic_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>

#include "platform/paths.h"

namespace indexer {
namespace {

constexpr Permissions kNewFilePermissions = 0666;
constexpr Permissions kPermissionBits = 07777;
// Names tried for a temporary file before giving up (another process may hold a name).
constexpr int kTemporaryNameAttempts = 100;

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

Permissions ProcessUmask() {
  static const Permissions mask = [] {
    const mode_t old = ::umask(0);
    ::umask(old);
    return static_cast<Permissions>(old);
  }();
  return mask;
}

// The permission bits the target should get: its own when it exists.
Permissions TargetPermissions(const std::string& path) {
  struct stat info {};
  if (::stat(path.c_str(), &info) == 0) return info.st_mode & kPermissionBits;
  return kNewFilePermissions & ~ProcessUmask();
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

// "<folder>/.<name>.<pid>-<n>": unique among this process's files by the counter, and among
// other processes by the pid and the exclusive create.
std::string TemporaryName(const std::string& path) {
  static unsigned counter = 0;
  static const std::string process = std::to_string(::getpid());
  const std::string folder = platform::FolderPart(path);
  std::string name =
      "." + platform::NamePart(path) + "." + process + "-" + std::to_string(++counter);
  if (folder.empty() && !path.starts_with('/')) return name;
  return folder + "/" + name;
}

// Writes content to a new temporary file beside path; its name comes back in temporary.
MMoreErr WriteTemporary(const std::string& path, std::string_view content, Permissions permissions,
                        std::string& temporary) {
  for (int attempt = 0; attempt < kTemporaryNameAttempts; ++attempt) {
    temporary = TemporaryName(path);
    Descriptor file(::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC,
                           static_cast<mode_t>(permissions)));
    if (file.get() < 0) {
      if (errno == EEXIST) continue;
      break;
    }
    // The umask may have taken bits that the replaced file had.
    const bool masked = (permissions & ProcessUmask()) != 0;
    const bool written = WriteAll(file.get(), content) &&
                         (!masked || ::fchmod(file.get(), static_cast<mode_t>(permissions)) == 0) &&
                         file.Close();
    if (written) return kNoErr;
    ::unlink(temporary.c_str());
    temporary.clear();
    return kFileWriteErr;
  }
  temporary.clear();
  return kFileOpenErr;
}

}  // namespace

MMoreErr ReadWholeFile(const std::string& path, std::string& content, Permissions* permissions) {
  Descriptor file(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
  if (file.get() < 0) return errno == ENOENT ? kFileNotFoundErr : kFileOpenErr;
  struct stat info {};
  if (::fstat(file.get(), &info) != 0) return kFileReadErr;
  if (S_ISDIR(info.st_mode)) return kBadArgument;
  // One byte more than the size asks the first read to find the end as well.
  std::string text(static_cast<std::size_t>(info.st_size) + 1, '\0');
  std::size_t filled = 0;
  for (;;) {
    const ssize_t got = ::read(file.get(), text.data() + filled, text.size() - filled);
    if (got < 0) {
      if (errno == EINTR) continue;
      return kFileReadErr;
    }
    filled += static_cast<std::size_t>(got);
    if (filled < text.size()) {
      if (got == 0 || S_ISREG(info.st_mode)) break;  // a regular file reads short only at its end
    } else {
      text.resize(text.size() * 2);  // it grew since fstat
    }
  }
  text.resize(filled);
  content = std::move(text);
  if (permissions != nullptr) *permissions = info.st_mode & kPermissionBits;
  return kNoErr;
}

MMoreErr ReplaceFileContent(const std::string& path, std::string_view content,
                            std::optional<Permissions> permissions) {
  StagedFiles files;
  if (const MMoreErr status = files.Stage(path, content, permissions); status != kNoErr) {
    return status;
  }
  return files.Commit();
}

StagedFiles::~StagedFiles() {
  Discard();
}

MMoreErr StagedFiles::Stage(const std::string& path, std::string_view content,
                            std::optional<Permissions> permissions) {
  std::string temporary;
  const Permissions bits = permissions ? *permissions : TargetPermissions(path);
  if (const MMoreErr status = WriteTemporary(path, content, bits, temporary); status != kNoErr) {
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
