// Draws one box of a layout document as the plug-in's picture capture asks for it: the box at a
// scale into a bitmap of a given pixel size (72 pixels per inch at scale 1), on the box's
// background colour (white when it has none). A picture box shows its imported image file (PNG,
// JPEG, GIF or BMP) at its offset and scale, clipped to the box; a text box shows its part of
// its story, laid out in the box's columns with fonts, sizes, styles, colours, indents and tabs.
// Uses QtGui, so a QGuiApplication must exist.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "layouthost/document/layout_document.h"

namespace layouthost {

// A packed bitmap (packed_bitmap.h), or empty when the size is not drawable.
std::vector<std::uint8_t> RenderBox(const layout::Document& document, const std::string& folder,
                                    const layout::Box& box, double scale, int width, int height);

// Largest side of a rendering, in pixels.
constexpr int kMaxRenderSide = 16384;

}  // namespace layouthost
