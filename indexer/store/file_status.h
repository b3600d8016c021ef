// The indexer's codes for failures of the platform's file functions. Each also keeps the
// failure's path and reason as the thread's platform::LastFailure(), for the message that
// reports the code.
#pragma once

#include "indexer/store/mmore_err.h"
#include "platform/file_replacement.h"
#include "platform/status.h"

namespace indexer {

// Reading: kFileNotFoundErr for a missing file, kBadArgument for a folder, else kFileOpenErr
// or kFileReadErr.
MMoreErr ReadStatus(const platform::Status& status);
// Writing through a replacement: kFileOpenErr when it cannot begin, else kFileWriteErr.
MMoreErr WriteStatus(const platform::Status& status);

// A failure noted while writing the replacement's temporary file concerns the file it
// replaces: the user knows that name, not the temporary one.
void BlameTarget(const platform::FileReplacement& replacement);

}  // namespace indexer
