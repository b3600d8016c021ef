#include "xt/export/export_record.h"

#include <cstdint>

#include "xt/host/host_tables.h"

namespace xt {
namespace {

// Field offsets of the record (little-endian numbers).
constexpr std::int32_t kRecordSize = 600;
constexpr int kFlagsOffset = 0;
constexpr int kAlignmentOffset = 300;
constexpr int kKindOffset = 576;
constexpr int kBorderOffset = 580;
constexpr int kPaddingOffset = 582;
constexpr int kSpacingOffset = 584;
constexpr int kColumnsOffset = 588;
constexpr int kTableAlignmentOffset = 590;
constexpr int kWidthModeOffset = 592;
constexpr int kWidthOffset = 594;

std::int16_t Read16(const std::uint8_t* data, int offset) {
  return static_cast<std::int16_t>(data[offset] | (data[offset + 1] << 8));
}

std::uint32_t Read32(const std::uint8_t* data, int offset) {
  return static_cast<std::uint32_t>(data[offset]) |
         (static_cast<std::uint32_t>(data[offset + 1]) << 8) |
         (static_cast<std::uint32_t>(data[offset + 2]) << 16) |
         (static_cast<std::uint32_t>(data[offset + 3]) << 24);
}

// Gives the host's copy back however the read ends.
class HandleOwner {
 public:
  explicit HandleOwner(XtHandle handle) : handle_(handle) {}
  ~HandleOwner() {
    if (handle_ && Host().memory.dispose_handle) Host().memory.dispose_handle(handle_);
  }
  HandleOwner(const HandleOwner&) = delete;
  HandleOwner& operator=(const HandleOwner&) = delete;
  XtHandle get() const { return handle_; }

 private:
  XtHandle handle_;
};

}  // namespace

std::optional<ExportRecord> ReadExportRecord(XtBox box) {
  const XtMemoryTable& memory = Host().memory;
  if (!Host().records.get_record || !memory.handle_data || !memory.handle_size ||
      !memory.set_handle_size) {
    return std::nullopt;
  }
  const HandleOwner record(Host().records.get_record(box, 1, XT_RECORD_EXPORT));
  if (!record.get()) return std::nullopt;
  if (memory.handle_size(record.get()) != kRecordSize &&
      memory.set_handle_size(record.get(), kRecordSize) != 0) {
    return std::nullopt;
  }
  const std::uint8_t* data = memory.handle_data(record.get());
  if (!data) return std::nullopt;

  ExportRecord out;
  out.format.flags = Read32(data, kFlagsOffset);
  out.format.kind = Read16(data, kKindOffset);
  out.alignment = Read16(data, kAlignmentOffset);
  TableProperties& table = out.format.table;
  table.border = Read16(data, kBorderOffset);
  table.padding = Read16(data, kPaddingOffset);
  table.spacing = Read16(data, kSpacingOffset);
  table.columns = Read16(data, kColumnsOffset);
  table.alignment = Read16(data, kTableAlignmentOffset);
  table.width_mode = Read16(data, kWidthModeOffset);
  table.width = Read16(data, kWidthOffset);
  return out;
}

}  // namespace xt
