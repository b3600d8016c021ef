// META extraction: reads the description and subdescription that the export plug-in put into
// the head of a page, as META tags (<META NAME="DESCRIPTION" CONTENT="...">) or as comment tags
// (<!-- indexmain="..." -->, indexsub, CATEGORY).
//
// Only tags starting with "<m", "<b" or "<!" (any case) are looked at; the extraction ends
// after the BODY tag. The page is read in blocks and parsing stops there, so only the head of
// a page is read, never a whole large page. Keys of the result are in lower case.
#pragma once

#include <cstddef>
#include <map>
#include <string>
#include <string_view>

#include "indexer/store/mmore_err.h"

namespace indexer {

using MetaMap = std::map<std::string, std::string>;

// Incremental parser: feed the page in pieces of any size; the result does not depend on
// where the pieces are cut.
class MetaParser {
 public:
  // Appends bytes and parses every tag that is now complete.
  void feed(std::string_view bytes);
  // The input has ended: parses what is left, an unterminated tag as if closed at the end.
  void finish();
  // True once the BODY tag has been read (or finish() was called): more input is not needed.
  bool done() const { return done_; }
  const MetaMap& result() const { return result_; }

 private:
  void parse(bool atEnd);

  std::string pending_;  // input not yet consumed, starting at a possible tag
  MetaMap result_;
  bool done_ = false;
};

// The META entries of one HTML text held in memory.
MetaMap ExtractMeta(std::string_view html);

// Reads the head of the file at `path`. 257 when it cannot be opened, 261 when it is empty or
// cannot be read; `result` is then empty.
MMoreErr ExtractMetaFromFile(const std::string& path, MetaMap& result);

}  // namespace indexer
