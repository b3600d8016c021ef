// The indexer as a desktop program. No Qt in this header, so the command line can call it.
#pragma once

namespace indexer::gui {

// Whether a window can be shown: a display (X11 or Wayland) or a Qt platform is named.
bool DesktopAvailable();

// Runs the program's window until it closes; argv may name one file to open. Returns the exit
// status.
int RunDesktop(int argc, char** argv);

}  // namespace indexer::gui
