// The host's function tables as the plug-in bound them at start-up. Every part of the plug-in
// reaches the host through these; tests fill them with a fake host.
#pragma once

#include "hostapi/xt_host_api.h"

namespace xt {

struct HostTables {
  XtMemoryTable memory{};
  XtRecordTable records{};
  XtGeometryTable geometry{};
  XtPictureTable picture{};
  XtItemTable items{};
  XtTextTable text{};
  XtMenuTable menus{};
  XtWindowTable windows{};
  XtBindTableProc bind_table = nullptr;
  XtInstallCallbackProc install_callback = nullptr;
};

// The plug-in's one set of bound tables (empty until start-up binds them).
HostTables& Host();

}  // namespace xt
