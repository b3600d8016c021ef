// ExportPicture: one box of the layout (a picture box, or a text box exported as a picture)
// rendered by the host at the scale of its record and written as a GIF or JPEG file beside the
// page being exported.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "hostapi/xt_host_api.h"

namespace xt {

class ExportSettings;

// Longest picture base name with and without DOS file names.
inline constexpr std::size_t kDosBaseNameLength = 8;
inline constexpr std::size_t kLongBaseNameLength = 27;

// Letters and digits of `name` (letters in lower case), at most 8 or 27 of them; "pic" when
// none is left.
std::string PictureBaseName(std::string_view name, bool dos_names);

class ExportPicture {
 public:
  // Renders `box`; `record_key` is XT_RECORD_PICTURE or XT_RECORD_EXPORT, the record whose
  // picture format and target width apply.
  ExportPicture(const ExportSettings& settings, XtBox box, std::uint32_t record_key);
  ~ExportPicture();
  ExportPicture(const ExportPicture&) = delete;
  ExportPicture& operator=(const ExportPicture&) = delete;

  // Size of the rendering in pixels (of the pixel rectangle asked for when none came back).
  int width() const { return width_; }
  int height() const { return height_; }
  std::uint32_t format() const { return format_; }

  // Writes the picture file beside the page under the base name of `proposed_name` and returns
  // the file name (no folder). Within one job a name already written gets a number, so that two
  // pictures never share a file. Without a rendering only the name is made.
  std::string Write(ExportSettings& settings, std::string_view proposed_name);

 private:
  std::span<const std::uint8_t> Bitmap() const;

  XtHandle rendering_ = nullptr;
  std::uint32_t format_ = 0;
  int width_ = 0;
  int height_ = 0;
};

}  // namespace xt
