// Where the page of a collection record lies on disk. The record's own full path is not used:
// it names the folder the collection was scanned in, which may be another copy of the issue.
// The page is found from the collection's folder and the record's relative path instead, and
// only there.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace indexer {

// The page below `folder` (a disk path) named by `relativePath` (Windows-1252 text of a record);
// nothing when the relative path is empty, absolute, climbs with "..", or resolves (through a
// symbolic link) to a place outside the folder. A page that does not exist is found by its name
// alone, so that whoever opens it reports it missing.
std::optional<std::string> PageInsideFolder(const std::string& folder,
                                            std::string_view relativePath);

}  // namespace indexer
