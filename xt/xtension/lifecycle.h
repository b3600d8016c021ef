// The plug-in's life inside the layout program: the settings object made when the library is
// loaded, start-up after binding (text filter, callbacks), its three menu items, and the
// callbacks through which the host drives it until it is unloaded.
#pragma once

#include <string>

#include "hostapi/xt_host_api.h"

namespace xt {

// Menu texts.
inline constexpr const char* kMenuPreferences = "Marlix XT ...";
inline constexpr const char* kMenuOpenExport = "Open Marlix Exp&ort";
inline constexpr const char* kMenuHideExport = "Hide Marlix T&ools";
inline constexpr const char* kMenuLaunchIndexer = "Launch Marlix Index";

// The name the text filter is registered under, and the temporary file deleted at unload.
inline constexpr const char* kFilterName = "MarlixXT40";
inline constexpr const char* kTemporaryFileName = "$mxt";

// When the library is loaded: the one settings object, filled from the profile file.
void LoadXtension(const std::string& profile_path);
// When the library is unloaded: the META tags are written back to the profile file, then the
// settings object and any open window go.
void ReleaseXtension();

// After binding: registers the text filter, installs the callbacks, sets the temporary file
// name. 0 or the host's error.
XtErr StartXtension();

// The one callback installed for every opcode the plug-in handles.
XtErr XtensionCallback(int32_t opcode, void* params);

// Whether the export sheet is open (its menu item then reads kMenuHideExport).
bool ExportSheetOpen();

}  // namespace xt
