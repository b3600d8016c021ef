// Loaded into a Qt Widgets program, the plug-in brings its windows; loaded into a batch run, it
// brings none. Linked into the plug-in only when the Qt parts are built.
#include "xt/windows/window_hooks.h"

namespace {

struct WindowsLifetime {
  WindowsLifetime() { xt::windows::InstallWindows(); }
  ~WindowsLifetime() { xt::windows::RemoveWindows(); }
  WindowsLifetime(const WindowsLifetime&) = delete;
  WindowsLifetime& operator=(const WindowsLifetime&) = delete;
};

const WindowsLifetime windows_lifetime;

}  // namespace
