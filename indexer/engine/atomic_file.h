// Whole-file output that never leaves a file half-written: the new content goes to a unique
// temporary file in the target's folder (hidden, and not ending in ".html" or ".htm", so a
// scan never takes a left-over for a page) and is renamed over the target only when it is
// complete. A replaced file keeps its permission bits; a new one gets the usual ones of the
// process (0666 less the umask).
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "indexer/store/mmore_err.h"

namespace indexer {

// Permission bits of a file, as in st_mode & 07777.
using Permissions = unsigned;

// The whole content of a file, and its permission bits when asked for: kFileNotFoundErr when
// there is none, kBadArgument for a folder, kFileOpenErr or kFileReadErr when it cannot be read.
MMoreErr ReadWholeFile(const std::string& path, std::string& content,
                       Permissions* permissions = nullptr);

// Replaces (or creates) the file at path with content; on failure the file is as it was and no
// temporary file remains (kFileOpenErr, kFileWriteErr). permissions, when known, spare a look
// at the file.
MMoreErr ReplaceFileContent(const std::string& path, std::string_view content,
                            std::optional<Permissions> permissions = std::nullopt);

// A set of output files that appear together: each Stage writes one temporary file, Commit
// moves them all into place in staging order. Files not committed are removed when the set is
// destroyed, so a run that fails or is cancelled leaves earlier outputs as they were.
class StagedFiles {
 public:
  StagedFiles() = default;
  StagedFiles(const StagedFiles&) = delete;
  StagedFiles& operator=(const StagedFiles&) = delete;
  ~StagedFiles();

  MMoreErr Stage(const std::string& path, std::string_view content,
                 std::optional<Permissions> permissions = std::nullopt);
  // kFileWriteErr when a rename fails; the files not yet moved are then removed.
  MMoreErr Commit();

 private:
  void Discard();

  // (temporary path, target path)
  std::vector<std::pair<std::string, std::string>> staged_;
};

}  // namespace indexer
