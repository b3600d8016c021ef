#include "xt/export/picture_capture.h"

#include <algorithm>

#include "hostapi/host_tables.h"
#include "platform/cp1252.h"
#include "platform/paths.h"
#include "xt/export/archive_layout.h"
#include "xt/export/box_record.h"
#include "xt/export/export_settings.h"
#include "xt/picture/bitmap_files.h"
#include "xt/picture/gif_writer.h"
#include "xt/picture/jpeg_writer.h"

namespace xt {
namespace {

constexpr std::string_view kEmptyBaseName = "pic";
constexpr std::string_view kJpegExtension = ".jpg";
constexpr std::string_view kGifExtension = ".gif";

std::string_view Extension(std::uint32_t format) {
  if (format & kPictureJpeg) return kJpegExtension;
  if (format & kPictureGif) return kGifExtension;
  return {};
}

// `base` + `extension`, or, when the job wrote that name already, the first free name with a
// number at the end of the base (cut so that it keeps its length limit).
std::string UnusedName(const ExportSettings& settings, const std::string& base,
                       std::string_view extension) {
  std::string name = base + std::string(extension);
  const std::size_t limit = settings.DosNames ? kDosBaseNameLength : kLongBaseNameLength;
  for (int n = 1; settings.picture_names.count(name) != 0; ++n) {
    const std::string number = std::to_string(n);
    name = base.substr(0, limit - std::min(limit, number.size())) + number + std::string(extension);
  }
  return name;
}

}  // namespace

std::string PictureBaseName(std::string_view name, bool dos_names) {
  const std::size_t limit = dos_names ? kDosBaseNameLength : kLongBaseNameLength;
  std::string base;
  for (char c : name) {
    if (base.size() == limit) break;
    if ((c >= '0' && c <= '9') || (c >= 'a' && c <= 'z')) {
      base += c;
    } else if (c >= 'A' && c <= 'Z') {
      base += static_cast<char>(c - 'A' + 'a');
    }
  }
  return base.empty() ? std::string(kEmptyBaseName) : base;
}

ExportPicture::ExportPicture(const ExportSettings& settings, XtBox box, std::uint32_t record_key)
    : format_(settings.PictType) {
  // A default without a file type ("0") stands for GIF.
  if ((format_ & (kPictureJpeg | kPictureGif)) == 0) format_ |= kPictureGif;
  const XtGeometryTable& geometry = Host().geometry;
  const XtPictureTable& picture = Host().picture;
  if (!geometry.box_bounds || !geometry.rect_to_pixels || !picture.render_box) return;
  XtFixedRect bounds{};
  if (geometry.box_bounds(box, &bounds) != 0) return;
  XtShortRect pixels{};
  geometry.rect_to_pixels(&bounds, &pixels);
  XtFixed scale = 0;
  if (const auto record = BoxRecord::Read(box, record_key)) {
    format_ = record->picture_format();
    if ((format_ & (kPictureJpeg | kPictureGif)) == 0) format_ |= kPictureJpeg;
    // A record without a target width keeps the box at its own size.
    if (record->target_width() != 0 && bounds.right > bounds.left) {
      scale = geometry.fixed_divide(record->target_width(), bounds.right - bounds.left);
      XtFixedRect scaled = bounds;
      geometry.scale_rect(&scaled, scale);
      geometry.rect_to_pixels(&scaled, &pixels);
    }
  }
  width_ = pixels.right - pixels.left;
  height_ = pixels.bottom - pixels.top;
  rendering_ = picture.render_box(box, &bounds, scale, &pixels, XT_RENDER_A, XT_RENDER_B, 0, 0);
  if (const auto view = ViewBitmap(Bitmap())) {
    width_ = view->width;
    height_ = view->height;
  }
}

ExportPicture::~ExportPicture() {
  if (rendering_ != nullptr && Host().memory.dispose_handle)
    Host().memory.dispose_handle(rendering_);
}

std::span<const std::uint8_t> ExportPicture::Bitmap() const {
  const XtMemoryTable& memory = Host().memory;
  if (rendering_ == nullptr || !memory.handle_data || !memory.handle_size) return {};
  const std::int32_t size = memory.handle_size(rendering_);
  if (size <= 0) return {};
  return {memory.handle_data(rendering_), static_cast<std::size_t>(size)};
}

std::string ExportPicture::Write(ExportSettings& settings, std::string_view proposed_name) {
  const std::string name =
      UnusedName(settings, PictureBaseName(proposed_name, settings.DosNames), Extension(format_));
  const std::span<const std::uint8_t> bitmap = Bitmap();
  if (bitmap.empty()) return name;
  settings.picture_names.insert(name);

  const std::string page = settings.page_path.empty() ? PagePath(settings) : settings.page_path;
  const std::string folder = platform::FolderPart(page);
  CreateFolders(folder);  // on failure the writers find no folder and write nothing
  const std::string path = platform::DiskPath(platform::JoinPath(folder, name));
  if (format_ & kPictureJpeg) {
    WriteJpegFile(bitmap, path, (format_ & kPictureInterlaced) != 0);
  } else if (format_ & kPictureGif) {
    const auto gif = EncodeGif(bitmap, (format_ & kPictureInterlaced) != 0,
                               (format_ & kPictureTransparent) != 0);
    if (gif) WriteWholeFile(path, *gif);
  }
  return name;
}

}  // namespace xt
