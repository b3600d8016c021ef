// Files are replaced by writing a temporary file beside them and renaming it over the original
// once complete; this makes that temporary file.
#pragma once

#include <string>
#include <string_view>

namespace platform {

// The mark in every temporary file's name, by which left-overs of killed runs are recognised.
inline constexpr std::string_view kTemporaryMark = ".mlxtmp.";

// Creates a new, empty file with a unique hidden name beside `path` (".NAME.mlxtmp.XXXXXX" in
// the same folder, so that the rename stays within one file system), open for writing with the
// owner's permissions only and locked (flock) by this process. Returns its descriptor and sets
// `temporary` to its path, or returns -1 with errno set.
int CreateTemporaryBeside(const std::string& path, std::string& temporary);

// Whether a file name (without folder) has the form CreateTemporaryBeside gives.
bool IsTemporaryName(std::string_view name);

}  // namespace platform
