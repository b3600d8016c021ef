// A tiny plug-in for layouthost's tests: it activates like the real one and reports what the host
// hands it through the host's message box, so a test can read the conversation from the
// messages. Its job result is the number in the job field "Issue".
#include <cstdlib>
#include <cstring>
#include <string>

#include "hostapi/xt_host_api.h"

namespace {

XtMemoryTable memory;
XtItemTable items;
XtTextTable text;
XtMenuTable menus;
XtWindowTable windows;
XtInstallCallbackProc install = nullptr;
int32_t filter_id = 0;
int32_t menu_item = 0;

void Say(const std::string& line) {
  windows.message_box(line.c_str(), 0);
}

template <typename Table>
XtErr Bind(XtBindTableProc bind, uint32_t id, Table& table, int32_t count) {
  int32_t numbers[32];
  for (int32_t i = 0; i < count; ++i)
    numbers[i] = i + 1;
  XtFunctionList list{XT_FUNCTION_LIST_HEADER, count, numbers};
  return bind(id, &list, &table, sizeof table);
}

XtErr Callback(int32_t opcode, void* params) {
  switch (opcode) {
    case XT_OP_MENU_BUILD:
      menu_item = menus.add_item(static_cast<XtMenuBuildParams*>(params)->first_menu, "Fake &Item");
      return 0;
    case XT_OP_MENU_UPDATE:
      menus.enable_item(menu_item, items.has_document());
      return 0;
    case XT_OP_MENU_COMMAND:
      Say("menu " + std::to_string(static_cast<XtMenuCommandParams*>(params)->item));
      return 0;
    case XT_OP_FILTER_BEGIN:
      return text.write("<", 1);
    case XT_OP_FILTER_RUN: {
      const auto* run = static_cast<XtTextRun*>(params);
      XtTabStop stops[8];
      const std::string piece =
          "[" + std::to_string(run->mark) + ":" + std::to_string(text.tab_stops(stops, 8)) + ":" +
          std::string(reinterpret_cast<const char*>(run->bytes), static_cast<size_t>(run->count)) +
          "]";
      return text.write(piece.data(), static_cast<int32_t>(piece.size()));
    }
    case XT_OP_FILTER_END:
      return text.write(">", 1);
    case XT_OP_JOB: {
      auto* job = static_cast<XtJobParams*>(params);
      std::string issue = "0";
      std::string headline;
      // What the job reports back lives until the next call, as the interface asks.
      static std::string page;
      page.clear();
      for (int32_t i = 0; i < job->field_count; ++i) {
        Say(std::string("field ") + job->fields[i].name + "=" + job->fields[i].value);
        if (std::strcmp(job->fields[i].name, "Issue") == 0) issue = job->fields[i].value;
        if (std::strcmp(job->fields[i].name, "Headline") == 0) headline = job->fields[i].value;
        if (std::strcmp(job->fields[i].name, "FileName") == 0) {
          page = std::string(job->fields[i].value) + ".htm";
        }
      }
      Say(job->no_browser ? "browser closed" : "browser allowed");
      job->page_path = page.empty() ? nullptr : page.c_str();
      job->warnings = headline == "warn" ? "missing \xD6.gif\nsecond\n" : nullptr;
      job->browser_failed = headline == "browser-fails" ? 1 : 0;
      Say("job " + std::to_string(job->operation) + " on box " +
          std::to_string(items.current_box()));
      Say(windows.message_box("Override it?", 1) == XT_ANSWER_YES ? "answer Yes" : "answer No");
      char value[64] = "proposal";
      const int32_t given =
          windows.ask_text("Please enter the META tag content for\n\"Author\"", value, 64);
      Say(given ? std::string("author ") + value : "author cancelled");
      XtHandle handle = memory.new_handle(600);
      Say(handle ? "handle " + std::to_string(memory.handle_size(handle)) : "no handle");
      memory.dispose_handle(handle);
      job->result = std::atoi(issue.c_str());
      return 0;
    }
    case XT_OP_UNLOAD:
      Say("unload");
      return 0;
  }
  return 0;
}

XtErr Main(int32_t opcode, void* params) {
  if (opcode != XT_OP_START) return 0;
  const auto* table = static_cast<XtCallbackTable*>(params);
  if (table->count != XT_CALLBACK_TABLE_COUNT || table->kind != XT_CALLBACK_TABLE_KIND ||
      table->version != XT_CALLBACK_TABLE_VERSION) {
    return XT_ERR_CALLBACK_TABLE;
  }
  auto bind = reinterpret_cast<XtBindTableProc>(table->entries[0]);
  install = reinterpret_cast<XtInstallCallbackProc>(table->entries[1]);
  if (Bind(bind, XT_TABLE_MEMORY, memory, 5) || Bind(bind, XT_TABLE_ITEMS, items, 15) ||
      Bind(bind, XT_TABLE_TEXT, text, 14) || Bind(bind, XT_TABLE_MENUS, menus, 4) ||
      Bind(bind, XT_TABLE_WINDOWS, windows, 3)) {
    return XT_ERR_ACTIVATION;
  }
  filter_id = text.register_filter(XT_FILTER_KIND_TEXT, XT_FILE_TYPE_HTML, "Fake", XT_FILTER_FLAGS);
  for (int32_t op : {XT_OP_UNLOAD, XT_OP_MENU_BUILD, XT_OP_MENU_UPDATE, XT_OP_MENU_COMMAND,
                     XT_OP_FILTER_BEGIN, XT_OP_FILTER_RUN, XT_OP_FILTER_END, XT_OP_JOB}) {
    if (XtErr err = install(op, Callback, XT_INSTALL_A, XT_INSTALL_B, XT_INSTALL_C)) return err;
  }
  Say("started");
  return 0;
}

}  // namespace

extern "C" __attribute__((visibility("default"))) XtErr xtactivate_cb(XtActivateBlock* block) {
  // FAKE_XT_VERSION lets a test offer a wrong version, which the host must refuse.
  const char* version = std::getenv("FAKE_XT_VERSION");
  const int32_t offered =
      version ? static_cast<int32_t>(std::strtol(version, nullptr, 0)) : XT_VERSION;
  if (!block->register_xtension(block->host, XT_IDENTIFIER, XT_REGISTER_A, XT_REGISTER_B, offered,
                                0)) {
    return XT_ERR_ACTIVATION;
  }
  block->set_value(block->host, XT_FURTHER_VALUE);
  return block->install_main_callback(block->host, Main, XT_INSTALL_A, XT_INSTALL_B, XT_INSTALL_C);
}
