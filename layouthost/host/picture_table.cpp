#include <algorithm>
#include <cstring>

#include "layouthost/host/box_renderer.h"
#include "layouthost/host/geometry.h"
#include "layouthost/host/layout_host.h"
#include "layouthost/host/served_tables.h"
#include "platform/cp1252.h"

namespace layouthost {

namespace {

XtHandle Render(XtBox box, const XtFixedRect* /*bounds*/, XtFixed scale, const XtShortRect* pixels,
                int32_t /*a*/, int32_t /*b*/, int32_t /*c*/, int32_t /*d*/) {
  LayoutHost* host = LayoutHost::Active();
  const layout::Box* found = host ? host->FindBox(box) : nullptr;
  if (!found || !pixels) return nullptr;
  const int width = pixels->right - pixels->left;
  const int height = pixels->bottom - pixels->top;
  const double factor = scale == 0 ? 1.0 : FromFixed(scale);
  if (factor <= 0) return nullptr;
  std::vector<std::uint8_t> bitmap =
      RenderBox(*host->document(), host->folder(), *found, factor, width, height);
  return bitmap.empty() ? nullptr : host->handles().NewCopy(bitmap);
}

int32_t ImportedFileName(XtBox box, char* name, int32_t capacity) {
  LayoutHost* host = LayoutHost::Active();
  const layout::Box* found = host ? host->FindBox(box) : nullptr;
  std::string file;
  if (found && found->kind == layout::BoxKind::kPicture) {
    const std::string& path = found->picture.file;
    const std::string utf8 = path.substr(path.find_last_of('/') + 1);
    file = platform::Utf8ToCp1252(utf8).value_or("");
  }
  if (!name || capacity < 1) return 0;
  const std::size_t count = std::min(file.size(), static_cast<std::size_t>(capacity - 1));
  std::memcpy(name, file.data(), count);
  name[count] = '\0';
  return static_cast<int32_t>(count);
}

}  // namespace

XtPictureTable PictureTable() {
  return {Render, ImportedFileName};
}

}  // namespace layouthost
