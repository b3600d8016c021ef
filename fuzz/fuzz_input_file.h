// The readers under fuzz take a path, not bytes: each input is written to a file of the
// fuzzing process's own, reused for every input. The file lives in memory only (memfd), named
// through /proc/self/fd, so that no run leaves anything behind in /tmp, however it ends.
#pragma once

#include <sys/mman.h>
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <string>

namespace fuzz {

// The descriptor of this process's input file for `target`, made on first use.
inline int InputDescriptor(const char* target) {
  static const int fd = ::memfd_create(target, 0);
  if (fd < 0) std::abort();
  return fd;
}

// A path that opens this process's input file.
inline std::string InputPath(const char* target) {
  return "/proc/self/fd/" + std::to_string(InputDescriptor(target));
}

// Writes the input to the file behind `path`, replacing what was there.
inline void WriteInput(const std::string& path, const std::uint8_t* data, std::size_t size) {
  const int fd = std::stoi(path.substr(path.rfind('/') + 1));
  if (::ftruncate(fd, 0) != 0) std::abort();
  std::size_t written = 0;
  while (written < size) {
    const ssize_t n = ::pwrite(fd, data + written, size - written, static_cast<off_t>(written));
    if (n <= 0) std::abort();
    written += static_cast<std::size_t>(n);
  }
}

}  // namespace fuzz
