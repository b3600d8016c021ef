// The windows of the plug-in (export sheet, preferences sheet) are built apart from its logic.
// The logic reaches them through these hooks; a hook that is not set means the window is not
// available in this build, and the caller says so on stderr.
#pragma once

#include <functional>
#include <memory>
#include <string>

namespace xt {

// A modeless window the plug-in keeps open until it is closed through the menu again.
class ModelessWindow {
 public:
  virtual ~ModelessWindow() = default;
};

struct UiHooks {
  // Creates the modeless export sheet "Marlix Export" over the host's front window.
  std::function<std::unique_ptr<ModelessWindow>(void* parent)> open_export_sheet;
  // Shows the preferences sheet modally; its OK applies the values.
  std::function<void()> open_preferences_sheet;
  // Shows the preferences sheet with only its Paths page, the browser field preset.
  std::function<void(const std::string& browser)> open_paths_sheet;
};

UiHooks& Ui();

}  // namespace xt
