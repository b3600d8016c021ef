#include "platform/temporary_file.h"

#include <fcntl.h>
#include <stdlib.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>

#include "platform/paths.h"

namespace platform {
namespace {

constexpr std::string_view kRandomPart = "XXXXXX";

}  // namespace

int CreateTemporaryBeside(const std::string& path, std::string& temporary) {
  std::string folder = FolderPart(path);
  if (folder.empty() && path.starts_with('/')) folder = "/";
  std::string pattern = JoinPath(
      folder, "." + NamePart(path) + std::string(kTemporaryMark) + std::string(kRandomPart));
  const int fd = ::mkostemp(pattern.data(), O_CLOEXEC);
  if (fd < 0) return -1;
  // A cleaner of left-overs takes only files nobody holds this lock on.
  if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
    const int error = errno;
    ::close(fd);
    ::unlink(pattern.c_str());
    errno = error;
    return -1;
  }
  temporary = std::move(pattern);
  return fd;
}

bool IsTemporaryName(std::string_view name) {
  if (name.size() < 1 + 1 + kTemporaryMark.size() + kRandomPart.size()) return false;
  if (!name.starts_with('.')) return false;
  const std::size_t mark = name.size() - kRandomPart.size() - kTemporaryMark.size();
  return name.substr(mark, kTemporaryMark.size()) == kTemporaryMark;
}

}  // namespace platform
