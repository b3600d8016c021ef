// Host numbers: 16.16 fixed point (0x10000 = 1.0) for points and factors, short pixel
// rectangles at 72 pixels per inch (one pixel per point). Results that do not fit saturate.
#pragma once

#include "hostapi/xt_host_api.h"
#include "layouthost/document/layout_document.h"

namespace layouthost {

constexpr XtFixed kFixedOne = 0x10000;

XtFixed ToFixed(double value);
double FromFixed(XtFixed value);
XtFixedRect ToFixedRect(const layout::Rect& rect);
XtFixed FixedMultiply(XtFixed a, XtFixed b);
// a / b; a division by zero gives the largest value of a's sign.
XtFixed FixedDivide(XtFixed a, XtFixed b);
// Scales the rectangle's size by `factor`, keeping its top left corner.
void ScaleRect(XtFixedRect& rect, XtFixed factor);
XtShortRect RectToPixels(const XtFixedRect& rect);

}  // namespace layouthost
