#include "xt/windows/window_hooks.h"

#include <QApplication>
#include <QPointer>
#include <memory>

#include "xt/export/export_settings.h"
#include "xt/windows/export_page.h"
#include "xt/windows/export_sheet.h"
#include "xt/windows/preferences_sheet.h"
#include "xt/windows/startup_window.h"
#include "xt/xtension/ui_hooks.h"

namespace xt::windows {
namespace {

QPointer<StartupWindow> startup_window;

// The plug-in's hold on the export sheet: closing it through the menu closes the window.
class ExportSheetWindow : public ModelessWindow {
 public:
  explicit ExportSheetWindow(ExportSheet* sheet) : sheet_(sheet) {}
  ~ExportSheetWindow() override {
    if (!sheet_) return;
    sheet_->close();
    // At once, not later: the plug-in's code may be unloaded before the next event.
    delete sheet_.data();
  }
  bool IsOpen() const override { return sheet_ && sheet_->isVisible(); }

 private:
  QPointer<ExportSheet> sheet_;
};

std::unique_ptr<ModelessWindow> OpenExportSheet(void* parent) {
  ExportSettings* settings = ActiveSettings();
  if (!settings) return nullptr;
  return std::make_unique<ExportSheetWindow>(
      new ExportSheet(*settings, static_cast<QWidget*>(parent)));
}

void OpenPreferences(const std::optional<std::string>& paths_browser) {
  ExportSettings* settings = ActiveSettings();
  if (!settings) return;
  PreferencesSheet sheet(*settings, FrontWindow(), paths_browser);
  sheet.exec();
}

void ShowStartupWindow() {
  startup_window = new StartupWindow;
  startup_window->show();
}

}  // namespace

bool InstallWindows() {
  if (!qobject_cast<QApplication*>(QCoreApplication::instance())) return false;
  UiHooks& hooks = Ui();
  hooks.show_startup_window = ShowStartupWindow;
  hooks.open_export_sheet = OpenExportSheet;
  hooks.open_preferences_sheet = [] { OpenPreferences(std::nullopt); };
  hooks.open_paths_sheet = [](const std::string& browser) { OpenPreferences(browser); };
  return true;
}

void RemoveWindows() {
  Ui() = UiHooks{};
  if (QCoreApplication::instance()) delete startup_window.data();
}

}  // namespace xt::windows
