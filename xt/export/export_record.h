// The export record of a box as the page writer needs it: format kind, flags, alignment and
// table or multicolumn properties, read from the 600-byte record the host keeps with the box.
#pragma once

#include <optional>

#include "xt/export/export_settings.h"
#include "xt/host/xt_host_api.h"

namespace xt {

struct ExportRecord {
  BoxFormat format;
  int alignment = 0;
};

// The record under 'BFV' 1 of `box`, or nothing when the box has none.
std::optional<ExportRecord> ReadExportRecord(XtBox box);

}  // namespace xt
