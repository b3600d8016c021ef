#include "layouthost/host/layout_host.h"
#include "layouthost/host/served_tables.h"

namespace layouthost {

namespace {

XtHandleBlock* Block(XtHandle handle) {
  LayoutHost* host = LayoutHost::Active();
  return host ? host->handles().Find(handle) : nullptr;
}

XtHandle NewHandle(int32_t size) {
  LayoutHost* host = LayoutHost::Active();
  return host ? host->handles().New(size) : nullptr;
}

void DisposeHandle(XtHandle handle) {
  if (LayoutHost* host = LayoutHost::Active()) host->handles().Dispose(handle);
}

int32_t HandleSize(XtHandle handle) {
  const XtHandleBlock* block = Block(handle);
  return block ? static_cast<int32_t>(block->bytes.size()) : 0;
}

XtErr SetHandleSize(XtHandle handle, int32_t size) {
  XtHandleBlock* block = Block(handle);
  if (!block || size < 0 || size > HandleTable::kMaxSize) return kBadArgument;
  block->bytes.resize(static_cast<std::size_t>(size), 0);
  return 0;
}

uint8_t* HandleData(XtHandle handle) {
  XtHandleBlock* block = Block(handle);
  return block ? block->bytes.data() : nullptr;
}

}  // namespace

XtMemoryTable MemoryTable() {
  return {NewHandle, DisposeHandle, HandleSize, SetHandleSize, HandleData};
}

}  // namespace layouthost
