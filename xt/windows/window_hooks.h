// Fills the plug-in's window hooks with the Qt windows, when the process that loaded the plug-in
// is a Qt Widgets application. A batch run has none, and the hooks stay empty.
#pragma once

namespace xt::windows {

// True when the hooks were filled.
bool InstallWindows();

// Deletes what is left of the plug-in's windows, before its code goes away.
void RemoveWindows();

}  // namespace xt::windows
