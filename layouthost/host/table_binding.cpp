#include <cstring>

#include "layouthost/host/layout_host.h"
#include "layouthost/host/served_tables.h"

namespace layouthost {

namespace {

template <typename Table>
XtErr CopyTable(const Table& table, const XtFunctionList& wanted, void* out, size_t size) {
  constexpr int32_t kFunctions = static_cast<int32_t>(sizeof(Table) / sizeof(void (*)()));
  if (size != sizeof(Table)) return XT_ERR_ACTIVATION;
  for (int32_t i = 0; i < wanted.count; ++i) {
    if (wanted.numbers[i] < 1 || wanted.numbers[i] > kFunctions) return XT_ERR_ACTIVATION;
  }
  std::memcpy(out, &table, sizeof(Table));
  return 0;
}

}  // namespace

XtErr BindTable(uint32_t table_id, const XtFunctionList* wanted, void* table_out,
                size_t table_size) {
  if (!wanted || !table_out || wanted->header != XT_FUNCTION_LIST_HEADER || wanted->count < 0 ||
      (wanted->count > 0 && !wanted->numbers)) {
    return XT_ERR_ACTIVATION;
  }
  switch (table_id) {
    case XT_TABLE_MEMORY:
      return CopyTable(MemoryTable(), *wanted, table_out, table_size);
    case XT_TABLE_RECORDS:
      return CopyTable(RecordTable(), *wanted, table_out, table_size);
    case XT_TABLE_GEOMETRY:
      return CopyTable(GeometryTable(), *wanted, table_out, table_size);
    case XT_TABLE_PICTURE:
      return CopyTable(PictureTable(), *wanted, table_out, table_size);
    case XT_TABLE_ITEMS:
      return CopyTable(ItemTable(), *wanted, table_out, table_size);
    case XT_TABLE_TEXT:
      return CopyTable(TextTable(), *wanted, table_out, table_size);
    case XT_TABLE_MENUS:
      return CopyTable(MenuTable(), *wanted, table_out, table_size);
    case XT_TABLE_WINDOWS:
      return CopyTable(WindowTable(), *wanted, table_out, table_size);
    default:
      return XT_ERR_ACTIVATION;
  }
}

XtErr InstallCallback(int32_t opcode, XtCallbackProc proc, int32_t a, int32_t b, int32_t c) {
  LayoutHost* host = LayoutHost::Active();
  if (!host || a != XT_INSTALL_A || b != XT_INSTALL_B || c != XT_INSTALL_C) {
    return XT_ERR_ACTIVATION;
  }
  return host->InstallCallback(opcode, proc) ? XT_ERR_ACTIVATION : 0;
}

}  // namespace layouthost
