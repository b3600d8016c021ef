// Carries out a parsed command line: opens the document, loads the plug-in when an action needs
// it, runs the actions in order and turns the jobs' results into the exit status.
#pragma once

#include <ostream>

#include "layouthost/app/command_line.h"

namespace layouthost {

// Messages and warnings go to `messages`, the paths of the pages written to `results`.
// Exit status: 0 when every action succeeded and every job returned 0; 1 when a job returned
// anything else, a page could not be shown, or an action or the document failed (the actions
// after a failed one are not run).
int RunBatch(const CommandLine& line, std::ostream& messages, std::ostream& results);

}  // namespace layouthost
