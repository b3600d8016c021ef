// The indexer's status codes. Every operation of the file stream, the stores, the collection and
// the engine returns one; the few constructors and queries that cannot return a status throw one.
#pragma once

#include <cstdint>

namespace indexer {

enum MMoreErr : std::int32_t {
  kNoErr = 0,
  kOutOfMemory = 2,
  kBadArgument = 3,          // empty name, missing output, a folder where a file is wanted
  kNotFound = 4,             // no such key or entry
  kUserCancelled = 5,        // the user pressed Cancel
  kNotSupported = 9,         // reserved component slots
  kFileOpenErr = 0x101,      // the file cannot be opened
  kFileNotFoundErr = 0x102,  // no such file, no path, or it cannot be removed
  kFileNotOpenErr = 0x103,   // the stream is not open
  kFileReadErr = 0x105,      // read failed or end of file
  kFileWriteErr = 0x106,     // write, flush or rename failed
  kBadVersionErr = 0x107,    // unknown format version
  kBadMagicErr = 0x108,      // wrong magic number
};

}  // namespace indexer
