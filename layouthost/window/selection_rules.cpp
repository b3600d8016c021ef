#include "layouthost/window/selection_rules.h"

#include <algorithm>

namespace layouthost {

int BoxAt(const layout::Document& document, int page, double x, double y) {
  for (auto it = document.boxes.rbegin(); it != document.boxes.rend(); ++it) {
    const layout::Rect& r = it->bounds;
    if (it->page == page && it->kind != layout::BoxKind::kGroup && x >= r.left && x < r.right &&
        y >= r.top && y < r.bottom)
      return it->id;
  }
  return 0;
}

int ItemForClick(const layout::Document& document, int box, bool inner) {
  if (inner) return box;
  int item = box;
  // Groups cannot form loops (the reader refuses them); the bound keeps a bad model finite.
  for (std::size_t depth = 0; depth <= document.boxes.size(); ++depth) {
    const layout::Box* found = document.FindBox(item);
    if (!found || found->group == 0) break;
    item = found->group;
  }
  return item;
}

std::vector<int> ItemsInside(const layout::Document& document, int page, const layout::Rect& area) {
  std::vector<int> items;
  for (const layout::Box& box : document.boxes) {
    const layout::Rect& r = box.bounds;
    if (box.page != page || box.group != 0) continue;
    if (r.left >= area.left && r.right <= area.right && r.top >= area.top &&
        r.bottom <= area.bottom)
      items.push_back(box.id);
  }
  return items;
}

std::vector<int> Toggled(std::vector<int> selection, int item) {
  const auto at = std::find(selection.begin(), selection.end(), item);
  if (at != selection.end()) {
    selection.erase(at);
  } else {
    selection.push_back(item);
  }
  return selection;
}

void Select(layout::Document& document, const std::vector<int>& items) {
  document.selection = items;
  document.current = items.empty() ? 0 : items.front();
}

}  // namespace layouthost
