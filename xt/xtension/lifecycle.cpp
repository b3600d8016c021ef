#include "xt/xtension/lifecycle.h"

#include <cstdio>
#include <memory>

#include "hostapi/host_tables.h"
#include "xt/export/export_job.h"
#include "xt/export/export_settings.h"
#include "xt/export/text_converter.h"
#include "xt/picture/jpeg_error_handler.h"
#include "xt/xtension/browser.h"
#include "xt/xtension/ui_hooks.h"

namespace xt {
namespace {

constexpr int32_t kHandledOpcodes[] = {
    XT_OP_UNLOAD,       XT_OP_MENU_BUILD, XT_OP_MENU_UPDATE, XT_OP_MENU_COMMAND,
    XT_OP_FILTER_BEGIN, XT_OP_FILTER_RUN, XT_OP_FILTER_END,  XT_OP_JOB,
};

// A callback called without the parameter block its opcode needs.
constexpr XtErr kMissingParams = 1;
// A menu command that could not do its work.
constexpr XtErr kCommandFailed = 2;
constexpr int kJobRefused = -1;

struct XtensionState {
  std::unique_ptr<ExportSettings> settings;
  std::string temporary_file;
  // Item numbers the host gave; 0 before the menus are built.
  int32_t export_item = 0;
  int32_t preferences_item = 0;
  int32_t indexer_item = 0;
  std::unique_ptr<ModelessWindow> export_sheet;
};

XtensionState& State() {
  static XtensionState state;
  return state;
}

void NotAvailable(const char* window) {
  std::fprintf(stderr, "MarlixXT40: the %s is not available in this build\n", window);
}

void BuildMenus(const XtMenuBuildParams& params) {
  XtensionState& state = State();
  const XtMenuTable& menus = Host().menus;
  state.preferences_item = menus.add_item(params.second_menu, kMenuPreferences);
  state.export_item = menus.add_item(params.first_menu, kMenuOpenExport);
  state.indexer_item = menus.add_item(params.first_menu, kMenuLaunchIndexer);
}

void UpdateMenus() {
  XtensionState& state = State();
  if (state.export_item == 0) return;
  const XtMenuTable& menus = Host().menus;
  menus.enable_item(state.export_item, Host().items.has_document() != 0 ? 1 : 0);
  menus.set_item_text(state.export_item, ExportSheetOpen() ? kMenuHideExport : kMenuOpenExport);
}

void ToggleExportSheet() {
  XtensionState& state = State();
  if (ExportSheetOpen()) {
    state.export_sheet.reset();
    return;
  }
  state.export_sheet.reset();
  if (Ui().open_export_sheet) {
    state.export_sheet = Ui().open_export_sheet(Host().windows.front_window());
  } else {
    NotAvailable("export palette");
  }
}

// Nonzero when the command could not do its work (the host may tell its caller).
XtErr MenuCommand(const XtMenuCommandParams& params) {
  XtensionState& state = State();
  if (params.item == 0) return 0;
  if (params.item == state.export_item) {
    ToggleExportSheet();
  } else if (params.item == state.preferences_item) {
    if (Ui().open_preferences_sheet) {
      Ui().open_preferences_sheet();
    } else {
      NotAvailable("preferences sheet");
    }
  } else if (params.item == state.indexer_item && state.settings) {
    if (!LaunchIndexer(*state.settings)) return kCommandFailed;
  }
  return 0;
}

void Unload() {
  XtensionState& state = State();
  if (state.export_item != 0) Host().menus.remove_item(state.export_item);
  state.export_item = 0;
  state.export_sheet.reset();
  // Whether or not a file of that name was left behind.
  std::remove(state.temporary_file.c_str());
}

int RunJobFields(XtJobParams& params) {
  ExportSettings* settings = State().settings.get();
  if (settings == nullptr || params.field_count < 0 ||
      (params.field_count > 0 && params.fields == nullptr))
    return kJobRefused;
  if (params.operation != XT_JOB_EXPORT && params.operation != XT_JOB_APPEND &&
      params.operation != XT_JOB_PREVIEW)
    return kJobRefused;
  for (int32_t i = 0; i < params.field_count; ++i) {
    const XtJobField& field = params.fields[i];
    if (field.name == nullptr || field.value == nullptr ||
        !settings->SetJobField(field.name, field.value))
      return kJobRefused;
  }
  settings->browser_allowed = params.no_browser == 0;
  return RunExportJob(*settings, params.operation,
                      [](ExportSettings& target, const std::string& page) {
                        return ShowInBrowser(target, page, true);
                      });
}

// Runs the job and tells the host what became of it.
void RunJob(XtJobParams& params) {
  params.page_path = nullptr;
  params.warnings = nullptr;
  params.browser_failed = 0;
  ExportSettings* settings = State().settings.get();
  if (settings != nullptr) {
    // A refused job reports nothing of the job before it.
    settings->job_warnings.clear();
    settings->browser_failed = false;
  }
  params.result = RunJobFields(params);
  if (settings == nullptr) return;
  if (params.result != kJobRefused && !settings->page_path.empty()) {
    params.page_path = settings->page_path.c_str();
  }
  if (!settings->job_warnings.empty()) params.warnings = settings->job_warnings.c_str();
  params.browser_failed = settings->browser_failed ? 1 : 0;
}

}  // namespace

void LoadXtension(const std::string& profile_path) {
  XtensionState& state = State();
  state.settings = std::make_unique<ExportSettings>(profile_path);
  SetActiveSettings(state.settings.get());
}

void ReleaseXtension() {
  XtensionState& state = State();
  state.export_sheet.reset();
  // The META tags edited while the plug-in ran live only in memory until now.
  if (state.settings) state.settings->SaveMetaTags();
  SetActiveSettings(nullptr);
  SetJpegMessageSink(nullptr);
  state = XtensionState{};
}

XtErr StartXtension() {
  Host().text.register_filter(XT_FILTER_KIND_TEXT, XT_FILE_TYPE_HTML, kFilterName, XT_FILTER_FLAGS);
  for (int32_t opcode : kHandledOpcodes) {
    if (XtErr err = Host().install_callback(opcode, XtensionCallback, XT_INSTALL_A, XT_INSTALL_B,
                                            XT_INSTALL_C))
      return err;
  }
  State().temporary_file = kTemporaryFileName;
  SetJpegMessageSink([](const char* text) {
    if (Host().windows.message_box != nullptr) {
      Host().windows.message_box(text, 0);
    } else {
      std::fprintf(stderr, "%s: %s\n", kJpegErrorTitle, text);
    }
  });
  if (Ui().show_startup_window) Ui().show_startup_window();
  return 0;
}

XtErr XtensionCallback(int32_t opcode, void* params) {
  switch (opcode) {
    case XT_OP_UNLOAD:
      Unload();
      return 0;
    case XT_OP_MENU_UPDATE:
      UpdateMenus();
      return 0;
    default:
      break;
  }
  if (params == nullptr) return kMissingParams;
  switch (opcode) {
    case XT_OP_MENU_BUILD:
      BuildMenus(*static_cast<XtMenuBuildParams*>(params));
      return 0;
    case XT_OP_MENU_COMMAND:
      return MenuCommand(*static_cast<XtMenuCommandParams*>(params));
    case XT_OP_FILTER_BEGIN:
      return FilterBegin(*static_cast<XtFilterBeginParams*>(params));
    case XT_OP_FILTER_RUN:
      return FilterRun(*static_cast<XtTextRun*>(params));
    case XT_OP_FILTER_END:
      return FilterEnd(*static_cast<XtFilterEndParams*>(params));
    case XT_OP_JOB:
      RunJob(*static_cast<XtJobParams*>(params));
      return 0;
    default:
      return 0;
  }
}

bool ExportSheetOpen() {
  const XtensionState& state = State();
  return state.export_sheet && state.export_sheet->IsOpen();
}

}  // namespace xt
