#include "indexer/gui/desktop_program.h"

#include <QApplication>
#include <QFileInfo>
#include <QIcon>
#include <QTimer>
#include <cstdio>
#include <cstdlib>

#include "indexer/gui/main_window.h"
#include "indexer/gui/project_document.h"
#include "indexer/gui/qt_text.h"
#include "indexer/gui/splash_dialog.h"
#include "platform/config_folder.h"

namespace indexer::gui {
namespace {

bool EnvironmentNames(const char* name) {
  const char* value = std::getenv(name);
  return value && *value;
}

}  // namespace

bool DesktopAvailable() {
  return EnvironmentNames("DISPLAY") || EnvironmentNames("WAYLAND_DISPLAY") ||
         EnvironmentNames("QT_QPA_PLATFORM");
}

int RunDesktop(int argc, char** argv) {
  QApplication application(argc, argv);
  QApplication::setApplicationName(QStringLiteral("Marlix Index"));
  QApplication::setApplicationVersion(QStringLiteral(MARLIX_VERSION));
  QApplication::setDesktopFileName(QStringLiteral("marlix-indexer"));
  QApplication::setWindowIcon(QIcon(QStringLiteral(":/indexer/marlix-indexer.svg")));

  QString file;
  if (argc > 1) {
    const QFileInfo info(QString::fromLocal8Bit(argv[1]));
    if (!info.isFile()) {
      std::fprintf(stderr, "indexer: cannot open \"%s\"\n", argv[1]);
      return EXIT_FAILURE;
    }
    file = info.absoluteFilePath();
  }

  ProjectDocument document(platform::ConfigFile("indexer.ini"));
  MainWindow window(document, platform::ConfigFile("indexer.ini"));
  window.show();
  SplashDialog splash(&window);
  splash.exec();
  QTimer::singleShot(0, &document, [&document, file] {
    document.reportSetAsideFiles();
    if (file.isEmpty()) {
      document.startUp();
    } else {
      document.openFile(ToLocalPath(file));
    }
  });
  return application.exec();
}

}  // namespace indexer::gui
