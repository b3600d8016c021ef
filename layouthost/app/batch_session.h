// Carries out a parsed command line: opens the document, loads the plug-in when an action needs
// it, runs the actions in order and turns the jobs' results into the exit status.
#pragma once

#include <ostream>

#include "layouthost/app/command_line.h"

namespace layouthost {

// Exit status: 0 all jobs returned 0, 1 the worst returned 1, 2 a job returned -1 or an action
// failed (the actions after a failed one are not run).
int RunBatch(const CommandLine& line, std::ostream& messages);

}  // namespace layouthost
