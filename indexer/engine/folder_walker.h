// FolderWalker: a depth-first walk through a folder tree. The walk itself is generic; a
// subclass says what happens when a folder is entered and left and when a file is met.
//
// Entries of a folder are taken in name order (ASCII letters compared as upper case, ties
// broken byte by byte), so a tree is walked in the same order on every machine. The walk stops
// at the first non-zero result, so a cancel or an error is never hidden by later entries. A
// sub-folder that cannot be listed is skipped and reported through folderSkipped(); the walk
// goes on with the next entry.
//
// Paths on disk are UTF-8; relative paths are the system's Windows-1252 text. An entry whose
// name Windows-1252 cannot hold is skipped and reported through nameSkipped().
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "indexer/store/mmore_err.h"

namespace indexer {

// True when a sorts before b in walk order.
bool WalkOrderLess(std::string_view a, std::string_view b);

class FolderWalker {
 public:
  FolderWalker() = default;
  FolderWalker(const FolderWalker&) = delete;
  FolderWalker& operator=(const FolderWalker&) = delete;

  virtual ~FolderWalker() = default;
  // Walks `folder` (a disk path), whose path relative to the start of the walk is `rel`. A folder's
  // entries have the relative path "" when depth is negative, the entry name when rel is empty, and
  // rel + "/" + name otherwise. The start folder itself must be listable (else 258).
  virtual MMoreErr walk(const std::string& folder, const std::string& rel, int depth);

 protected:
  virtual MMoreErr enterFolder(const std::string& folder, const std::string& rel, int depth) = 0;
  virtual MMoreErr visitFile(const std::string& file, const std::string& rel, int depth) = 0;
  virtual MMoreErr leaveFolder(const std::string& folder, const std::string& rel, int depth) = 0;
  // A sub-folder that could not be listed; the walk skips it.
  virtual void folderSkipped(const std::string& folder, const std::string& reason) = 0;
  // A file or folder whose name has no Windows-1252 form; the walk skips it.
  virtual void nameSkipped(const std::string& path) = 0;

 private:
  MMoreErr walkFolder(const std::string& folder, const std::string& rel, int depth, bool isStart);
};

}  // namespace indexer
