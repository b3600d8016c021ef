#include "indexer/store/file_status.h"

#include <cerrno>

namespace indexer {

MMoreErr ReadStatus(const platform::Status& status) {
  if (status.ok()) return kNoErr;
  platform::NoteFailure(status);
  if (status.code() == platform::kFileReadFailed) return kFileReadErr;
  if (status.system_error() == ENOENT) return kFileNotFoundErr;
  if (status.system_error() == EISDIR) return kBadArgument;
  return kFileOpenErr;
}

MMoreErr WriteStatus(const platform::Status& status) {
  if (status.ok()) return kNoErr;
  platform::NoteFailure(status);
  return status.code() == platform::kFileOpenFailed ? kFileOpenErr : kFileWriteErr;
}

void BlameTarget(const platform::FileReplacement& replacement) {
  const platform::Status& last = platform::LastFailure();
  if (last.path() != replacement.temporary_path()) return;
  platform::NoteFailure(last.WithPath(replacement.target()));
}

}  // namespace indexer
