// The windows of the plug-in (export sheet, preferences sheet) are built apart from its logic.
// The logic reaches them through these hooks; a hook that is not set means the window is not
// available in this build, and the caller says so on stderr.
#pragma once

#include <functional>
#include <memory>
#include <string>

namespace xt {

// A modeless window the plug-in keeps until it is closed through the menu again; destroying the
// object closes the window. The user may close the window first.
class ModelessWindow {
 public:
  virtual ~ModelessWindow() = default;
  virtual bool IsOpen() const = 0;
};

struct UiHooks {
  // Shows the start-up window, which closes itself.
  std::function<void()> show_startup_window;
  // Creates the modeless export sheet "Marlix Export" over the host's front window.
  std::function<std::unique_ptr<ModelessWindow>(void* parent)> open_export_sheet;
  // Shows the preferences sheet modally; its OK applies the values.
  std::function<void()> open_preferences_sheet;
  // Shows the preferences sheet with only its Paths page, the browser field preset.
  std::function<void(const std::string& browser)> open_paths_sheet;
};

UiHooks& Ui();

}  // namespace xt
