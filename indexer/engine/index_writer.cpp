// The writer slot every writer shares.
#include "indexer/engine/index_writer.h"

namespace indexer {

MMoreErr IndexWriter::reserved() {
  return kNotSupported;
}

}  // namespace indexer
