// Cuts a stretch of a story into the runs the text export hands to a filter: each run has one
// set of character attributes, ends at the latest after a paragraph end (byte 13) so that its
// paragraph attributes are exact, and starts anew at every tab so that its tab index names that
// tab's stop. A link becomes a start mark run, a data run (type byte and target), the linked
// runs and an end mark run; a link cut by the stretch's edges is closed inside it.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "layouthost/document/layout_document.h"

namespace layouthost {

struct ExportRun {
  std::string bytes;  // never empty
  layout::CharStyle style;
  std::uint32_t mark = 0;
  int paragraph = 0;  // index of the run's paragraph in the story
  int tab_index = 0;  // for a run that starts with a tab: the stop that tab reaches
};

// Runs of story characters [start, end), clamped to the story.
std::vector<ExportRun> SplitExportRuns(const layout::Story& story, int start, int end);

}  // namespace layouthost
