#include "layouthost/app/batch_session.h"

#include <algorithm>
#include <filesystem>
#include <memory>
#include <utility>

#include "layouthost/document/layout_document_json.h"
#include "layouthost/host/box_renderer.h"
#include "layouthost/host/layout_host.h"
#include "layouthost/host/plugin_loader.h"
#include "platform/cp1252.h"
#include "platform/file_replacement.h"

namespace layouthost {

namespace {

constexpr int kExitFailed = 1;
constexpr int kBmpFileHeaderSize = 14;

struct ActionFailed {
  std::string message;
};

std::string ToCp1252(const std::string& utf8, const std::string& what) {
  auto bytes = platform::Utf8ToCp1252(utf8);
  if (!bytes) throw ActionFailed{what + ": not text that Windows-1252 can hold"};
  return *bytes;
}

// Menu texts match with or without their "&" mnemonic marks.
std::string WithoutMnemonics(std::string text) {
  std::erase(text, '&');
  return text;
}

constexpr int32_t kFooterNotUsed = 1;

// Each line of the plug-in's Windows-1252 text as one warning.
void PrintWarnings(std::ostream& messages, std::string_view lines) {
  while (!lines.empty()) {
    const std::size_t end = std::min(lines.find('\n'), lines.size());
    if (end > 0) {
      messages << "layouthost: warning: " << platform::Cp1252ToUtf8(lines.substr(0, end)) << '\n';
    }
    lines.remove_prefix(std::min(end + 1, lines.size()));
  }
}

void WriteFile(const std::string& path, const char* bytes, std::size_t count,
               const std::string& header = "") {
  const platform::Status status = platform::ReplaceFile(path, header + std::string(bytes, count));
  if (!status.ok()) throw ActionFailed{status.Detail()};
}

std::string BmpFileHeader(std::size_t packed_size) {
  const std::uint32_t size = static_cast<std::uint32_t>(kBmpFileHeaderSize + packed_size);
  const std::uint32_t offset = kBmpFileHeaderSize + 40;
  std::string header = "BM";
  for (std::uint32_t value : {size, 0u, offset}) {
    for (int i = 0; i < 4; ++i)
      header += static_cast<char>(value >> (8 * i));
  }
  return header;
}

class Session {
 public:
  Session(const CommandLine& line, layout::Document document, std::ostream& messages,
          std::ostream& results)
      : line_(line),
        host_(std::move(document), std::filesystem::absolute(line.document).parent_path().string()),
        messages_(messages),
        results_(results) {
    host_.set_message_stream(&messages);
    host_.answers().yes = line.yes;
    for (const auto& [name, content] : line.meta) {
      host_.answers().texts[ToCp1252(name, "--meta " + name)] = ToCp1252(content, "--meta " + name);
    }
  }

  // Runs every action; returns the worst exit status of the jobs.
  int Run() {
    int status = 0;
    for (const Action& action : line_.actions)
      status = std::max(status, Perform(action));
    WarnAboutUnaskedMeta();
    return status;
  }

 private:
  int Perform(const Action& action) {
    layout::Document& document = *host_.document();
    switch (action.kind) {
      case Action::kItem:
        if (action.number && !document.FindBox(action.number)) {
          throw ActionFailed{"--item: no box " + std::to_string(action.number)};
        }
        document.current = action.number;
        return 0;
      case Action::kField:
        SetField(action.name, ToCp1252(action.value, action.name));
        return 0;
      case Action::kJob:
        return RunJob(action);
      case Action::kMenu:
        RunMenu(action.name);
        return 0;
      case Action::kTextExport:
        ExportText(action.value);
        return 0;
      case Action::kRender:
        Render(action.number, action.value);
        return 0;
      case Action::kSave: {
        std::string error;
        const std::string path = action.value.empty() ? line_.document : action.value;
        if (!layout::WriteDocumentFile(document, path, &error)) throw ActionFailed{error};
        return 0;
      }
    }
    return 0;
  }

  void EnsurePlugin() {
    if (plugin_) return;
    std::string error;
    const std::string path =
        line_.plugin.empty() ? FindPlugin(ProgramFolder(), &error) : line_.plugin;
    if (path.empty()) throw ActionFailed{"cannot load the plug-in: " + error};
    plugin_ = Plugin::Load(host_, path, &error);
    if (!plugin_) throw ActionFailed{"cannot load the plug-in: " + error};
  }

  void SetField(const std::string& name, std::string value) {
    for (auto& field : fields_) {
      if (field.first == name) {
        field.second = std::move(value);
        return;
      }
    }
    fields_.emplace_back(name, std::move(value));
  }

  int RunJob(const Action& action) {
    EnsurePlugin();
    if (!host_.HasCallback(XT_OP_JOB)) throw ActionFailed{"the plug-in runs no jobs"};
    if (action.number != XT_JOB_PREVIEW && host_.document()->current == 0) {
      Warn("--" + action.name + " with no current item: the page gets no box (see --item)");
    }
    std::vector<XtJobField> fields;
    for (const auto& [name, value] : fields_)
      fields.push_back({name.c_str(), value.c_str()});
    XtJobParams params{};
    params.operation = action.number;
    params.field_count = static_cast<int32_t>(fields.size());
    params.fields = fields.data();
    params.result = -1;
    params.no_browser = line_.open_browser ? 0 : 1;
    if (host_.Dispatch(XT_OP_JOB, &params)) {
      messages_ << "layouthost: the " << action.name << " job failed in the plug-in\n";
      return kExitFailed;
    }
    if (action.number != XT_JOB_PREVIEW) exported_ = true;
    if (params.page_path) results_ << platform::Cp1252ToUtf8(params.page_path) << '\n';
    if (params.warnings) PrintWarnings(messages_, params.warnings);
    if (params.result == kFooterNotUsed) {
      Warn("the external footer file could not be used: the page has the inline footer");
    } else if (params.result != 0) {
      messages_ << "layouthost: the " << action.name << " job was refused or failed\n";
    }
    if (params.browser_failed) {
      messages_ << "layouthost: the browser could not show the page\n";
      return kExitFailed;
    }
    return params.result == 0 ? 0 : kExitFailed;
  }

  void Warn(const std::string& text) { messages_ << "layouthost: warning: " << text << '\n'; }

  // A --meta answer that no Export asked for: the settings declare no such unique tag.
  void WarnAboutUnaskedMeta() {
    if (!exported_) return;
    for (const auto& [name, content] : line_.meta) {
      if (!host_.answers().asked.count(ToCp1252(name, "--meta " + name))) {
        Warn("--meta " + name +
             " was not used: the settings declare no META tag of that name that asks for its "
             "content ([MetaTags] in MarlixXT40.INI)");
      }
    }
  }

  void RunMenu(const std::string& text) {
    EnsurePlugin();
    const std::string wanted = WithoutMnemonics(ToCp1252(text, "--menu"));
    if (host_.HasCallback(XT_OP_MENU_UPDATE)) host_.Dispatch(XT_OP_MENU_UPDATE, nullptr);
    for (const MenuItem& item : host_.menu_items()) {
      if (item.removed || WithoutMnemonics(item.text) != wanted) continue;
      if (!item.enabled) throw ActionFailed{"--menu: \"" + text + "\" is disabled"};
      XtMenuCommandParams params{item.number};
      // The plug-in has said why in its own message.
      if (host_.Dispatch(XT_OP_MENU_COMMAND, &params)) {
        throw ActionFailed{"--menu: \"" + text + "\" failed"};
      }
      return;
    }
    throw ActionFailed{"--menu: the plug-in has no item \"" + text + "\""};
  }

  void ExportText(const std::string& path) {
    EnsurePlugin();
    const auto& filters = host_.filters();
    const auto filter = std::find_if(filters.begin(), filters.end(), [](const XtFilterInfo& f) {
      return f.file_type == XT_FILE_TYPE_HTML;
    });
    if (filter == filters.end()) throw ActionFailed{"--text-export: no HTML filter registered"};
    const std::size_t before = host_.own_output().size();
    if (host_.RunTextExport(filter->id, false)) {
      throw ActionFailed{"--text-export: the current item is no text box"};
    }
    const std::string& output = host_.own_output();
    WriteFile(path, output.data() + before, output.size() - before);
  }

  void Render(int id, const std::string& path) {
    const layout::Box* box = host_.document()->FindBox(id);
    if (!box) throw ActionFailed{"--render: no box " + std::to_string(id)};
    const double scale = line_.render_scale;
    const int width = static_cast<int>((box->bounds.right - box->bounds.left) * scale + 0.5);
    const int height = static_cast<int>((box->bounds.bottom - box->bounds.top) * scale + 0.5);
    const auto bitmap = RenderBox(*host_.document(), host_.folder(), *box, scale, width, height);
    if (bitmap.empty()) throw ActionFailed{"--render: box " + std::to_string(id) + " is empty"};
    WriteFile(path, reinterpret_cast<const char*>(bitmap.data()), bitmap.size(),
              BmpFileHeader(bitmap.size()));
  }

  const CommandLine& line_;
  LayoutHost host_;
  std::ostream& messages_;
  std::ostream& results_;
  bool exported_ = false;           // an Export or Append ran, which asks for the unique META tags
  std::unique_ptr<Plugin> plugin_;  // declared after host_: unloaded before it goes
  std::vector<std::pair<std::string, std::string>> fields_;
};

}  // namespace

int RunBatch(const CommandLine& line, std::ostream& messages, std::ostream& results) {
  layout::LoadResult loaded = layout::ReadDocumentFile(line.document);
  if (!loaded.document) {
    messages << "layouthost: " << loaded.error << '\n';
    return kExitFailed;
  }
  try {
    Session session(line, std::move(*loaded.document), messages, results);
    return session.Run();
  } catch (const ActionFailed& failure) {
    messages << "layouthost: " << failure.message << '\n';
    return kExitFailed;
  }
}

}  // namespace layouthost
