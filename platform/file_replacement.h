// The one way a file is replaced: the new content goes to a temporary file beside the target,
// is synced, and is renamed over the target only when complete, after which the folder is
// synced too. A crash or a full disk therefore leaves the old file or the whole new one, never
// a part. The target keeps its permission bits (a new file gets 0666 less the umask); through a
// symbolic link the file it names is replaced and the link stays. The temporary file is locked
// while its writer lives, so that a later run can tell a left-over of a killed run (removed the
// first time a replacement is made in that folder) from one being written.
#pragma once

#include <sys/types.h>

#include <ctime>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/status.h"

namespace platform {

// What tells whether a file changed since it was read.
struct FileIdentity {
  dev_t device = 0;
  ino_t inode = 0;
  off_t size = 0;
  std::time_t modified_seconds = 0;
  long modified_nanoseconds = 0;
  bool operator==(const FileIdentity&) const = default;
};

// The identity of the file at `path` (following links); nothing when it does not exist.
std::optional<FileIdentity> IdentityOf(const std::string& path);

class FileReplacement {
 public:
  explicit FileReplacement(std::string target);
  FileReplacement(const FileReplacement&) = delete;
  FileReplacement& operator=(const FileReplacement&) = delete;
  // Removes the temporary file unless it was committed.
  ~FileReplacement();

  // Creates the empty temporary file (kFileOpenFailed when it cannot).
  Status Open();
  // Appends bytes to the temporary file, retrying interrupted writes (kFileWriteFailed).
  Status Write(std::string_view bytes);
  // Commit replaces the target only when it still has this identity, else it reports
  // kFileChangedMeanwhile and leaves the target alone.
  void RequireUnchanged(const FileIdentity& identity) { expected_ = identity; }
  // Syncs and closes the temporary file and renames it over the target (kFileWriteFailed).
  Status Commit();
  // Removes the temporary file; the target stays as it was.
  void Discard();

  // The temporary file's descriptor while open (others may write to it by descriptor or path).
  int descriptor() const { return fd_; }
  // The file to write by path: the temporary file, or the target itself when that is a device
  // or a pipe (written directly, since it holds nothing to lose).
  const std::string& temporary_path() const { return direct_ ? target_ : temporary_; }
  // The file that is replaced (a symbolic link's destination).
  const std::string& target() const { return target_; }

 private:
  std::string target_;
  std::string temporary_;
  int fd_ = -1;
  bool direct_ = false;
  std::optional<FileIdentity> expected_;
};

// Several files that appear together: each Stage writes one temporary file, Commit moves them
// into place in staging order. What is not committed is removed when the set is destroyed, so
// a run that fails or is cancelled leaves the earlier files as they were.
class StagedReplacements {
 public:
  Status Stage(const std::string& path, std::string_view content);
  // Stops at the first failure; the files not yet moved are then removed.
  Status Commit();

 private:
  std::vector<std::unique_ptr<FileReplacement>> staged_;
};

// Replaces (or creates) the file at `path` with `content` through a FileReplacement.
Status ReplaceFile(const std::string& path, std::string_view content);

// Removes the temporary files of this naming that killed runs left in `folder` (unlocked and at
// least a second old).
void RemoveStaleTemporaries(const std::string& folder);
// The same, once per folder and process; FileReplacement::Open does it for its folder.
void RemoveStaleTemporariesOnce(const std::string& folder);

}  // namespace platform
