// The movable memory blocks shared with the plug-in. Each handle is an owned byte buffer kept in
// a table, so a handle the plug-in never had (or already gave back) is recognised and ignored,
// and the number of blocks still out can be checked.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <vector>

#include "hostapi/xt_host_api.h"

struct XtHandleBlock {
  std::vector<std::uint8_t> bytes;
};

namespace layouthost {

class HandleTable {
 public:
  // Largest block handed out; a bigger request is refused like an allocation failure.
  static constexpr std::int32_t kMaxSize = 256 << 20;

  XtHandle New(std::int32_t size);
  XtHandle NewCopy(const std::vector<std::uint8_t>& bytes);
  void Dispose(XtHandle handle);
  // The block behind a live handle, else nullptr.
  XtHandleBlock* Find(XtHandle handle);
  std::size_t live_count() const { return blocks_.size(); }

 private:
  std::map<XtHandle, std::unique_ptr<XtHandleBlock>> blocks_;
};

}  // namespace layouthost
