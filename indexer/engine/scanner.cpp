// The scanner slots that only convert their arguments and pass them on.
#include "indexer/engine/scanner.h"

#include <cstring>

#include "indexer/store/file_stream.h"

namespace indexer {

MMoreErr Scanner::toFile(const char* path, FileStream& file) {
  file.SetPath(path ? path : "");
  return kNoErr;
}

MMoreErr Scanner::reserved() {
  return kNotSupported;
}

int Scanner::accepts(const char* source) {
  return accepts(std::string(source ? source : ""));
}

int Scanner::collectionPathFor(char* path, std::size_t capacity) {
  if (path == nullptr || capacity == 0) return kBadArgument;
  std::string converted(path);
  const int mode = collectionPathFor(converted);
  if (converted.size() >= capacity) return kBadArgument;
  std::memcpy(path, converted.c_str(), converted.size() + 1);
  return mode;
}

}  // namespace indexer
