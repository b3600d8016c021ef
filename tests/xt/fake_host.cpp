#include "tests/xt/fake_host.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <memory>

namespace xt::test {

namespace {

constexpr XtErr kNoSuchThing = 1;
constexpr int32_t kBitmapHeaderSize = 40;

// A movable block: the handle the plug-in sees is the address of one of these.
struct FakeHandle {
  std::vector<uint8_t> bytes;
};

std::map<FakeHandle*, std::unique_ptr<FakeHandle>>& Handles() {
  static std::map<FakeHandle*, std::unique_ptr<FakeHandle>> handles;
  return handles;
}

FakeHandle* Block(XtHandle handle) {
  auto* block = reinterpret_cast<FakeHandle*>(handle);
  if (Handles().count(block) == 0) {
    ADD_FAILURE() << "handle not obtained from the host or already disposed";
    return nullptr;
  }
  return block;
}

void CopyText(const std::string& text, char* out, int32_t capacity) {
  if (capacity <= 0) return;
  size_t n = std::min(text.size(), static_cast<size_t>(capacity - 1));
  std::memcpy(out, text.data(), n);
  out[n] = '\0';
}

void PutLe32(uint8_t* p, uint32_t v) {
  for (int i = 0; i < 4; ++i)
    p[i] = static_cast<uint8_t>(v >> (8 * i));
}

// Number of functions each table offers (the numbers a binding may ask for are 1..count).
struct TableShape {
  uint32_t id;
  int32_t functions;
  size_t size;
};
constexpr TableShape kShapes[] = {
    {XT_TABLE_MEMORY, 5, sizeof(XtMemoryTable)},     {XT_TABLE_RECORDS, 2, sizeof(XtRecordTable)},
    {XT_TABLE_GEOMETRY, 5, sizeof(XtGeometryTable)}, {XT_TABLE_PICTURE, 2, sizeof(XtPictureTable)},
    {XT_TABLE_ITEMS, 15, sizeof(XtItemTable)},       {XT_TABLE_TEXT, 15, sizeof(XtTextTable)},
    {XT_TABLE_MENUS, 4, sizeof(XtMenuTable)},        {XT_TABLE_WINDOWS, 4, sizeof(XtWindowTable)},
};

}  // namespace

FakeHost* FakeHost::self_ = nullptr;

struct FakeHostThunks {
  static FakeHost& H() { return *FakeHost::self_; }

  // Memory.
  static XtHandle NewHandle(int32_t size) {
    if (size < 0) return nullptr;
    auto block = std::make_unique<FakeHandle>();
    block->bytes.assign(static_cast<size_t>(size), 0);
    FakeHandle* raw = block.get();
    Handles()[raw] = std::move(block);
    ++H().live_handles_;
    return reinterpret_cast<XtHandle>(raw);
  }
  static void DisposeHandle(XtHandle handle) {
    if (handle == nullptr) return;
    if (FakeHandle* block = Block(handle)) {
      Handles().erase(block);
      --H().live_handles_;
    }
  }
  static int32_t HandleSize(XtHandle handle) {
    FakeHandle* block = Block(handle);
    return block ? static_cast<int32_t>(block->bytes.size()) : 0;
  }
  static XtErr SetHandleSize(XtHandle handle, int32_t size) {
    FakeHandle* block = Block(handle);
    if (block == nullptr || size < 0) return kNoSuchThing;
    block->bytes.resize(static_cast<size_t>(size), 0);
    return 0;
  }
  static uint8_t* HandleData(XtHandle handle) {
    FakeHandle* block = Block(handle);
    return block ? block->bytes.data() : nullptr;
  }
  static XtHandle HandleOf(const std::vector<uint8_t>& bytes) {
    XtHandle handle = NewHandle(static_cast<int32_t>(bytes.size()));
    std::copy(bytes.begin(), bytes.end(), HandleData(handle));
    return handle;
  }

  // Records.
  static XtHandle GetRecord(XtBox box, int32_t one, uint32_t key) {
    EXPECT_EQ(one, 1);
    auto it = H().records_.find({H().Resolve(box), key});
    return it == H().records_.end() ? nullptr : HandleOf(it->second);
  }
  static XtErr AttachRecord(XtBox box, int32_t one, uint32_t key, XtHandle record) {
    EXPECT_EQ(one, 1);
    FakeHandle* block = Block(record);
    if (block == nullptr || H().Find(H().Resolve(box)) == nullptr) return kNoSuchThing;
    H().records_[{H().Resolve(box), key}] = block->bytes;
    return 0;
  }

  // Geometry.
  static XtErr BoxBounds(XtBox box, XtFixedRect* bounds) {
    const FakeHost::Box* found = H().Find(H().Resolve(box));
    if (found == nullptr) return kNoSuchThing;
    *bounds = found->info.bounds;
    return 0;
  }
  static void ScaleRect(XtFixedRect* rect, XtFixed factor) {
    rect->bottom = rect->top + FixedMultiply(rect->bottom - rect->top, factor);
    rect->right = rect->left + FixedMultiply(rect->right - rect->left, factor);
  }
  static int16_t ToPixels(XtFixed v) { return static_cast<int16_t>((v + 0x8000) >> 16); }
  static void RectToPixels(const XtFixedRect* rect, XtShortRect* pixels) {
    *pixels = {ToPixels(rect->top), ToPixels(rect->left), ToPixels(rect->bottom),
               ToPixels(rect->right)};
  }
  static XtFixed FixedDivide(XtFixed a, XtFixed b) {
    if (b == 0) return a < 0 ? INT32_MIN : INT32_MAX;
    return static_cast<XtFixed>((static_cast<int64_t>(a) << 16) / b);
  }
  static XtFixed FixedMultiply(XtFixed a, XtFixed b) {
    return static_cast<XtFixed>((static_cast<int64_t>(a) * b) >> 16);
  }

  // Picture.
  static XtHandle RenderBox(XtBox box, const XtFixedRect*, XtFixed, const XtShortRect* pixels,
                            int32_t, int32_t, int32_t, int32_t) {
    int32_t width = pixels->right - pixels->left;
    int32_t height = pixels->bottom - pixels->top;
    if (H().render_fails_ || H().Find(H().Resolve(box)) == nullptr || width <= 0 || height <= 0)
      return nullptr;
    int32_t stride = (width * 3 + 3) & ~3;
    XtHandle handle = NewHandle(kBitmapHeaderSize + stride * height);
    uint8_t* p = HandleData(handle);
    PutLe32(p, kBitmapHeaderSize);
    PutLe32(p + 4, static_cast<uint32_t>(width));
    PutLe32(p + 8, static_cast<uint32_t>(height));
    p[12] = 1;   // planes
    p[14] = 24;  // bits per pixel
    PutLe32(p + 20, static_cast<uint32_t>(stride * height));
    XtRgb rgb{0xFFFF, 0xFFFF, 0xFFFF};
    if (auto it = H().render_colors_.find(H().Resolve(box)); it != H().render_colors_.end())
      rgb = it->second;
    for (int32_t y = 0; y < height; ++y) {
      uint8_t* row = p + kBitmapHeaderSize + y * stride;
      for (int32_t x = 0; x < width; ++x) {
        row[3 * x] = static_cast<uint8_t>(rgb.blue >> 8);
        row[3 * x + 1] = static_cast<uint8_t>(rgb.green >> 8);
        row[3 * x + 2] = static_cast<uint8_t>(rgb.red >> 8);
      }
    }
    return handle;
  }
  static int32_t ImportedFileName(XtBox box, char* name, int32_t capacity) {
    const FakeHost::Box* found = H().Find(H().Resolve(box));
    std::string text = found ? found->imported_name : "";
    CopyText(text, name, capacity);
    return static_cast<int32_t>(std::min<size_t>(text.size(), std::max(capacity - 1, 0)));
  }

  // Items.
  static int32_t HasDocument() { return H().has_document_ ? 1 : 0; }
  static XtBox CurrentBox() { return H().current_; }
  static void SetCurrentBox(XtBox box) { H().current_ = box; }
  static XtErr BoxInfo(XtBox box, XtBoxInfo* info) {
    const FakeHost::Box* found = H().Find(H().Resolve(box));
    if (found == nullptr) return kNoSuchThing;
    *info = found->info;
    return 0;
  }
  static int32_t IsKind(XtBox box, int32_t kind) {
    const FakeHost::Box* found = H().Find(H().Resolve(box));
    return found != nullptr && found->info.kind == kind ? 1 : 0;
  }
  static int32_t IsGroup(XtBox box) { return IsKind(box, XT_BOX_GROUP); }
  static int32_t IsTextBox(XtBox box) { return IsKind(box, XT_BOX_TEXT); }
  static int32_t IsPictureBox(XtBox box) { return IsKind(box, XT_BOX_PICTURE); }
  static int32_t GroupMemberCount(XtBox group) {
    const FakeHost::Box* found = H().Find(H().Resolve(group));
    return found ? static_cast<int32_t>(found->members.size()) : 0;
  }
  static XtBox GroupMember(XtBox group, int32_t index) {
    const FakeHost::Box* found = H().Find(H().Resolve(group));
    if (found == nullptr || index < 0 || index >= static_cast<int32_t>(found->members.size()))
      return 0;
    return found->members[static_cast<size_t>(index)];
  }
  static XtBox NextOnPage(int32_t page, size_t from) {
    for (size_t i = from; i < H().order_.size(); ++i) {
      const FakeHost::Box* box = H().Find(H().order_[i]);
      if (box->group == 0 && box->info.page == page) return H().order_[i];
    }
    return 0;
  }
  static XtBox FirstBoxOfPage(int32_t page) { return NextOnPage(page, 0); }
  static XtBox NextBox(XtBox box) {
    auto it = std::find(H().order_.begin(), H().order_.end(), box);
    if (it == H().order_.end()) return 0;
    return NextOnPage(H().Find(box)->info.page, static_cast<size_t>(it - H().order_.begin()) + 1);
  }
  static void SelectBoxes(const XtBox* boxes, int32_t count) {
    H().selected_.assign(boxes, boxes + std::max(count, 0));
  }
  static int32_t SaveRedraw() { return std::exchange(H().redraw_state_, 0); }
  static void RestoreRedraw(int32_t state) { H().redraw_state_ = state; }
  static XtErr Ungroup(XtBox group) {
    FakeHost::Box* found = H().Find(H().Resolve(group));
    if (found == nullptr || found->info.kind != XT_BOX_GROUP) return kNoSuchThing;
    for (XtBox member : found->members)
      H().Find(member)->group = 0;
    XtBox id = H().Resolve(group);
    H().order_.erase(std::find(H().order_.begin(), H().order_.end(), id));
    H().boxes_.erase(id);
    if (H().current_ == id) H().current_ = 0;
    return 0;
  }

  // Text.
  static XtErr BoxText(XtBox box, XtTextRange* range) {
    const FakeHost::Box* found = H().Find(H().Resolve(box));
    if (found == nullptr || found->info.kind != XT_BOX_TEXT) return kNoSuchThing;
    *range = H().RangeOf(*found);
    return 0;
  }
  static int32_t ContinuesChain(XtBox box) {
    const FakeHost::Box* found = H().Find(H().Resolve(box));
    return found != nullptr && found->info.kind == XT_BOX_TEXT && found->start > 0 ? 1 : 0;
  }
  static XtErr GetSelection(int32_t* start, int32_t* end) {
    *start = H().selection_.first;
    *end = H().selection_.second;
    return 0;
  }
  static XtErr SetSelection(int32_t start, int32_t end) {
    H().selection_ = {start, end};
    return 0;
  }
  static int32_t StoryBytes(int32_t start, int32_t end, char* out, int32_t capacity) {
    std::string text = H().StoryText(H().current_);
    start = std::clamp(start, 0, static_cast<int32_t>(text.size()));
    end = std::clamp(end, start, static_cast<int32_t>(text.size()));
    int32_t n = std::min(end - start, std::max(capacity, 0));
    std::memcpy(out, text.data() + start, static_cast<size_t>(n));
    return n;
  }
  static int32_t RegisterFilter(uint32_t kind, uint32_t file_type, const char* name,
                                uint32_t flags) {
    XtFilterInfo info{};
    info.kind = kind;
    info.file_type = file_type;
    CopyText(name, info.name, sizeof info.name);
    info.flags = flags;
    info.id = static_cast<int32_t>(H().filters_.size()) + 1;
    H().filters_.push_back(info);
    return info.id;
  }
  static int32_t FilterCount() { return static_cast<int32_t>(H().filters_.size()); }
  static XtErr FilterInfo(int32_t index, XtFilterInfo* info) {
    if (index < 0 || index >= FilterCount()) return kNoSuchThing;
    *info = H().filters_[static_cast<size_t>(index)];
    return 0;
  }
  static XtErr RunTextExport(int32_t filter_id, int32_t selection_only) {
    return H().RunTextExport(filter_id, selection_only != 0);
  }
  static XtErr Write(const char* bytes, int32_t count) {
    return H().writer_(H().writer_context_, bytes, count);
  }
  static XtErr DefaultWriter(void* context, const char* bytes, int32_t count) {
    static_cast<FakeHost*>(context)->output_.append(bytes, static_cast<size_t>(count));
    return 0;
  }
  static void ReplaceWriter(XtWriterProc writer, void* context, XtWriterProc* old_writer,
                            void** old_context) {
    if (old_writer) *old_writer = H().writer_;
    if (old_context) *old_context = H().writer_context_;
    H().writer_ = writer;
    H().writer_context_ = context;
  }
  static int32_t FontName(int16_t font_id, char* name, int32_t capacity) {
    auto it = H().fonts_.find(font_id);
    std::string text = it == H().fonts_.end() ? "" : it->second;
    CopyText(text, name, capacity);
    return static_cast<int32_t>(std::min<size_t>(text.size(), std::max(capacity - 1, 0)));
  }
  static XtErr ColorRgb(int16_t index, XtRgb* rgb) {
    auto it = H().colors_.find(index);
    if (it == H().colors_.end()) return kNoSuchThing;
    *rgb = it->second;
    return 0;
  }
  static int32_t TabStops(XtTabStop* stops, int32_t capacity) {
    int32_t n = std::min(static_cast<int32_t>(H().current_tabs_.size()), std::max(capacity, 0));
    std::copy_n(H().current_tabs_.begin(), n, stops);
    return static_cast<int32_t>(H().current_tabs_.size());
  }

  // Menus.
  static int32_t AddItem(int32_t menu, const char* text) {
    int32_t item = H().next_item_++;
    H().menu_items_[item] = {menu, text, true, false};
    return item;
  }
  static MenuItemRecord* Item(int32_t item) {
    auto it = H().menu_items_.find(item);
    if (it == H().menu_items_.end() || it->second.removed) {
      ADD_FAILURE() << "no menu item " << item;
      return nullptr;
    }
    return &it->second;
  }
  static void EnableItem(int32_t item, int32_t enabled) {
    if (auto* record = Item(item)) record->enabled = enabled != 0;
  }
  static void SetItemText(int32_t item, const char* text) {
    if (auto* record = Item(item)) record->text = text;
  }
  static void RemoveItem(int32_t item) {
    if (auto* record = Item(item)) record->removed = true;
  }

  // Windows.
  static void* FrontWindow() {
    if (!H().has_document_) return nullptr;
    return H().front_window_ ? H().front_window_ : &H();
  }
  static void SendMessage(void* window, int32_t message) {
    H().sent_messages_.push_back({window, message});
  }
  static int32_t MessageBox(const char* text, int32_t yes_no) {
    H().messages_.push_back({text, yes_no != 0});
    if (yes_no == 0) return 0;
    bool yes = false;
    if (!H().answers_.empty()) {
      yes = H().answers_.front();
      H().answers_.pop_front();
    }
    return yes ? XT_ANSWER_YES : XT_ANSWER_NO;
  }
  static int32_t AskText(const char* prompt, char* value, int32_t capacity) {
    H().prompts_.push_back(prompt);
    if (H().texts_.empty()) return 1;
    std::optional<std::string> text = std::move(H().texts_.front());
    H().texts_.pop_front();
    if (!text) return 0;
    CopyText(*text, value, capacity);
    return 1;
  }

  // Activation.
  static int32_t RegisterXtension(void* host, int32_t identifier, int32_t a, int32_t b,
                                  int32_t version, int32_t zero) {
    auto* fake = static_cast<FakeHost*>(host);
    fake->register_args_ = {identifier, a, b, version, zero};
    return fake->register_answer_;
  }
  static void SetValue(void* host, int32_t value) {
    static_cast<FakeHost*>(host)->further_value_ = value;
  }
  static XtErr InstallMain(void* host, XtCallbackProc proc, int32_t a, int32_t b, int32_t c) {
    auto* fake = static_cast<FakeHost*>(host);
    fake->main_callback_ = proc;
    fake->install_args_ = {a, b, c};
    return 0;
  }
  static XtErr InstallCallback(int32_t opcode, XtCallbackProc proc, int32_t a, int32_t b,
                               int32_t c) {
    EXPECT_EQ(a, XT_INSTALL_A);
    EXPECT_EQ(b, XT_INSTALL_B);
    EXPECT_EQ(c, XT_INSTALL_C);
    H().callbacks_[opcode] = proc;
    return 0;
  }
  static XtErr BindTable(uint32_t table_id, const XtFunctionList* wanted, void* table_out,
                         size_t table_size) {
    auto& refused = H().refused_tables_;
    if (std::find(refused.begin(), refused.end(), table_id) != refused.end())
      return XT_ERR_ACTIVATION;
    const TableShape* shape = nullptr;
    for (const TableShape& s : kShapes)
      if (s.id == table_id) shape = &s;
    if (shape == nullptr || wanted == nullptr || wanted->header != XT_FUNCTION_LIST_HEADER ||
        table_size != shape->size || wanted->count <= 0)
      return XT_ERR_ACTIVATION;
    for (int32_t i = 0; i < wanted->count; ++i)
      if (wanted->numbers[i] < 1 || wanted->numbers[i] > shape->functions) return XT_ERR_ACTIVATION;
    const HostTables& t = H().tables_;
    const void* source = nullptr;
    switch (table_id) {
      case XT_TABLE_MEMORY:
        source = &t.memory;
        break;
      case XT_TABLE_RECORDS:
        source = &t.records;
        break;
      case XT_TABLE_GEOMETRY:
        source = &t.geometry;
        break;
      case XT_TABLE_PICTURE:
        source = &t.picture;
        break;
      case XT_TABLE_ITEMS:
        source = &t.items;
        break;
      case XT_TABLE_TEXT:
        source = &t.text;
        break;
      case XT_TABLE_MENUS:
        source = &t.menus;
        break;
      case XT_TABLE_WINDOWS:
        source = &t.windows;
        break;
    }
    std::memcpy(table_out, source, table_size);
    H().bound_tables_.push_back(table_id);
    return 0;
  }
};

FakeHost::FakeHost() {
  EXPECT_EQ(self_, nullptr) << "only one FakeHost at a time";
  self_ = this;
  using T = FakeHostThunks;
  tables_.memory = {T::NewHandle, T::DisposeHandle, T::HandleSize, T::SetHandleSize, T::HandleData};
  tables_.records = {T::GetRecord, T::AttachRecord};
  tables_.geometry = {T::BoxBounds, T::ScaleRect, T::RectToPixels, T::FixedDivide,
                      T::FixedMultiply};
  tables_.picture = {T::RenderBox, T::ImportedFileName};
  tables_.items = {T::HasDocument, T::CurrentBox,     T::SetCurrentBox, T::BoxInfo,
                   T::IsGroup,     T::IsTextBox,      T::IsPictureBox,  T::GroupMemberCount,
                   T::GroupMember, T::FirstBoxOfPage, T::NextBox,       T::SelectBoxes,
                   T::SaveRedraw,  T::RestoreRedraw,  T::Ungroup};
  tables_.text = {T::BoxText,       T::ContinuesChain, T::GetSelection,  T::SetSelection,
                  T::StoryBytes,    T::RegisterFilter, T::FilterCount,   T::FilterInfo,
                  T::RunTextExport, T::Write,          T::ReplaceWriter, T::FontName,
                  T::ColorRgb,      T::TabStops};
  tables_.menus = {T::AddItem, T::EnableItem, T::SetItemText, T::RemoveItem};
  tables_.windows = {T::FrontWindow, T::MessageBox, T::AskText, T::SendMessage};
  tables_.bind_table = T::BindTable;
  tables_.install_callback = T::InstallCallback;
  writer_ = T::DefaultWriter;
  writer_context_ = this;
  xt::Host() = tables_;
}

FakeHost::~FakeHost() {
  xt::Host() = HostTables{};
  Handles().clear();
  self_ = nullptr;
}

int32_t FakeHost::Story::Length() const {
  int32_t n = 0;
  for (const Run& run : runs)
    n += static_cast<int32_t>(run.bytes.size());
  return n;
}

XtBox FakeHost::NewBox(int32_t kind, XtFixedRect bounds, int32_t page) {
  XtBox id = next_box_++;
  Box& box = boxes_[id];
  box.info.kind = kind;
  box.info.page = page;
  box.info.columns = 1;
  box.info.bounds = bounds;
  order_.push_back(id);
  return id;
}

const FakeHost::Box* FakeHost::Find(XtBox box) const {
  auto it = boxes_.find(box);
  return it == boxes_.end() ? nullptr : &it->second;
}

FakeHost::Box* FakeHost::Find(XtBox box) {
  auto it = boxes_.find(box);
  return it == boxes_.end() ? nullptr : &it->second;
}

XtBoxInfo& FakeHost::Info(XtBox box) {
  return boxes_.at(box).info;
}

XtBox FakeHost::AddTextBox(XtFixedRect bounds, int32_t page) {
  XtBox id = NewBox(XT_BOX_TEXT, bounds, page);
  boxes_[id].story = static_cast<int32_t>(stories_.size());
  stories_.emplace_back();
  return id;
}

XtBox FakeHost::AddChainedTextBox(XtBox previous, int32_t split, XtFixedRect bounds) {
  Box& before = boxes_.at(previous);
  XtBox id = NewBox(XT_BOX_TEXT, bounds, before.info.page);
  Box& box = boxes_[id];
  Box& first = boxes_.at(previous);
  box.story = first.story;
  box.start = split;
  box.end = first.end;
  first.end = split;
  return id;
}

XtBox FakeHost::AddPictureBox(XtFixedRect bounds, int32_t page, std::string imported_name) {
  XtBox id = NewBox(XT_BOX_PICTURE, bounds, page);
  boxes_[id].imported_name = std::move(imported_name);
  return id;
}

XtBox FakeHost::AddOtherBox(XtFixedRect bounds, int32_t page) {
  return NewBox(XT_BOX_OTHER, bounds, page);
}

XtBox FakeHost::AddGroup(const std::vector<XtBox>& members) {
  XtFixedRect bounds{};
  int32_t page = 0;
  if (!members.empty()) {
    const Box& first = boxes_.at(members.front());
    bounds = first.info.bounds;
    page = first.info.page;
  }
  for (XtBox member : members) {
    const XtFixedRect& r = boxes_.at(member).info.bounds;
    bounds = {std::min(bounds.top, r.top), std::min(bounds.left, r.left),
              std::max(bounds.bottom, r.bottom), std::max(bounds.right, r.right)};
  }
  XtBox id = NewBox(XT_BOX_GROUP, bounds, page);
  boxes_[id].members = members;
  for (XtBox member : members)
    boxes_.at(member).group = id;
  return id;
}

void FakeHost::AddRun(XtBox box, std::string_view text, const RunStyle& style) {
  const Box& found = boxes_.at(box);
  stories_.at(static_cast<size_t>(found.story)).runs.push_back({std::string(text), style});
}

XtTextRange FakeHost::RangeOf(const Box& box) const {
  const Story& story = stories_.at(static_cast<size_t>(box.story));
  int32_t length = story.Length();
  int32_t end = box.end < 0 ? length : std::min(box.end, length);
  return {box.story, std::min(box.start, end), end, length};
}

std::string FakeHost::StoryText(XtBox box) const {
  const Box* found = Find(box);
  if (found == nullptr || found->story < 0) return "";
  std::string text;
  for (const Run& run : stories_.at(static_cast<size_t>(found->story)).runs)
    text += run.bytes;
  return text;
}

XtErr FakeHost::RunTextExport(int32_t filter_id, bool selection_only) {
  const Box* box = Find(current_);
  if (box == nullptr || box->story < 0 || filter_id < 1 ||
      filter_id > static_cast<int32_t>(filters_.size()))
    return kNoSuchThing;
  if (!HasCallback(XT_OP_FILTER_BEGIN) || !HasCallback(XT_OP_FILTER_RUN) ||
      !HasCallback(XT_OP_FILTER_END))
    return kNoSuchThing;
  uint32_t file_type = filters_[static_cast<size_t>(filter_id - 1)].file_type;
  const Story& story = stories_.at(static_cast<size_t>(box->story));
  int32_t from = 0;
  int32_t to = story.Length();
  if (selection_only) {
    from = std::clamp(selection_.first, 0, to);
    to = std::clamp(selection_.second, from, to);
  }

  XtFilterBeginParams begin{file_type};
  if (XtErr err = Call(XT_OP_FILTER_BEGIN, &begin)) return err;
  int32_t offset = 0;
  for (const Run& run : story.runs) {
    int32_t run_start = offset;
    offset += static_cast<int32_t>(run.bytes.size());
    int32_t a = std::max(run_start, from);
    int32_t b = std::min(offset, to);
    // Pieces of the run that never span a paragraph end.
    while (a < b) {
      const std::string& bytes = run.bytes;
      size_t cr = bytes.find('\r', static_cast<size_t>(a - run_start));
      int32_t piece_end =
          cr == std::string::npos ? b : std::min(b, static_cast<int32_t>(cr) + run_start + 1);
      current_tabs_ = run.style.tabs;
      XtTextRun params{};
      params.file_type = file_type;
      params.font_id = run.style.font;
      params.style = run.style.style;
      params.size = Fix(run.style.size);
      params.color_index = run.style.color;
      params.mark = run.style.mark;
      params.left_indent = run.style.left_indent;
      params.drop_cap = run.style.drop_cap;
      params.tab_index = run.style.tab_index;
      params.bytes = reinterpret_cast<const uint8_t*>(bytes.data()) + (a - run_start);
      params.count = piece_end - a;
      if (XtErr err = Call(XT_OP_FILTER_RUN, &params)) return err;
      a = piece_end;
    }
  }
  current_tabs_.clear();
  XtFilterEndParams end{file_type};
  return Call(XT_OP_FILTER_END, &end);
}

std::optional<std::vector<uint8_t>> FakeHost::Record(XtBox box, uint32_t key) const {
  auto it = records_.find({box, key});
  if (it == records_.end()) return std::nullopt;
  return it->second;
}

void FakeHost::SetRecord(XtBox box, uint32_t key, std::vector<uint8_t> bytes) {
  records_[{box, key}] = std::move(bytes);
}

const MenuItemRecord* FakeHost::MenuItem(int32_t item) const {
  auto it = menu_items_.find(item);
  return it == menu_items_.end() ? nullptr : &it->second;
}

int32_t FakeHost::FindMenuItem(std::string_view text) const {
  for (const auto& [item, record] : menu_items_)
    if (!record.removed && record.text == text) return item;
  return 0;
}

XtErr FakeHost::Call(int32_t opcode, void* params) {
  auto it = callbacks_.find(opcode);
  if (it == callbacks_.end()) {
    ADD_FAILURE() << "no callback installed for opcode " << opcode;
    return kNoSuchThing;
  }
  return it->second(opcode, params);
}

XtActivateBlock FakeHost::ActivationBlock() {
  return {this, FakeHostThunks::RegisterXtension, FakeHostThunks::SetValue,
          FakeHostThunks::InstallMain};
}

XtCallbackTable FakeHost::CallbackTable() const {
  XtCallbackTable table{};
  table.count = XT_CALLBACK_TABLE_COUNT;
  table.kind = XT_CALLBACK_TABLE_KIND;
  table.version = XT_CALLBACK_TABLE_VERSION;
  table.entries[0] = reinterpret_cast<void*>(FakeHostThunks::BindTable);
  table.entries[1] = reinterpret_cast<void*>(FakeHostThunks::InstallCallback);
  return table;
}

}  // namespace xt::test
