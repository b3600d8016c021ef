#include "platform/file_replacement.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <climits>
#include <cstdint>
#include <cstdlib>
#include <ctime>
#include <functional>
#include <memory>
#include <mutex>

#include "platform/paths.h"
#include "platform/temporary_file.h"

namespace platform {
namespace {

constexpr mode_t kNewFileMode = 0666;
constexpr mode_t kPermissionBits = 07777;
// A left-over younger than this may be a file whose creator has not locked it yet.
constexpr std::int64_t kStaleAgeNanoseconds = 1'000'000'000;

mode_t ProcessUmask() {
  static const mode_t mask = [] {
    const mode_t old = ::umask(0);
    ::umask(old);
    return old;
  }();
  return mask;
}

// Through a symbolic link the file it names is replaced; a missing destination is created.
std::string ResolvedTarget(const std::string& path) {
  struct stat info {};
  if (::lstat(path.c_str(), &info) != 0 || !S_ISLNK(info.st_mode)) return path;
  std::unique_ptr<char, decltype(&std::free)> real(::realpath(path.c_str(), nullptr), &std::free);
  if (real) return real.get();
  std::string link(PATH_MAX, '\0');
  const ssize_t size = ::readlink(path.c_str(), link.data(), link.size());
  if (size <= 0) return path;
  link.resize(static_cast<std::size_t>(size));
  return link.starts_with('/') ? link : JoinPath(FolderPart(path), link);
}

std::string FolderOf(const std::string& path) {
  std::string folder = FolderPart(path);
  if (!folder.empty()) return folder;
  return std::string(path.starts_with('/') ? "/" : ".");
}

// The rename is durable only once the folder holding the new name is synced.
void SyncFolder(const std::string& folder) {
  const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return;
  ::fsync(fd);
  ::close(fd);
}

// The folders cleaned so far, by the hash of their names, in plain storage: the plug-in's
// unloading writes files during the program's exit, after ordinary statics are gone, and nothing
// may stay allocated once the plug-in is unloaded. A full memo only means cleaning again.
constexpr std::size_t kCleanedFolderMemo = 256;

bool OnceForFolder(const std::string& folder) {
  static std::mutex guard;
  static std::array<std::size_t, kCleanedFolderMemo> cleaned{};
  static std::size_t cleaned_count = 0;
  const std::size_t key = std::hash<std::string>{}(folder);
  const std::lock_guard<std::mutex> lock(guard);
  const auto end = cleaned.begin() + cleaned_count;
  if (std::find(cleaned.begin(), end, key) != end) return false;
  if (cleaned_count < cleaned.size()) cleaned[cleaned_count++] = key;
  return true;
}

std::int64_t NanosecondsSince(const timespec& moment) {
  timespec now{};
  ::clock_gettime(CLOCK_REALTIME, &now);
  return (static_cast<std::int64_t>(now.tv_sec) - moment.tv_sec) * 1'000'000'000 +
         (now.tv_nsec - moment.tv_nsec);
}

// Removes the left-over when its writer is gone: nobody holds its lock and it is not brand
// new. The lock is held over the removal so that no other cleaner decides at the same time.
void RemoveIfAbandoned(int folder_fd, const char* name) {
  const int fd = ::openat(folder_fd, name, O_RDONLY | O_NOFOLLOW | O_CLOEXEC | O_NONBLOCK);
  if (fd < 0) return;
  struct stat info {};
  if (::fstat(fd, &info) == 0 && S_ISREG(info.st_mode) &&
      NanosecondsSince(info.st_mtim) >= kStaleAgeNanoseconds &&
      ::flock(fd, LOCK_EX | LOCK_NB) == 0) {
    ::unlinkat(folder_fd, name, 0);
  }
  ::close(fd);
}

}  // namespace

std::optional<FileIdentity> IdentityOf(const std::string& path) {
  struct stat info {};
  if (::stat(path.c_str(), &info) != 0) return std::nullopt;
  return FileIdentity{info.st_dev, info.st_ino, info.st_size, info.st_mtim.tv_sec,
                      info.st_mtim.tv_nsec};
}

FileReplacement::FileReplacement(std::string target) : target_(ResolvedTarget(target)) {}

FileReplacement::~FileReplacement() {
  Discard();
}

Status FileReplacement::Open() {
  Discard();
  if (target_.empty()) return Status::FromErrno(kFileOpenFailed, target_, ENOENT);
  RemoveStaleTemporariesOnce(FolderOf(target_));
  struct stat info {};
  if (::stat(target_.c_str(), &info) == 0 && !S_ISREG(info.st_mode)) {
    if (S_ISDIR(info.st_mode)) return Status::FromErrno(kFileOpenFailed, target_, EISDIR);
    // A device or pipe holds no content to lose: it is written directly.
    fd_ = ::open(target_.c_str(), O_WRONLY | O_CLOEXEC);
    if (fd_ < 0) return Status::FromErrno(kFileOpenFailed, target_, errno);
    direct_ = true;
    return {};
  }
  fd_ = CreateTemporaryBeside(target_, temporary_);
  if (fd_ < 0) return Status::FromErrno(kFileOpenFailed, target_, errno);
  return {};
}

Status FileReplacement::Write(std::string_view bytes) {
  if (fd_ < 0) return Status::FromErrno(kFileWriteFailed, target_, EBADF);
  while (!bytes.empty()) {
    const ssize_t written = ::write(fd_, bytes.data(), bytes.size());
    if (written < 0) {
      if (errno == EINTR) continue;
      return Status::FromErrno(kFileWriteFailed, target_, errno);
    }
    bytes.remove_prefix(static_cast<std::size_t>(written));
  }
  return {};
}

Status FileReplacement::Commit() {
  if (fd_ < 0) return Status::FromErrno(kFileWriteFailed, target_, EBADF);
  if (direct_) {
    const int fd = fd_;
    fd_ = -1;
    if (::close(fd) != 0) return Status::FromErrno(kFileWriteFailed, target_, errno);
    return {};
  }
  struct stat info {};
  const mode_t mode = ::stat(target_.c_str(), &info) == 0 ? info.st_mode & kPermissionBits
                                                          : kNewFileMode & ~ProcessUmask();
  int error = 0;
  if (::fchmod(fd_, mode) != 0 || ::fsync(fd_) != 0) error = errno;
  const int fd = fd_;
  fd_ = -1;
  if (::close(fd) != 0 && error == 0) error = errno;
  if (error != 0) {
    Discard();
    return Status::FromErrno(kFileWriteFailed, target_, error);
  }
  if (expected_ && IdentityOf(target_) != expected_) {
    Discard();
    return Status(kFileChangedMeanwhile, target_, "changed by another program meanwhile");
  }
  if (::rename(temporary_.c_str(), target_.c_str()) != 0) {
    error = errno;
    Discard();
    return Status::FromErrno(kFileWriteFailed, target_, error);
  }
  temporary_.clear();
  SyncFolder(FolderOf(target_));
  return {};
}

void FileReplacement::Discard() {
  if (fd_ >= 0) ::close(fd_);
  fd_ = -1;
  direct_ = false;
  if (!temporary_.empty()) ::unlink(temporary_.c_str());
  temporary_.clear();
}

Status ReplaceFile(const std::string& path, std::string_view content) {
  FileReplacement replacement(path);
  if (Status status = replacement.Open(); !status.ok()) return status;
  if (Status status = replacement.Write(content); !status.ok()) return status;
  return replacement.Commit();
}

Status StagedReplacements::Stage(const std::string& path, std::string_view content) {
  auto replacement = std::make_unique<FileReplacement>(path);
  if (Status status = replacement->Open(); !status.ok()) return status;
  if (Status status = replacement->Write(content); !status.ok()) return status;
  staged_.push_back(std::move(replacement));
  return {};
}

Status StagedReplacements::Commit() {
  Status status;
  for (auto& replacement : staged_) {
    status = replacement->Commit();
    if (!status.ok()) break;
  }
  staged_.clear();
  return status;
}

void RemoveStaleTemporariesOnce(const std::string& folder) {
  if (OnceForFolder(folder)) RemoveStaleTemporaries(folder);
}

void RemoveStaleTemporaries(const std::string& folder) {
  struct FolderCloser {
    void operator()(DIR* folder) const { ::closedir(folder); }
  };
  const std::unique_ptr<DIR, FolderCloser> entries(::opendir(folder.c_str()));
  if (!entries) return;
  const int folder_fd = ::dirfd(entries.get());
  while (const dirent* entry = ::readdir(entries.get())) {
    if (IsTemporaryName(entry->d_name)) RemoveIfAbandoned(folder_fd, entry->d_name);
  }
}

}  // namespace platform
