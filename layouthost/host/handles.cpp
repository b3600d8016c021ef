#include "layouthost/host/handles.h"

namespace layouthost {

XtHandle HandleTable::New(std::int32_t size) {
  if (size < 0 || size > kMaxSize) return nullptr;
  auto block = std::make_unique<XtHandleBlock>();
  block->bytes.assign(static_cast<std::size_t>(size), 0);
  XtHandle handle = block.get();
  blocks_.emplace(handle, std::move(block));
  return handle;
}

XtHandle HandleTable::NewCopy(const std::vector<std::uint8_t>& bytes) {
  XtHandle handle = New(static_cast<std::int32_t>(bytes.size()));
  if (handle) handle->bytes = bytes;
  return handle;
}

void HandleTable::Dispose(XtHandle handle) {
  blocks_.erase(handle);
}

XtHandleBlock* HandleTable::Find(XtHandle handle) {
  const auto it = blocks_.find(handle);
  return it == blocks_.end() ? nullptr : it->second.get();
}

}  // namespace layouthost
