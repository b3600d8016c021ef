// layouthost: the stand-in layout program. With a document, a display and no action it opens its
// window; otherwise it carries out the batch command line.
#include <csignal>
#include <cstdlib>
#include <exception>
#include <iostream>

#include <QGuiApplication>
#include <QtGlobal>

#include "layouthost/app/batch_session.h"
#include "layouthost/app/command_line.h"
#include "layouthost/window/window_main.h"
#include "platform/config_folder.h"

namespace {

constexpr int kExitFailed = 1;  // as for a job that failed
constexpr int kExitUsage = 2;

// Only the plug-in's messages belong on stderr; Qt's own notes are dropped unless serious.
void QtMessages(QtMsgType type, const QMessageLogContext&, const QString& message) {
  if (type == QtCriticalMsg || type == QtFatalMsg) {
    std::cerr << "layouthost: " << message.toStdString() << '\n';
  }
}

int Run(int argc, char** argv) {
  std::vector<std::string> args(argv + 1, argv + argc);
  std::string error;
  const auto line = layouthost::ParseCommandLine(args, &error);
  if (!line) {
    std::cerr << "layouthost: " << error << "\nTry 'layouthost --help' for more information.\n";
    return kExitUsage;
  }
  if (line->help) {
    std::cout << layouthost::kUsage;
    return 0;
  }
  if (line->version) {
    std::cout << "layouthost " << MARLIX_VERSION << '\n';
    return 0;
  }
  if (!line->config_dir.empty()) {
    if (!platform::UseConfigFolder(line->config_dir, &error)) {
      std::cerr << "layouthost: " << error << '\n';
      return kExitFailed;
    }
  }
  if (line->actions.empty() && layouthost::HasDisplay()) {
    return layouthost::RunWindow(argc, argv, line->document, line->plugin);
  }
  // Batch runs show no window; rendering text still needs Qt's fonts.
  if (!std::getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "offscreen", 1);
  qInstallMessageHandler(QtMessages);
  QGuiApplication application(argc, argv);
  return layouthost::RunBatch(*line, std::cerr, std::cout);
}

}  // namespace

// Whatever the plug-in or the file system does, the program ends with a message and a status.
int main(int argc, char** argv) {
  // Past a file size limit a write then fails with EFBIG and is reported like a full disk.
  std::signal(SIGXFSZ, SIG_IGN);
  try {
    return Run(argc, argv);
  } catch (const std::exception& error) {
    std::cerr << "layouthost: " << error.what() << '\n';
    return kExitFailed;
  }
}
