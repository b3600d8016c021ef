#include <algorithm>
#include <cstring>

#include "layouthost/host/geometry.h"
#include "layouthost/host/layout_host.h"
#include "layouthost/host/served_tables.h"

namespace layouthost {

namespace {

LayoutHost* Host() {
  return LayoutHost::Active();
}

// The story of the current box, when it is a text box showing one.
layout::Story* CurrentStory() {
  LayoutHost* host = Host();
  const layout::Box* box = host ? host->FindBox(0) : nullptr;
  return box ? host->StoryOf(*box) : nullptr;
}

// Copies `text` into a buffer of `capacity` bytes, cut to fit and NUL-terminated; returns the
// number of bytes copied.
int32_t CopyText(const std::string& text, char* out, int32_t capacity) {
  if (!out || capacity < 1) return 0;
  const std::size_t count = std::min(text.size(), static_cast<std::size_t>(capacity - 1));
  std::memcpy(out, text.data(), count);
  out[count] = '\0';
  return static_cast<int32_t>(count);
}

XtErr BoxText(XtBox box, XtTextRange* range) {
  LayoutHost* host = Host();
  const layout::Box* found = host ? host->FindBox(box) : nullptr;
  if (!found || found->kind != layout::BoxKind::kText) return kNoSuchItem;
  if (!range) return kBadArgument;
  const layout::Story* story = host->StoryOf(*found);
  range->story = found->story;
  range->start = found->text_start;
  range->end = found->text_end;
  range->length = story ? story->Length() : 0;
  return 0;
}

int32_t ContinuesChain(XtBox box) {
  LayoutHost* host = Host();
  const layout::Box* found = host ? host->FindBox(box) : nullptr;
  return found && found->kind == layout::BoxKind::kText && found->story && found->text_start > 0;
}

XtErr GetSelection(int32_t* start, int32_t* end) {
  const layout::Story* story = CurrentStory();
  if (!story) return kNoSuchItem;
  if (!start || !end) return kBadArgument;
  *start = story->selection_start;
  *end = story->selection_end;
  return 0;
}

XtErr SetSelection(int32_t start, int32_t end) {
  layout::Story* story = CurrentStory();
  if (!story) return kNoSuchItem;
  if (start < 0 || end < start || end > story->Length()) return kBadArgument;
  story->selection_start = start;
  story->selection_end = end;
  return 0;
}

int32_t StoryBytes(int32_t start, int32_t end, char* out, int32_t capacity) {
  const layout::Story* story = CurrentStory();
  if (!story || !out || capacity <= 0) return 0;
  start = std::clamp(start, 0, story->Length());
  end = std::clamp(end, start, story->Length());
  const int32_t count = std::min(end - start, capacity);
  std::memcpy(out, story->text.data() + start, static_cast<std::size_t>(count));
  return count;
}

int32_t RegisterFilter(uint32_t kind, uint32_t file_type, const char* name, uint32_t flags) {
  return Host() ? Host()->RegisterFilter(kind, file_type, name, flags) : 0;
}

int32_t FilterCount() {
  return Host() ? static_cast<int32_t>(Host()->filters().size()) : 0;
}

XtErr FilterInfo(int32_t index, XtFilterInfo* info) {
  if (!Host() || index < 0 || index >= FilterCount()) return kNoSuchFilter;
  if (!info) return kBadArgument;
  *info = Host()->filters()[index];
  return 0;
}

XtErr RunTextExport(int32_t filter_id, int32_t selection_only) {
  return Host() ? Host()->RunTextExport(filter_id, selection_only != 0) : kNoDocument;
}

XtErr Write(const char* bytes, int32_t count) {
  return Host() ? Host()->Write(bytes, count) : kNoDocument;
}

void ReplaceWriter(XtWriterProc writer, void* context, XtWriterProc* old_writer,
                   void** old_context) {
  if (Host()) Host()->ReplaceWriter(writer, context, old_writer, old_context);
}

int32_t FontName(int16_t font_id, char* name, int32_t capacity) {
  const layout::Document* document = Host() ? Host()->document() : nullptr;
  const layout::Font* font = document ? document->FindFont(font_id) : nullptr;
  return CopyText(font ? font->name : "", name, capacity);
}

XtErr ColorRgb(int16_t color_index, XtRgb* rgb) {
  const layout::Document* document = Host() ? Host()->document() : nullptr;
  const layout::Color* color = document ? document->FindColor(color_index) : nullptr;
  if (!color) return kNoSuchItem;
  if (!rgb) return kBadArgument;
  *rgb = XtRgb{color->red, color->green, color->blue};
  return 0;
}

int32_t TabStops(XtTabStop* stops, int32_t capacity) {
  if (!Host() || !stops || capacity <= 0) return 0;
  const auto& tabs = Host()->export_tabs();
  const int32_t count = std::min(static_cast<int32_t>(tabs.size()), capacity);
  for (int32_t i = 0; i < count; ++i) {
    stops[i] = XtTabStop{ToFixed(tabs[i].position), static_cast<int16_t>(tabs[i].alignment)};
  }
  return count;
}

}  // namespace

XtTextTable TextTable() {
  return {BoxText,        ContinuesChain, GetSelection, SetSelection,  StoryBytes,
          RegisterFilter, FilterCount,    FilterInfo,   RunTextExport, Write,
          ReplaceWriter,  FontName,       ColorRgb,     TabStops};
}

}  // namespace layouthost
