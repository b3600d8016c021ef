#include "layouthost/host/layout_host.h"

#include <algorithm>
#include <cstring>
#include <iostream>

#include "layouthost/host/export_runs.h"
#include "layouthost/host/geometry.h"
#include "platform/cp1252.h"

namespace layouthost {

namespace {

LayoutHost* active_host = nullptr;

// A message as one terminal line: line breaks become spaces.
std::string OneLine(const char* text) {
  std::string line = platform::Cp1252ToUtf8(text ? text : "");
  std::string out;
  for (std::size_t i = 0; i < line.size(); ++i) {
    if (line[i] == '\r' || line[i] == '\n') {
      if (line[i] == '\r' && i + 1 < line.size() && line[i + 1] == '\n') ++i;
      out += ' ';
    } else {
      out += line[i];
    }
  }
  return out;
}

// The name a prompt asks about: the text inside its last pair of double quotes.
std::string QuotedName(const std::string& prompt) {
  const auto close = prompt.rfind('"');
  if (close == std::string::npos || close == 0) return "";
  const auto open = prompt.rfind('"', close - 1);
  if (open == std::string::npos) return "";
  return prompt.substr(open + 1, close - open - 1);
}

}  // namespace

LayoutHost::LayoutHost(std::optional<layout::Document> document, std::string folder)
    : document_(std::move(document)),
      folder_(std::move(folder)),
      writer_(OwnWriter),
      writer_context_(this),
      messages_(&std::cerr) {
  active_host = this;
}

LayoutHost::~LayoutHost() {
  if (active_host == this) active_host = nullptr;
}

LayoutHost* LayoutHost::Active() {
  return active_host;
}

layout::Box* LayoutHost::FindBox(XtBox box) {
  if (!document_) return nullptr;
  return document_->FindBox(box == 0 ? document_->current : box);
}

layout::Story* LayoutHost::StoryOf(const layout::Box& box) {
  if (!document_ || box.kind != layout::BoxKind::kText) return nullptr;
  return document_->FindStory(box.story);
}

void LayoutHost::ReplaceDocument(std::optional<layout::Document> document, std::string folder) {
  document_ = std::move(document);
  folder_ = std::move(folder);
}

XtErr LayoutHost::InstallCallback(int32_t opcode, XtCallbackProc proc) {
  if (!proc) return kBadArgument;
  callbacks_[opcode] = proc;
  return 0;
}

XtErr LayoutHost::Dispatch(int32_t opcode, void* params) {
  const auto it = callbacks_.find(opcode);
  if (it == callbacks_.end()) return kNotInstalled;
  return it->second(opcode, params);
}

void LayoutHost::ForgetPlugin() {
  callbacks_.clear();
  filters_.clear();
  writer_ = OwnWriter;
  writer_context_ = this;
}

int32_t LayoutHost::RegisterFilter(uint32_t kind, uint32_t file_type, const char* name,
                                   uint32_t flags) {
  XtFilterInfo info{};
  info.kind = kind;
  info.file_type = file_type;
  std::strncpy(info.name, name ? name : "", sizeof info.name - 1);
  info.flags = flags;
  info.id = static_cast<int32_t>(filters_.size()) + 1;
  filters_.push_back(info);
  return info.id;
}

XtErr LayoutHost::RunTextExport(int32_t filter_id, bool selection_only) {
  if (!document_) return kNoDocument;
  const auto filter =
      std::find_if(filters_.begin(), filters_.end(),
                   [filter_id](const XtFilterInfo& f) { return f.id == filter_id; });
  if (filter == filters_.end()) return kNoSuchFilter;
  const layout::Box* box = FindBox(0);
  if (!box || box->kind != layout::BoxKind::kText) return kNoSuchItem;
  for (int32_t opcode : {XT_OP_FILTER_BEGIN, XT_OP_FILTER_RUN, XT_OP_FILTER_END}) {
    if (!HasCallback(opcode)) return kNotInstalled;
  }

  static const layout::Story kEmptyStory;
  const layout::Story* story = StoryOf(*box);
  if (!story) story = &kEmptyStory;
  const int start = selection_only ? story->selection_start : 0;
  const int end = selection_only ? story->selection_end : story->Length();

  const uint32_t file_type = filter->file_type;
  XtFilterBeginParams begin{file_type};
  if (XtErr err = Dispatch(XT_OP_FILTER_BEGIN, &begin)) return err;
  XtErr result = 0;
  for (const ExportRun& piece : SplitExportRuns(*story, start, end)) {
    const layout::ParagraphStyle& paragraph = story->Paragraph(piece.paragraph);
    export_tabs_ = paragraph.tabs;
    XtTextRun run{};
    run.file_type = file_type;
    run.font_id = static_cast<int16_t>(piece.style.font);
    run.style = piece.style.style;
    run.size = ToFixed(piece.style.size);
    run.color_index = static_cast<int16_t>(piece.style.color);
    run.mark = piece.mark;
    run.left_indent = ToFixed(paragraph.left_indent);
    run.drop_cap = paragraph.drop_cap ? 1 : 0;
    run.tab_index = static_cast<int16_t>(std::min(piece.tab_index, 32767));
    run.bytes = reinterpret_cast<const uint8_t*>(piece.bytes.data());
    run.count = static_cast<int32_t>(piece.bytes.size());
    result = Dispatch(XT_OP_FILTER_RUN, &run);
    if (result) break;
  }
  export_tabs_.clear();
  XtFilterEndParams finish{file_type};
  const XtErr end_result = Dispatch(XT_OP_FILTER_END, &finish);
  return result ? result : end_result;
}

XtErr LayoutHost::Write(const char* bytes, int32_t count) {
  if (count < 0 || (count > 0 && !bytes)) return kBadArgument;
  if (!writer_) return kNoWriter;
  return writer_(writer_context_, bytes, count);
}

void LayoutHost::ReplaceWriter(XtWriterProc writer, void* context, XtWriterProc* old_writer,
                               void** old_context) {
  if (old_writer) *old_writer = writer_;
  if (old_context) *old_context = writer_context_;
  writer_ = writer;
  writer_context_ = context;
}

XtErr LayoutHost::OwnWriter(void* context, const char* bytes, int32_t count) {
  static_cast<LayoutHost*>(context)->own_output_.append(bytes, static_cast<std::size_t>(count));
  return 0;
}

int32_t LayoutHost::AddMenuItem(int32_t menu, const char* text) {
  MenuItem item;
  item.number = static_cast<int32_t>(menu_items_.size()) + 1;
  item.menu = menu;
  item.text = text ? text : "";
  menu_items_.push_back(std::move(item));
  return menu_items_.back().number;
}

MenuItem* LayoutHost::FindMenuItem(int32_t number) {
  if (number < 1 || number > static_cast<int32_t>(menu_items_.size())) return nullptr;
  MenuItem& item = menu_items_[number - 1];
  return item.removed ? nullptr : &item;
}

void* LayoutHost::FrontWindow() {
  if (!document_) return nullptr;
  return window_services_ ? window_services_->FrontWindow() : &*document_;
}

void LayoutHost::SendMessage(void* window, int32_t message) {
  if (window_services_ && window && message == XT_MESSAGE_REFRESH) window_services_->Refresh();
}

int32_t LayoutHost::MessageBox(const char* text, bool yes_no) {
  if (window_services_) {
    return window_services_->MessageBox(platform::Cp1252ToUtf8(text ? text : ""), yes_no);
  }
  std::string line = OneLine(text);
  if (!yes_no) {
    *messages_ << line << '\n';
    return 0;
  }
  *messages_ << line << (answers_.yes ? " -> Yes" : " -> No") << '\n';
  return answers_.yes ? XT_ANSWER_YES : XT_ANSWER_NO;
}

int32_t LayoutHost::AskText(const char* prompt, char* value, int32_t capacity) {
  const std::string text = prompt ? prompt : "";
  if (window_services_ && value && capacity > 0) {
    const auto answer =
        window_services_->AskText(platform::Cp1252ToUtf8(text), platform::Cp1252ToUtf8(value));
    if (!answer) return 0;
    const std::string bytes = platform::Utf8ToCp1252(*answer).value_or("");
    const std::size_t count = std::min(bytes.size(), static_cast<std::size_t>(capacity - 1));
    std::memcpy(value, bytes.data(), count);
    value[count] = '\0';
    return 1;
  }
  auto answer = answers_.texts.find(QuotedName(text));
  if (answer == answers_.texts.end()) answer = answers_.texts.find(text);
  if (answer == answers_.texts.end() || !value || capacity < 1) {
    *messages_ << OneLine(prompt) << " -> cancelled" << '\n';
    return 0;
  }
  answers_.asked.insert(answer->first);
  const std::size_t count = std::min(answer->second.size(), static_cast<std::size_t>(capacity - 1));
  std::memcpy(value, answer->second.data(), count);
  value[count] = '\0';
  return 1;
}

}  // namespace layouthost
