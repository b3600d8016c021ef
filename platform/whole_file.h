// Reading a whole file into memory, with what a later replacement needs to know about it.
#pragma once

#include <string>

#include "platform/file_replacement.h"
#include "platform/status.h"

namespace platform {

// The whole content of the file at `path`, and its identity when asked for. kFileOpenFailed
// when it cannot be opened (system_error() ENOENT when missing, EISDIR for a folder),
// kFileReadFailed when reading fails.
Status ReadWholeFile(const std::string& path, std::string& content,
                     FileIdentity* identity = nullptr);

}  // namespace platform
