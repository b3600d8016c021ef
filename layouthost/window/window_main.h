// layouthost with a window: the document window over a document, until it is closed.
#pragma once

#include <string>

namespace layouthost {

// Whether a display is there to show a window on.
bool HasDisplay();

// Runs the window on `document` with the plug-in at `plugin_path` (empty: the default place);
// the exit status.
int RunWindow(int argc, char** argv, const std::string& document, const std::string& plugin_path);

}  // namespace layouthost
