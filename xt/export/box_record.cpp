#include "xt/export/box_record.h"

#include <algorithm>
#include <cstring>

#include "hostapi/host_tables.h"
#include "xt/export/export_settings.h"

namespace xt {
namespace {

constexpr XtFixed kFullScale = 0x10000;
constexpr XtErr kNoMemory = -1;
constexpr std::size_t kTextField = kBoxRecordTextMax + 1;

// A host handle given back however the caller leaves.
class OwnedHandle {
 public:
  explicit OwnedHandle(XtHandle handle) : handle_(handle) {}
  ~OwnedHandle() {
    if (handle_ != nullptr) Host().memory.dispose_handle(handle_);
  }
  OwnedHandle(const OwnedHandle&) = delete;
  OwnedHandle& operator=(const OwnedHandle&) = delete;
  XtHandle get() const { return handle_; }

 private:
  XtHandle handle_;
};

}  // namespace

std::uint32_t BoxRecord::Get32(int offset) const {
  const std::uint8_t* p = bytes_.data() + offset;
  return static_cast<std::uint32_t>(p[0]) | static_cast<std::uint32_t>(p[1]) << 8 |
         static_cast<std::uint32_t>(p[2]) << 16 | static_cast<std::uint32_t>(p[3]) << 24;
}

void BoxRecord::Put32(int offset, std::uint32_t value) {
  for (int i = 0; i < 4; ++i)
    bytes_[offset + i] = static_cast<std::uint8_t>(value >> (8 * i));
}

std::int16_t BoxRecord::Get16(int offset) const {
  return static_cast<std::int16_t>(bytes_[offset] | bytes_[offset + 1] << 8);
}

void BoxRecord::Put16(int offset, std::int16_t value) {
  auto bits = static_cast<std::uint16_t>(value);
  bytes_[offset] = static_cast<std::uint8_t>(bits);
  bytes_[offset + 1] = static_cast<std::uint8_t>(bits >> 8);
}

std::string BoxRecord::GetText(int offset) const {
  const char* p = reinterpret_cast<const char*>(bytes_.data() + offset);
  return std::string(p, strnlen(p, kBoxRecordTextMax));
}

void BoxRecord::PutText(int offset, std::string_view text) {
  std::uint8_t* p = bytes_.data() + offset;
  std::fill(p, p + kTextField, 0);
  std::copy_n(text.begin(), std::min(text.size(), kBoxRecordTextMax), p);
}

BoxRecord BoxRecord::Defaults(XtBox box, const ExportSettings& settings) {
  BoxRecord record;
  record.set_flags(settings.default_flags);
  record.set_scale(kFullScale);
  XtFixedRect bounds{};
  if (Host().geometry.box_bounds(box, &bounds) == 0) {
    record.set_target_width(bounds.right - bounds.left);
    record.set_target_height(bounds.bottom - bounds.top);
  }
  record.set_vspace(static_cast<std::int16_t>(settings.ImageVSpace));
  record.set_hspace(static_cast<std::int16_t>(settings.ImageHSpace));
  record.set_quality(kDefaultRecordQuality);
  record.set_picture_format(settings.PictType);
  return record;
}

std::optional<BoxRecord> BoxRecord::Read(XtBox box, std::uint32_t key) {
  const XtMemoryTable& memory = Host().memory;
  OwnedHandle handle(Host().records.get_record(box, 1, key));
  if (handle.get() == nullptr) return std::nullopt;
  if (memory.handle_size(handle.get()) != kBoxRecordSize &&
      memory.set_handle_size(handle.get(), kBoxRecordSize) != 0)
    return std::nullopt;
  BoxRecord record;
  std::memcpy(record.bytes_.data(), memory.handle_data(handle.get()), kBoxRecordSize);
  return record;
}

BoxRecord BoxRecord::ReadOrDefaults(XtBox box, std::uint32_t key, const ExportSettings& settings) {
  if (std::optional<BoxRecord> record = Read(box, key)) return *record;
  return Defaults(box, settings);
}

XtErr BoxRecord::Attach(XtBox box, std::uint32_t key) const {
  OwnedHandle handle(Host().memory.new_handle(kBoxRecordSize));
  if (handle.get() == nullptr) return kNoMemory;
  std::memcpy(Host().memory.handle_data(handle.get()), bytes_.data(), kBoxRecordSize);
  return Host().records.attach_record(box, 1, key, handle.get());
}

}  // namespace xt
