// The "Standard" index writer: from a collection it writes the index list document (and, when
// CreateFrames is on, the frames and category frame documents) into the collection's folder,
// and when LinkDocuments is on it has the scanner chain the indexed documents in index order.
//
// The index documents are built in memory and moved into place together only when the whole
// run succeeded, so a run that fails or is cancelled leaves the previous index as it was.
#pragma once

#include <string>

#include "indexer/engine/date_format.h"
#include "indexer/engine/index_writer.h"

namespace indexer {

inline constexpr const char* kStandardWriterDescription =
    "\"Standard\" creates an HTML table of contentswith links to all the articles. Optionally a "
    "Frames document is created - see the preferences of the application.";
inline constexpr const char* kStandardWriterUsage = "Standard: -writer=\"Standard\"";
inline constexpr const char* kStandardWriterAuthor = "Standard index writer by Tarnby";

class StandardIndexWriter : public IndexWriter {
 public:
  // Reads CreateDOSEnding from the preferences; throws MMoreErr 3 without preferences. The
  // clock gives "now" for the date and time variables.
  explicit StandardIndexWriter(const ComponentArgs& args, Clock clock = SystemNow);

  // 3 when the collection's header is missing or its flag 1 is clear; the status of a callback,
  // a chaining or an output file otherwise. path comes back as the entry page's path.
  MMoreErr write(const OptionMap* options, IndexCollection& collection, Scanner* scanner,
                 std::string& path) override;
  std::string description() const override { return kStandardWriterDescription; }
  std::string usage() const override { return kStandardWriterUsage; }
  std::string author() const override { return kStandardWriterAuthor; }

 private:
  bool dosEnding_ = false;
  Clock clock_;
};

}  // namespace indexer
