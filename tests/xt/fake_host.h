// An in-memory layout program for in-process tests of the plug-in code.
//
// Constructing a FakeHost fills xt::Host() with working functions over a small document that the
// test scripts: pages of text, picture and group boxes, stories of styled runs, per-box records,
// fonts, colours, menus and message boxes. Destroying it empties xt::Host() again. The C tables
// carry no context pointer, so only one FakeHost may exist at a time.
//
//   FakeHost host;
//   XtBox box = host.AddTextBox();
//   host.AddRun(box, "Hello\r", {.font = 2, .style = XT_STYLE_BOLD, .size = 24});
//   host.SetCurrentBox(box);
//   host.RunTextExport(filter_id, false);   // or through xt::Host().text.run_text_export
//   EXPECT_EQ(host.Output(), "...");
#pragma once

#include <cstdint>
#include <deque>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "hostapi/host_tables.h"
#include "hostapi/xt_host_api.h"

namespace xt::test {

// 16.16 fixed point from points.
constexpr XtFixed Fix(double points) {
  return static_cast<XtFixed>(points * 65536.0);
}

constexpr XtFixedRect FixRect(double top, double left, double bottom, double right) {
  return {Fix(top), Fix(left), Fix(bottom), Fix(right)};
}

// Attributes of a run; the paragraph attributes (indent, drop cap, tab stops) are those of the
// paragraph the run belongs to.
struct RunStyle {
  int16_t font = 0;
  uint16_t style = 0;
  double size = 12;
  int16_t color = 0;
  uint32_t mark = 0;
  XtFixed left_indent = 0;
  int16_t drop_cap = 0;
  int16_t tab_index = 0;
  std::vector<XtTabStop> tabs{};
};

struct MessageRecord {
  std::string text;
  bool yes_no = false;
};

struct MenuItemRecord {
  int32_t menu = 0;
  std::string text;
  bool enabled = true;
  bool removed = false;
};

class FakeHost {
 public:
  FakeHost();
  ~FakeHost();
  FakeHost(const FakeHost&) = delete;
  FakeHost& operator=(const FakeHost&) = delete;

  // ---- Document: boxes are numbered from 1 in the order they are added.
  void SetHasDocument(bool has) { has_document_ = has; }
  XtBox AddTextBox(XtFixedRect bounds = FixRect(0, 0, 100, 200), int32_t page = 0);
  // A text box showing the story of `previous` from character `split` on; `previous` then ends
  // there.
  XtBox AddChainedTextBox(XtBox previous, int32_t split,
                          XtFixedRect bounds = FixRect(0, 0, 100, 200));
  XtBox AddPictureBox(XtFixedRect bounds = FixRect(0, 0, 100, 200), int32_t page = 0,
                      std::string imported_name = "");
  XtBox AddOtherBox(XtFixedRect bounds = FixRect(0, 0, 100, 200), int32_t page = 0);
  // Makes the boxes members of a new group, in the given order, on the page of the first.
  XtBox AddGroup(const std::vector<XtBox>& members);
  XtBoxInfo& Info(XtBox box);  // to change background, columns, gutter...
  void SetCurrentBox(XtBox box) { current_ = box; }
  XtBox CurrentBox() const { return current_; }
  const std::vector<XtBox>& SelectedBoxes() const { return selected_; }
  bool Exists(XtBox box) const { return boxes_.count(box) != 0; }

  // ---- Text.
  void AddRun(XtBox box, std::string_view text, const RunStyle& style = {});
  std::string StoryText(XtBox box) const;
  void SetSelection(int32_t start, int32_t end) { selection_ = {start, end}; }
  void SetFont(int16_t id, std::string name) { fonts_[id] = std::move(name); }
  void SetColor(int16_t index, XtRgb rgb) { colors_[index] = rgb; }
  // Runs the current box's text export through the filter callbacks (as run_text_export does).
  XtErr RunTextExport(int32_t filter_id, bool selection_only);
  // What reached the default writer through the text table's write.
  const std::string& Output() const { return output_; }
  void ClearOutput() { output_.clear(); }
  const std::vector<XtFilterInfo>& Filters() const { return filters_; }

  // ---- Records: a copy of the stored bytes, or nothing.
  std::optional<std::vector<uint8_t>> Record(XtBox box, uint32_t key) const;
  void SetRecord(XtBox box, uint32_t key, std::vector<uint8_t> bytes);

  // ---- Picture rendering: every pixel of a rendered box gets this colour.
  void SetRenderColor(XtBox box, XtRgb rgb) { render_colors_[box] = rgb; }
  void SetRenderFails(bool fails) { render_fails_ = fails; }

  // ---- Menus.
  const MenuItemRecord* MenuItem(int32_t item) const;
  int32_t FindMenuItem(std::string_view text) const;  // 0 when no live item has the text
  const std::map<int32_t, MenuItemRecord>& MenuItems() const { return menu_items_; }

  // ---- Windows: message boxes are recorded; questions take the queued answers (default No),
  // ask_text the queued texts (nullopt = cancelled; with none queued the proposal is accepted).
  const std::vector<MessageRecord>& Messages() const { return messages_; }
  void ClearMessages() { messages_.clear(); }
  void QueueAnswer(bool yes) { answers_.push_back(yes); }
  void QueueText(std::optional<std::string> text) { texts_.push_back(std::move(text)); }
  const std::vector<std::string>& AskedPrompts() const { return prompts_; }
  // The front window handed out (by default the host itself), and the messages sent to windows.
  void SetFrontWindow(void* window) { front_window_ = window; }
  const std::vector<std::pair<void*, int32_t>>& SentMessages() const { return sent_messages_; }

  // ---- Callbacks the plug-in installed (through the table or InstallCallback).
  void InstallCallback(int32_t opcode, XtCallbackProc proc) { callbacks_[opcode] = proc; }
  bool HasCallback(int32_t opcode) const { return callbacks_.count(opcode) != 0; }
  XtErr Call(int32_t opcode, void* params);

  // ---- Activation: a block whose calls record what they got, and the callback table the
  // main callback receives on its first call.
  XtActivateBlock ActivationBlock();
  void SetRegisterAnswer(int32_t answer) { register_answer_ = answer; }
  void RefuseTable(uint32_t table_id) { refused_tables_.push_back(table_id); }
  XtCallbackTable CallbackTable() const;
  // Arguments of the last register_xtension call, set_value and install_main_callback.
  std::vector<int32_t> RegisterArgs() const { return register_args_; }
  int32_t FurtherValue() const { return further_value_; }
  std::vector<int32_t> InstallArgs() const { return install_args_; }
  XtCallbackProc MainCallback() const { return main_callback_; }
  const std::vector<uint32_t>& BoundTables() const { return bound_tables_; }

  // Handles obtained from the memory table and not yet disposed.
  int32_t LiveHandles() const { return live_handles_; }

 private:
  struct Run {
    std::string bytes;
    RunStyle style;
  };
  struct Story {
    std::vector<Run> runs;
    int32_t Length() const;
  };
  struct Box {
    XtBoxInfo info{};
    int32_t story = -1;  // text boxes
    int32_t start = 0;
    int32_t end = -1;  // -1: to the story's end
    XtBox group = 0;   // the group the box is a member of
    std::vector<XtBox> members;
    std::string imported_name;
  };

  XtBox NewBox(int32_t kind, XtFixedRect bounds, int32_t page);
  const Box* Find(XtBox box) const;
  Box* Find(XtBox box);
  XtBox Resolve(XtBox box) const { return box == 0 ? current_ : box; }
  XtTextRange RangeOf(const Box& box) const;

  // The C functions of the tables reach the one live host through this.
  static FakeHost* self_;
  friend struct FakeHostThunks;

  HostTables tables_;
  bool has_document_ = true;
  XtBox next_box_ = 1;
  std::map<XtBox, Box> boxes_;
  std::vector<XtBox> order_;  // creation order
  std::vector<Story> stories_;
  XtBox current_ = 0;
  std::vector<XtBox> selected_;
  std::pair<int32_t, int32_t> selection_{0, 0};
  std::map<int16_t, std::string> fonts_;
  std::map<int16_t, XtRgb> colors_;
  std::vector<XtFilterInfo> filters_;
  std::vector<XtTabStop> current_tabs_;
  std::string output_;
  XtWriterProc writer_ = nullptr;
  void* writer_context_ = nullptr;
  std::map<std::pair<XtBox, uint32_t>, std::vector<uint8_t>> records_;
  std::map<XtBox, XtRgb> render_colors_;
  bool render_fails_ = false;
  int32_t next_item_ = 1;
  std::map<int32_t, MenuItemRecord> menu_items_;
  std::vector<MessageRecord> messages_;
  void* front_window_ = nullptr;
  std::vector<std::pair<void*, int32_t>> sent_messages_;
  std::deque<bool> answers_;
  std::deque<std::optional<std::string>> texts_;
  std::vector<std::string> prompts_;
  std::map<int32_t, XtCallbackProc> callbacks_;
  int32_t register_answer_ = 1;
  std::vector<uint32_t> refused_tables_;
  std::vector<int32_t> register_args_;
  int32_t further_value_ = 0;
  std::vector<int32_t> install_args_;
  XtCallbackProc main_callback_ = nullptr;
  std::vector<uint32_t> bound_tables_;
  int32_t live_handles_ = 0;
  int32_t redraw_state_ = 1;
};

}  // namespace xt::test
