#include "layouthost/window/window_main.h"

#include <QApplication>
#include <cstdlib>

#include "layouthost/window/main_window.h"

namespace layouthost {

bool HasDisplay() {
  return std::getenv("DISPLAY") || std::getenv("WAYLAND_DISPLAY");
}

int RunWindow(int argc, char** argv, const std::string& document, const std::string& plugin_path) {
  QApplication application(argc, argv);
  QApplication::setApplicationName(QStringLiteral("layouthost"));
  QApplication::setOrganizationName(QStringLiteral("Tarnby"));
  QApplication::setDesktopFileName(QStringLiteral("layouthost"));
  MainWindow window(plugin_path);
  window.show();
  if (!document.empty()) window.OpenDocument(QString::fromStdString(document));
  return application.exec();
}

}  // namespace layouthost
