// The function tables layouthost serves to the plug-in, each filled with functions that act on
// LayoutHost::Active(), and the binding call of the callback table that hands them out.
#pragma once

#include <cstddef>
#include <cstdint>

#include "hostapi/xt_host_api.h"

namespace layouthost {

XtMemoryTable MemoryTable();
XtRecordTable RecordTable();
XtGeometryTable GeometryTable();
XtPictureTable PictureTable();
XtItemTable ItemTable();
XtTextTable TextTable();
XtMenuTable MenuTable();
XtWindowTable WindowTable();

// Entry 0 of the callback table: copies table `table_id` into `table_out` when `table_size` is
// its size and every wanted function number exists; else XT_ERR_ACTIVATION.
XtErr BindTable(uint32_t table_id, const XtFunctionList* wanted, void* table_out,
                size_t table_size);
// Entry 1: installs a callback with the installation arguments XT_INSTALL_A, _B, _C.
XtErr InstallCallback(int32_t opcode, XtCallbackProc proc, int32_t a, int32_t b, int32_t c);

}  // namespace layouthost
