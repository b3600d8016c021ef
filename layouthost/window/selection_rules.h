// Which items a click or a rubber band in the document window selects. A click on a box that
// belongs to a group selects the outermost group, unless the box itself is asked for (the
// modifier); a rubber band selects the items that lie wholly inside it.
#pragma once

#include <vector>

#include "layouthost/document/layout_document.h"

namespace layouthost {

// The frontmost box (not a group) on `page` under the point (points from the page's top left
// corner), 0 when there is none. Later boxes lie in front of earlier ones.
int BoxAt(const layout::Document& document, int page, double x, double y);

// What a click on `box` selects: the box itself when `inner`, else its outermost group.
int ItemForClick(const layout::Document& document, int box, bool inner);

// The outermost items of `page` whose bounds lie inside `area`, in the page's order.
std::vector<int> ItemsInside(const layout::Document& document, int page, const layout::Rect& area);

// Shift-click: `item` leaves the selection when it is in it, else joins it.
std::vector<int> Toggled(std::vector<int> selection, int item);

// Makes `items` the selection; the first becomes the current item (0 for none).
void Select(layout::Document& document, const std::vector<int>& items);

}  // namespace layouthost
