// Files are replaced by writing a temporary file beside them and renaming it over the original
// once complete; this makes that temporary file.
#pragma once

#include <string>

namespace platform {

// Creates a new, empty file with a unique hidden name beside `path` (".NAME.XXXXXX" in the same
// folder, so that the rename stays within one file system), open for writing with the owner's
// permissions only. Returns its descriptor and sets `temporary` to its path, or returns -1.
int CreateTemporaryBeside(const std::string& path, std::string& temporary);

}  // namespace platform
