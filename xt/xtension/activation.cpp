#include "xt/xtension/activation.h"

#include <array>
#include <numeric>

#include "hostapi/host_tables.h"
#include "xt/xtension/lifecycle.h"

namespace xt {
namespace {

// Callback table entries the plug-in uses.
constexpr int kBindEntry = 0;
constexpr int kInstallEntry = 1;

// The function numbers 1..N of a table of N functions: the plug-in calls every one of them.
template <typename Table>
constexpr int32_t kFunctionCount = static_cast<int32_t>(sizeof(Table) / sizeof(void (*)()));

template <typename Table>
XtErr Bind(uint32_t table_id, Table& table) {
  std::array<int32_t, kFunctionCount<Table>> numbers;
  std::iota(numbers.begin(), numbers.end(), 1);
  const XtFunctionList wanted{XT_FUNCTION_LIST_HEADER, static_cast<int32_t>(numbers.size()),
                              numbers.data()};
  return Host().bind_table(table_id, &wanted, &table, sizeof table) == 0 ? 0 : XT_ERR_ACTIVATION;
}

// Stops at the first table the host refuses.
XtErr BindAll() {
  HostTables& host = Host();
  XtErr err = Bind(XT_TABLE_MEMORY, host.memory);
  if (err == 0) err = Bind(XT_TABLE_RECORDS, host.records);
  if (err == 0) err = Bind(XT_TABLE_GEOMETRY, host.geometry);
  if (err == 0) err = Bind(XT_TABLE_PICTURE, host.picture);
  if (err == 0) err = Bind(XT_TABLE_ITEMS, host.items);
  if (err == 0) err = Bind(XT_TABLE_TEXT, host.text);
  if (err == 0) err = Bind(XT_TABLE_MENUS, host.menus);
  if (err == 0) err = Bind(XT_TABLE_WINDOWS, host.windows);
  return err;
}

}  // namespace

XtErr ActivateXtension(XtActivateBlock* block) {
  if (block->register_xtension(block->host, XT_IDENTIFIER, XT_REGISTER_A, XT_REGISTER_B, XT_VERSION,
                               0) == 0)
    return XT_ERR_ACTIVATION;
  block->set_value(block->host, XT_FURTHER_VALUE);
  block->install_main_callback(block->host, MainCallback, XT_INSTALL_A, XT_INSTALL_B, XT_INSTALL_C);
  return 0;
}

XtErr MainCallback(int32_t opcode, void* params) {
  if (opcode != XT_OP_START) return 0;
  const auto* table = static_cast<const XtCallbackTable*>(params);
  if (table == nullptr || table->count != XT_CALLBACK_TABLE_COUNT ||
      table->kind != XT_CALLBACK_TABLE_KIND || table->version != XT_CALLBACK_TABLE_VERSION)
    return XT_ERR_CALLBACK_TABLE;
  Host().bind_table = reinterpret_cast<XtBindTableProc>(table->entries[kBindEntry]);
  Host().install_callback = reinterpret_cast<XtInstallCallbackProc>(table->entries[kInstallEntry]);
  if (Host().bind_table == nullptr || Host().install_callback == nullptr)
    return XT_ERR_CALLBACK_TABLE;
  if (XtErr err = BindAll()) return err;
  return StartXtension();
}

}  // namespace xt
