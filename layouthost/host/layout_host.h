// The layout program's side of the plug-in contract: one loaded document and everything the
// function tables serve from it (handles, filters, the output writer, menus, answers to
// questions), plus the callbacks the plug-in installed. The C tables carry no context, so the
// one live LayoutHost is reachable through Active(); only one may exist at a time.
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <ostream>
#include <set>
#include <string>
#include <vector>

#include "hostapi/xt_host_api.h"
#include "layouthost/document/layout_document.h"
#include "layouthost/host/handles.h"

namespace layouthost {

// Host error codes returned through the tables.
enum HostError : XtErr {
  kNoDocument = 0x48000001,
  kNoSuchItem = 0x48000002,
  kBadArgument = 0x48000003,
  kNoSuchFilter = 0x48000004,
  kNotInstalled = 0x48000005,
  kNoWriter = 0x48000006,
};

struct MenuItem {
  int32_t number = 0;
  int32_t menu = 0;
  std::string text;  // Windows-1252
  bool enabled = true;
  bool removed = false;
};

// How the host answers the plug-in's questions in batch mode.
struct Answers {
  bool yes = false;                          // questions are answered No unless this is set
  std::map<std::string, std::string> texts;  // ask_text: a key found in the prompt -> the answer
  std::set<std::string> asked;               // the keys of `texts` the plug-in asked for
};

// What a document window does for the plug-in. Without one, messages go to the message stream
// and questions take the batch answers.
class WindowServices {
 public:
  virtual ~WindowServices() = default;
  virtual void* FrontWindow() = 0;
  virtual int32_t MessageBox(const std::string& text, bool yes_no) = 0;
  // The answer, or nothing when cancelled; `proposal` is the text offered.
  virtual std::optional<std::string> AskText(const std::string& prompt,
                                             const std::string& proposal) = 0;
  // XT_MESSAGE_REFRESH: the boxes or their records changed.
  virtual void Refresh() = 0;
};

// The menus offered to the plug-in's menu build.
constexpr int32_t kFirstMenu = 1;
constexpr int32_t kSecondMenu = 2;

class LayoutHost {
 public:
  // `folder` is where the document's relative picture paths start.
  LayoutHost(std::optional<layout::Document> document, std::string folder);
  ~LayoutHost();
  LayoutHost(const LayoutHost&) = delete;
  LayoutHost& operator=(const LayoutHost&) = delete;

  static LayoutHost* Active();

  bool has_document() const { return document_.has_value(); }
  // Another document (or none) takes the place of the current one.
  void ReplaceDocument(std::optional<layout::Document> document, std::string folder);
  layout::Document* document() { return document_ ? &*document_ : nullptr; }
  const layout::Document* document() const { return document_ ? &*document_ : nullptr; }
  const std::string& folder() const { return folder_; }
  HandleTable& handles() { return handles_; }

  // Box lookup; 0 stands for the current box.
  layout::Box* FindBox(XtBox box);
  layout::Story* StoryOf(const layout::Box& box);

  // ---- Callbacks.
  XtErr InstallCallback(int32_t opcode, XtCallbackProc proc);
  bool HasCallback(int32_t opcode) const { return callbacks_.count(opcode) != 0; }
  // Calls the callback installed for `opcode`; kNotInstalled when there is none.
  XtErr Dispatch(int32_t opcode, void* params);
  // Drops the callbacks, filters and writer of a plug-in that is being unloaded.
  void ForgetPlugin();

  // ---- Text export.
  int32_t RegisterFilter(uint32_t kind, uint32_t file_type, const char* name, uint32_t flags);
  const std::vector<XtFilterInfo>& filters() const { return filters_; }
  XtErr RunTextExport(int32_t filter_id, bool selection_only);
  XtErr Write(const char* bytes, int32_t count);
  void ReplaceWriter(XtWriterProc writer, void* context, XtWriterProc* old_writer,
                     void** old_context);
  // What the host's own writer received (a text export not redirected by the filter).
  const std::string& own_output() const { return own_output_; }
  const std::vector<layout::TabStop>& export_tabs() const { return export_tabs_; }

  // ---- Menus.
  int32_t AddMenuItem(int32_t menu, const char* text);
  MenuItem* FindMenuItem(int32_t number);
  const std::vector<MenuItem>& menu_items() const { return menu_items_; }

  // ---- Windows.
  void set_window_services(WindowServices* services) { window_services_ = services; }
  // The window's handle, or the document itself when there is no window.
  void* FrontWindow();
  void SendMessage(void* window, int32_t message);
  Answers& answers() { return answers_; }
  void set_message_stream(std::ostream* stream) { messages_ = stream; }
  int32_t MessageBox(const char* text, bool yes_no);
  int32_t AskText(const char* prompt, char* value, int32_t capacity);

  // ---- Items.
  int32_t SaveRedraw() { return redraw_++; }
  void RestoreRedraw(int32_t state) { redraw_ = state; }

 private:
  static XtErr OwnWriter(void* context, const char* bytes, int32_t count);

  std::optional<layout::Document> document_;
  std::string folder_;
  HandleTable handles_;
  std::map<int32_t, XtCallbackProc> callbacks_;
  std::vector<XtFilterInfo> filters_;
  XtWriterProc writer_;
  void* writer_context_;
  std::string own_output_;
  std::vector<layout::TabStop> export_tabs_;
  std::vector<MenuItem> menu_items_;
  Answers answers_;
  std::ostream* messages_;
  WindowServices* window_services_ = nullptr;
  int32_t redraw_ = 0;
};

}  // namespace layouthost
