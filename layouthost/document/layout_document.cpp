#include "layouthost/document/layout_document.h"

#include <algorithm>

namespace layout {

namespace {

constexpr char kParagraphEnd = 13;

template <typename Items, typename Match>
auto FindIn(Items& items, Match match) -> decltype(&items[0]) {
  const auto it = std::find_if(items.begin(), items.end(), match);
  return it == items.end() ? nullptr : &*it;
}

}  // namespace

int Story::ParagraphAt(int offset) const {
  const auto end = text.begin() + std::clamp(offset, 0, Length());
  return static_cast<int>(std::count(text.begin(), end, kParagraphEnd));
}

const ParagraphStyle& Story::Paragraph(int index) const {
  static const ParagraphStyle kDefault;
  if (index < 0 || index >= static_cast<int>(paragraphs.size())) return kDefault;
  return paragraphs[index];
}

const StyleSpan* Story::SpanAt(int offset) const {
  for (const auto& span : spans) {
    if (offset < span.start + span.length) return &span;
  }
  return spans.empty() ? nullptr : &spans.back();
}

const Record* Box::FindRecord(std::uint32_t key) const {
  for (const auto& record : records) {
    if (record.key == key) return &record;
  }
  return nullptr;
}

void Box::SetRecord(std::uint32_t key, std::vector<std::uint8_t> data) {
  for (auto& record : records) {
    if (record.key == key) {
      record.data = std::move(data);
      return;
    }
  }
  records.push_back(Record{key, std::move(data)});
}

Box* Document::FindBox(int id) {
  return id == 0 ? nullptr : FindIn(boxes, [id](const Box& box) { return box.id == id; });
}
const Box* Document::FindBox(int id) const {
  return id == 0 ? nullptr : FindIn(boxes, [id](const Box& box) { return box.id == id; });
}
Story* Document::FindStory(int id) {
  return FindIn(stories, [id](const Story& story) { return story.id == id; });
}
const Story* Document::FindStory(int id) const {
  return FindIn(stories, [id](const Story& story) { return story.id == id; });
}
const Font* Document::FindFont(int id) const {
  return FindIn(fonts, [id](const Font& font) { return font.id == id; });
}
const Color* Document::FindColor(int index) const {
  return FindIn(colors, [index](const Color& color) { return color.index == index; });
}

bool Document::Ungroup(int group_id) {
  const auto it = std::find_if(boxes.begin(), boxes.end(), [group_id](const Box& box) {
    return box.id == group_id && box.kind == BoxKind::kGroup;
  });
  if (it == boxes.end()) return false;
  const Box group = *it;
  boxes.erase(it);
  for (int member : group.members) {
    if (Box* box = FindBox(member)) box->group = group.group;
  }
  if (Box* parent = FindBox(group.group)) {
    auto& members = parent->members;
    const auto at = std::find(members.begin(), members.end(), group_id);
    if (at != members.end()) {
      const auto pos = members.erase(at);
      members.insert(pos, group.members.begin(), group.members.end());
    }
  }
  if (current == group_id) current = 0;
  std::erase(selection, group_id);
  return true;
}

}  // namespace layout
