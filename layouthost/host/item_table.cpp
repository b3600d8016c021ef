#include <algorithm>

#include "layouthost/host/geometry.h"
#include "layouthost/host/layout_host.h"
#include "layouthost/host/served_tables.h"

namespace layouthost {

namespace {

layout::Document* Doc() {
  LayoutHost* host = LayoutHost::Active();
  return host ? host->document() : nullptr;
}

const layout::Box* Find(XtBox box) {
  LayoutHost* host = LayoutHost::Active();
  return host ? host->FindBox(box) : nullptr;
}

bool IsKind(XtBox box, layout::BoxKind kind) {
  const layout::Box* found = Find(box);
  return found && found->kind == kind;
}

int32_t HasDocument() {
  return Doc() ? 1 : 0;
}

XtBox CurrentBox() {
  return Doc() ? Doc()->current : 0;
}

void SetCurrentBox(XtBox box) {
  if (Doc() && (box == 0 || Find(box))) Doc()->current = box;
}

int32_t KindNumber(layout::BoxKind kind) {
  switch (kind) {
    case layout::BoxKind::kText:
      return XT_BOX_TEXT;
    case layout::BoxKind::kPicture:
      return XT_BOX_PICTURE;
    case layout::BoxKind::kGroup:
      return XT_BOX_GROUP;
    case layout::BoxKind::kOther:
      break;
  }
  return XT_BOX_OTHER;
}

XtErr BoxInfo(XtBox box, XtBoxInfo* info) {
  const layout::Box* found = Find(box);
  if (!found) return kNoSuchItem;
  if (!info) return kBadArgument;
  *info = XtBoxInfo{};
  info->kind = KindNumber(found->kind);
  info->page = found->page;
  info->background = static_cast<int16_t>(found->background);
  info->columns = static_cast<int16_t>(found->columns);
  info->gutter = ToFixed(found->gutter);
  info->bounds = ToFixedRect(found->bounds);
  return 0;
}

int32_t IsGroup(XtBox box) {
  return IsKind(box, layout::BoxKind::kGroup);
}
int32_t IsTextBox(XtBox box) {
  return IsKind(box, layout::BoxKind::kText);
}
int32_t IsPictureBox(XtBox box) {
  return IsKind(box, layout::BoxKind::kPicture);
}

int32_t GroupMemberCount(XtBox group) {
  const layout::Box* found = Find(group);
  return found ? static_cast<int32_t>(found->members.size()) : 0;
}

XtBox GroupMember(XtBox group, int32_t index) {
  const layout::Box* found = Find(group);
  if (!found || index < 0 || index >= static_cast<int32_t>(found->members.size())) return 0;
  return found->members[index];
}

XtBox FirstBoxOfPage(int32_t page) {
  if (!Doc()) return 0;
  for (const layout::Box& box : Doc()->boxes) {
    if (box.page == page) return box.id;
  }
  return 0;
}

XtBox NextBox(XtBox box) {
  const layout::Box* from = Find(box);
  if (!from) return 0;
  const auto& boxes = Doc()->boxes;
  const auto it = std::find_if(boxes.begin(), boxes.end(),
                               [from](const layout::Box& b) { return b.id == from->id; });
  if (it == boxes.end() || it + 1 == boxes.end() || (it + 1)->page != it->page) return 0;
  return (it + 1)->id;
}

void SelectBoxes(const XtBox* boxes, int32_t count) {
  if (!Doc() || (!boxes && count > 0)) return;
  Doc()->selection.clear();
  for (int32_t i = 0; i < count; ++i) {
    if (Find(boxes[i])) Doc()->selection.push_back(boxes[i]);
  }
}

int32_t SaveRedraw() {
  LayoutHost* host = LayoutHost::Active();
  return host ? host->SaveRedraw() : 0;
}

void RestoreRedraw(int32_t state) {
  if (LayoutHost* host = LayoutHost::Active()) host->RestoreRedraw(state);
}

XtErr Ungroup(XtBox group) {
  if (!Doc()) return kNoDocument;
  return Doc()->Ungroup(group) ? 0 : kNoSuchItem;
}

}  // namespace

XtItemTable ItemTable() {
  return {HasDocument, CurrentBox,   SetCurrentBox,    BoxInfo,       IsGroup,
          IsTextBox,   IsPictureBox, GroupMemberCount, GroupMember,   FirstBoxOfPage,
          NextBox,     SelectBoxes,  SaveRedraw,       RestoreRedraw, Ungroup};
}

}  // namespace layouthost
