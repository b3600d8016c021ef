// Path helpers for "/" paths: the Windows code split paths at the last backslash or colon.
#pragma once

#include <string>
#include <string_view>

namespace platform {

// Everything before the last "/" (empty when there is none); "/a" gives "" so that
// FolderPart + "/" + NamePart gives the path back.
std::string FolderPart(std::string_view path);

// Everything after the last "/" (the whole path when there is none).
std::string NamePart(std::string_view path);

// folder + "/" + name, without doubling a slash at the join; name alone when folder is empty.
std::string JoinPath(std::string_view folder, std::string_view name);

}  // namespace platform
