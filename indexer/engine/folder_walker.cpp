// Depth-first folder walk in a machine-independent name order.
#include "indexer/engine/folder_walker.h"

#include <dirent.h>
#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <memory>
#include <optional>

#include "platform/cp1252.h"
#include "platform/paths.h"

namespace indexer {
namespace {

struct DirCloser {
  void operator()(DIR* dir) const { closedir(dir); }
};
using DirHandle = std::unique_ptr<DIR, DirCloser>;

struct Entry {
  std::string diskName;  // UTF-8, as the file system has it
  std::string name;      // Windows-1252, for relative paths
  bool isFolder;
};

unsigned char UpperAscii(unsigned char c) {
  return (c >= 'a' && c <= 'z') ? c - 'a' + 'A' : c;
}

// Symbolic links to folders are not followed, so a link loop cannot make the walk endless.
bool IsRealFolder(const std::string& path, unsigned char type) {
  if (type == DT_DIR) return true;
  if (type != DT_UNKNOWN) return false;
  struct stat info;
  return lstat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

// The folder's entries without "." and "..", in walk order; false when it cannot be listed.
// Names that Windows-1252 cannot hold go to `unnamed` instead.
bool ListFolder(const std::string& folder, std::vector<Entry>& entries,
                std::vector<std::string>& unnamed, std::string& reason) {
  DirHandle dir(opendir(folder.c_str()));
  if (!dir) {
    reason = std::strerror(errno);
    return false;
  }
  errno = 0;
  while (const dirent* entry = readdir(dir.get())) {
    std::string diskName = entry->d_name;
    if (diskName == "." || diskName == "..") continue;
    const std::string path = platform::JoinPath(folder, diskName);
    std::optional<std::string> name = platform::Utf8ToCp1252(diskName);
    if (!name) {
      unnamed.push_back(path);
      continue;
    }
    entries.push_back({diskName, std::move(*name), IsRealFolder(path, entry->d_type)});
  }
  if (errno != 0) {
    reason = std::strerror(errno);
    return false;
  }
  std::sort(entries.begin(), entries.end(),
            [](const Entry& a, const Entry& b) { return WalkOrderLess(a.name, b.name); });
  return true;
}

std::string EntryRelativePath(const std::string& rel, const std::string& name, int depth) {
  if (depth < 0) return {};
  if (rel.empty()) return name;
  return rel + "/" + name;
}

}  // namespace

bool WalkOrderLess(std::string_view a, std::string_view b) {
  const std::size_t common = std::min(a.size(), b.size());
  for (std::size_t i = 0; i < common; ++i) {
    const unsigned char ua = UpperAscii(static_cast<unsigned char>(a[i]));
    const unsigned char ub = UpperAscii(static_cast<unsigned char>(b[i]));
    if (ua != ub) return ua < ub;
  }
  if (a.size() != b.size()) return a.size() < b.size();
  return a < b;
}

MMoreErr FolderWalker::walk(const std::string& folder, const std::string& rel, int depth) {
  return walkFolder(folder, rel, depth, true);
}

MMoreErr FolderWalker::walkFolder(const std::string& folder, const std::string& rel, int depth,
                                  bool isStart) {
  MMoreErr r = enterFolder(folder, rel, depth);
  if (r != kNoErr) return r;

  std::vector<Entry> entries;
  std::vector<std::string> unnamed;
  std::string reason;
  if (!ListFolder(folder, entries, unnamed, reason)) {
    if (isStart) return kFileNotFoundErr;
    folderSkipped(folder, reason);
    return kNoErr;
  }
  for (const std::string& path : unnamed)
    nameSkipped(path);
  for (const Entry& entry : entries) {
    const std::string path = platform::JoinPath(folder, entry.diskName);
    const std::string entryRel = EntryRelativePath(rel, entry.name, depth);
    r = entry.isFolder ? walkFolder(path, entryRel, depth + 1, false)
                       : visitFile(path, entryRel, depth);
    if (r != kNoErr) return r;
  }
  return leaveFolder(folder, rel, depth);
}

}  // namespace indexer
