#include "indexer/engine/page_location.h"

#include <cstdlib>
#include <memory>

#include "platform/cp1252.h"
#include "platform/paths.h"

namespace indexer {
namespace {

struct FreeDeleter {
  void operator()(char* text) const { std::free(text); }
};

// The path with every symbolic link resolved; nothing when it does not exist.
std::optional<std::string> Resolved(const std::string& path) {
  const std::unique_ptr<char, FreeDeleter> real(::realpath(path.c_str(), nullptr));
  if (!real) return std::nullopt;
  return std::string(real.get());
}

bool ClimbsOrIsAbsolute(std::string_view relative) {
  if (relative.empty() || relative.front() == '/') return true;
  std::size_t start = 0;
  while (start <= relative.size()) {
    std::size_t end = relative.find('/', start);
    if (end == std::string_view::npos) end = relative.size();
    if (relative.substr(start, end - start) == "..") return true;
    start = end + 1;
  }
  return false;
}

bool IsBelow(const std::string& path, const std::string& folder) {
  if (folder == "/") return path.size() > 1 && path.front() == '/';
  return path.size() > folder.size() + 1 && path.starts_with(folder) && path[folder.size()] == '/';
}

}  // namespace

std::optional<std::string> PageInsideFolder(const std::string& folder,
                                            std::string_view relativePath) {
  const std::string relative = platform::Cp1252ToUtf8(relativePath);
  if (ClimbsOrIsAbsolute(relative)) return std::nullopt;
  const std::string base = folder.empty() ? "." : folder;
  const std::string page = platform::JoinPath(base, relative);
  const std::optional<std::string> realFolder = Resolved(base);
  if (!realFolder) return std::nullopt;
  const std::optional<std::string> realPage = Resolved(page);
  // A page that cannot be resolved cannot be read either: whoever opens it reports it missing.
  if (!realPage) return page;
  if (!IsBelow(*realPage, *realFolder)) return std::nullopt;
  return page;
}

}  // namespace indexer
