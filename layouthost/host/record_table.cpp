#include "layouthost/host/layout_host.h"
#include "layouthost/host/served_tables.h"

namespace layouthost {

namespace {

XtHandle GetRecord(XtBox box, int32_t one, uint32_t key) {
  LayoutHost* host = LayoutHost::Active();
  const layout::Box* found = host ? host->FindBox(box) : nullptr;
  if (!found || one != 1) return nullptr;
  const layout::Record* record = found->FindRecord(key);
  return record ? host->handles().NewCopy(record->data) : nullptr;
}

XtErr AttachRecord(XtBox box, int32_t one, uint32_t key, XtHandle record) {
  LayoutHost* host = LayoutHost::Active();
  if (!host) return kNoDocument;
  layout::Box* found = host->FindBox(box);
  if (!found) return kNoSuchItem;
  const XtHandleBlock* block = host->handles().Find(record);
  if (!block || one != 1) return kBadArgument;
  found->SetRecord(key, block->bytes);
  return 0;
}

}  // namespace

XtRecordTable RecordTable() {
  return {GetRecord, AttachRecord};
}

}  // namespace layouthost
