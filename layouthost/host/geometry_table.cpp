#include "layouthost/host/geometry.h"
#include "layouthost/host/layout_host.h"
#include "layouthost/host/served_tables.h"

namespace layouthost {

namespace {

XtErr BoxBounds(XtBox box, XtFixedRect* bounds) {
  LayoutHost* host = LayoutHost::Active();
  const layout::Box* found = host ? host->FindBox(box) : nullptr;
  if (!found) return kNoSuchItem;
  if (!bounds) return kBadArgument;
  *bounds = ToFixedRect(found->bounds);
  return 0;
}

void Scale(XtFixedRect* rect, XtFixed factor) {
  if (rect) ScaleRect(*rect, factor);
}

void ToPixels(const XtFixedRect* rect, XtShortRect* pixels) {
  if (rect && pixels) *pixels = RectToPixels(*rect);
}

}  // namespace

XtGeometryTable GeometryTable() {
  return {BoxBounds, Scale, ToPixels, FixedDivide, FixedMultiply};
}

}  // namespace layouthost
