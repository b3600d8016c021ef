// Ownership of a C file handle: closed when the owner goes out of scope.
#pragma once

#include <cstdio>
#include <memory>

namespace platform {

struct FileCloser {
  void operator()(std::FILE* file) const {
    if (file) std::fclose(file);
  }
};
using UniqueFile = std::unique_ptr<std::FILE, FileCloser>;

}  // namespace platform
