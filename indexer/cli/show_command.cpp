// --show: the outline of a collection as the collection view would show it, one line per
// outline line, indented by two spaces per level below the group lines.
#include <string>

#include "indexer/cli/commands.h"
#include "indexer/cli/terminal_text.h"
#include "indexer/engine/index_engine.h"
#include "indexer/engine/outline.h"
#include "indexer/startup/indexer_files.h"

namespace indexer::cli {

int RunShow(const Arguments& args) {
  if (args.size() != 1) return UsageError("--show takes one COLLECTION.mlx");
  IndexEngine engine;
  LoadFilesTelling(engine);
  Outline outline;
  if (outline.load(args.front(), engine.categories()) != kNoErr) {
    return Fail(kExitFailure, "cannot read the collection \"" + args.front() + "\"");
  }
  for (const OutlineLine& line : outline.lines()) {
    PrintLine(std::string(2 * (kGroupLevel - line.level), ' ') + line.text);
  }
  return kExitOk;
}

}  // namespace indexer::cli
