#include "platform/temporary_file.h"

#include <stdlib.h>

#include "platform/paths.h"

namespace platform {

int CreateTemporaryBeside(const std::string& path, std::string& temporary) {
  std::string folder = FolderPart(path);
  if (folder.empty() && path.starts_with('/')) folder = "/";
  std::string pattern = JoinPath(folder, "." + NamePart(path) + ".XXXXXX");
  const int fd = ::mkstemp(pattern.data());
  if (fd >= 0) temporary = std::move(pattern);
  return fd;
}

}  // namespace platform
