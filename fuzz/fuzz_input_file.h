// The readers under fuzz take a path, not bytes: each input is written to a file of the
// fuzzing process's own, reused for every input.
#pragma once

#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace fuzz {

// A path in /tmp unique to this process and target.
inline std::string InputPath(const char* target) {
  return "/tmp/" + std::string(target) + "-" + std::to_string(::getpid());
}

// Writes the input to `path`, replacing what was there.
inline void WriteInput(const std::string& path, const std::uint8_t* data, std::size_t size) {
  std::FILE* file = std::fopen(path.c_str(), "wb");
  if (!file) std::abort();
  if (size > 0) std::fwrite(data, 1, size, file);
  std::fclose(file);
}

}  // namespace fuzz
