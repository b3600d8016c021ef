#include "layouthost/host/geometry.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>

namespace layouthost {

namespace {

template <typename T>
T Saturate(double value) {
  if (std::isnan(value)) return 0;
  return static_cast<T>(std::clamp<double>(std::round(value), std::numeric_limits<T>::min(),
                                           std::numeric_limits<T>::max()));
}

XtFixed SaturateWide(std::int64_t value) {
  return static_cast<XtFixed>(std::clamp<std::int64_t>(value, std::numeric_limits<XtFixed>::min(),
                                                       std::numeric_limits<XtFixed>::max()));
}

}  // namespace

XtFixed ToFixed(double value) {
  return Saturate<XtFixed>(value * kFixedOne);
}

double FromFixed(XtFixed value) {
  return static_cast<double>(value) / kFixedOne;
}

XtFixedRect ToFixedRect(const layout::Rect& rect) {
  return {ToFixed(rect.top), ToFixed(rect.left), ToFixed(rect.bottom), ToFixed(rect.right)};
}

XtFixed FixedMultiply(XtFixed a, XtFixed b) {
  return SaturateWide((static_cast<std::int64_t>(a) * b) / kFixedOne);
}

XtFixed FixedDivide(XtFixed a, XtFixed b) {
  if (b == 0) {
    return a < 0 ? std::numeric_limits<XtFixed>::min() : std::numeric_limits<XtFixed>::max();
  }
  return SaturateWide(static_cast<std::int64_t>(a) * kFixedOne / b);
}

void ScaleRect(XtFixedRect& rect, XtFixed factor) {
  const std::int64_t height = static_cast<std::int64_t>(rect.bottom) - rect.top;
  const std::int64_t width = static_cast<std::int64_t>(rect.right) - rect.left;
  rect.bottom = SaturateWide(rect.top + height * factor / kFixedOne);
  rect.right = SaturateWide(rect.left + width * factor / kFixedOne);
}

XtShortRect RectToPixels(const XtFixedRect& rect) {
  auto pixels = [](XtFixed value) { return Saturate<std::int16_t>(FromFixed(value)); };
  return {pixels(rect.top), pixels(rect.left), pixels(rect.bottom), pixels(rect.right)};
}

}  // namespace layouthost
