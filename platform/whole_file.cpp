#include "platform/whole_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

namespace platform {
namespace {

class Descriptor {
 public:
  explicit Descriptor(int fd) : fd_(fd) {}
  Descriptor(const Descriptor&) = delete;
  Descriptor& operator=(const Descriptor&) = delete;
  ~Descriptor() {
    if (fd_ >= 0) ::close(fd_);
  }
  int get() const { return fd_; }

 private:
  int fd_;
};

}  // namespace

Status ReadWholeFile(const std::string& path, std::string& content, FileIdentity* identity) {
  Descriptor file(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
  if (file.get() < 0) return Status::FromErrno(kFileOpenFailed, path, errno);
  struct stat info {};
  if (::fstat(file.get(), &info) != 0) return Status::FromErrno(kFileReadFailed, path, errno);
  if (S_ISDIR(info.st_mode)) return Status::FromErrno(kFileOpenFailed, path, EISDIR);
  // One byte more than the size asks the first read to find the end as well.
  std::string text(static_cast<std::size_t>(info.st_size) + 1, '\0');
  std::size_t filled = 0;
  for (;;) {
    const ssize_t got = ::read(file.get(), text.data() + filled, text.size() - filled);
    if (got < 0) {
      if (errno == EINTR) continue;
      return Status::FromErrno(kFileReadFailed, path, errno);
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
  if (identity != nullptr) {
    *identity = FileIdentity{info.st_dev, info.st_ino, info.st_size, info.st_mtim.tv_sec,
                             info.st_mtim.tv_nsec};
  }
  return {};
}

}  // namespace platform
