// The 600-byte export properties the host keeps with a box: under 'BFV' 0 for a picture box,
// under 'BFV' 1 for a text box (and any other box). Numbers are little-endian; bytes that no
// field names are kept as they are. A record read from the host is first brought to 600 bytes,
// so a record of another size never has fields read or written beyond its end.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "hostapi/xt_host_api.h"

namespace xt {

class ExportSettings;

inline constexpr std::int32_t kBoxRecordSize = 600;
// Longest alternative text or link target (a NUL follows in the 256-byte field).
inline constexpr std::size_t kBoxRecordTextMax = 255;
// JPEG quality of a new record.
inline constexpr std::int16_t kDefaultRecordQuality = 5;

class BoxRecord {
 public:
  // All fields zero.
  BoxRecord() = default;

  // A new record for `box`: the settings' default flags and picture format, scale 100 %, the
  // box's own width and height as target size, the settings' image spacing, quality 5.
  static BoxRecord Defaults(XtBox box, const ExportSettings& settings);
  // The record the host keeps with `box` (0: the current box) under `key`, or nothing.
  static std::optional<BoxRecord> Read(XtBox box, std::uint32_t key);
  // Read, or the defaults when the box has no record.
  static BoxRecord ReadOrDefaults(XtBox box, std::uint32_t key, const ExportSettings& settings);
  // Stores a copy with `box` under `key`: 0, the host's error, or -1 without memory.
  XtErr Attach(XtBox box, std::uint32_t key) const;

  std::uint32_t flags() const { return Get32(kFlags); }
  void set_flags(std::uint32_t value) { Put32(kFlags, value); }
  std::string alt_text() const { return GetText(kAltText); }
  void set_alt_text(std::string_view text) { PutText(kAltText, text); }
  XtFixed target_width() const { return static_cast<XtFixed>(Get32(kTargetWidth)); }
  void set_target_width(XtFixed value) { Put32(kTargetWidth, static_cast<std::uint32_t>(value)); }
  XtFixed target_height() const { return static_cast<XtFixed>(Get32(kTargetHeight)); }
  void set_target_height(XtFixed value) { Put32(kTargetHeight, static_cast<std::uint32_t>(value)); }
  std::int16_t alignment() const { return Get16(kAlignment); }
  void set_alignment(std::int16_t value) { Put16(kAlignment, value); }
  XtFixed scale() const { return static_cast<XtFixed>(Get32(kScale)); }
  void set_scale(XtFixed value) { Put32(kScale, static_cast<std::uint32_t>(value)); }
  std::string link_target() const { return GetText(kLinkTarget); }
  void set_link_target(std::string_view text) { PutText(kLinkTarget, text); }
  std::int32_t link_type() const { return static_cast<std::int32_t>(Get32(kLinkType)); }
  void set_link_type(std::int32_t value) { Put32(kLinkType, static_cast<std::uint32_t>(value)); }
  std::uint32_t picture_format() const { return Get32(kPictureFormat); }
  void set_picture_format(std::uint32_t value) { Put32(kPictureFormat, value); }
  std::int16_t vspace() const { return Get16(kVSpace); }
  void set_vspace(std::int16_t value) { Put16(kVSpace, value); }
  std::int16_t hspace() const { return Get16(kHSpace); }
  void set_hspace(std::int16_t value) { Put16(kHSpace, value); }
  std::int16_t quality() const { return Get16(kQuality); }
  void set_quality(std::int16_t value) { Put16(kQuality, value); }
  std::int16_t export_kind() const { return Get16(kExportKind); }
  void set_export_kind(std::int16_t value) { Put16(kExportKind, value); }
  // Picture and table border width; multicolumn column width.
  std::int16_t border() const { return Get16(kBorder); }
  void set_border(std::int16_t value) { Put16(kBorder, value); }
  std::int16_t cell_padding() const { return Get16(kPadding); }
  void set_cell_padding(std::int16_t value) { Put16(kPadding, value); }
  // Table cell spacing; multicolumn gutter.
  std::int16_t cell_spacing() const { return Get16(kSpacing); }
  void set_cell_spacing(std::int16_t value) { Put16(kSpacing, value); }
  std::int16_t columns() const { return Get16(kColumns); }
  void set_columns(std::int16_t value) { Put16(kColumns, value); }
  std::int16_t table_alignment() const { return Get16(kTableAlignment); }
  void set_table_alignment(std::int16_t value) { Put16(kTableAlignment, value); }
  std::int16_t width_mode() const { return Get16(kWidthMode); }
  void set_width_mode(std::int16_t value) { Put16(kWidthMode, value); }
  std::int16_t width_value() const { return Get16(kWidthValue); }
  void set_width_value(std::int16_t value) { Put16(kWidthValue, value); }
  std::uint32_t caption_id() const { return Get32(kCaptionId); }
  void set_caption_id(std::uint32_t value) { Put32(kCaptionId, value); }

  const std::array<std::uint8_t, kBoxRecordSize>& bytes() const { return bytes_; }

 private:
  // Field offsets.
  static constexpr int kFlags = 0;
  static constexpr int kAltText = 36;
  static constexpr int kTargetWidth = 292;
  static constexpr int kTargetHeight = 296;
  static constexpr int kAlignment = 300;
  static constexpr int kScale = 302;
  static constexpr int kLinkTarget = 306;
  static constexpr int kLinkType = 562;
  static constexpr int kPictureFormat = 566;
  static constexpr int kVSpace = 570;
  static constexpr int kHSpace = 572;
  static constexpr int kQuality = 574;
  static constexpr int kExportKind = 576;
  static constexpr int kBorder = 580;
  static constexpr int kPadding = 582;
  static constexpr int kSpacing = 584;
  static constexpr int kColumns = 588;
  static constexpr int kTableAlignment = 590;
  static constexpr int kWidthMode = 592;
  static constexpr int kWidthValue = 594;
  static constexpr int kCaptionId = 596;

  std::uint32_t Get32(int offset) const;
  void Put32(int offset, std::uint32_t value);
  std::int16_t Get16(int offset) const;
  void Put16(int offset, std::int16_t value);
  std::string GetText(int offset) const;
  void PutText(int offset, std::string_view text);

  std::array<std::uint8_t, kBoxRecordSize> bytes_{};
};

}  // namespace xt
