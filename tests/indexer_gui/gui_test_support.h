// Helpers of the window tests: a private config folder, a small archive on disk, and answering
// dialogs that a command opens.
#pragma once

#include <QApplication>
#include <QTemporaryDir>
#include <QTimer>
#include <QWidget>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace indexer::gui::testing {

// Points XDG_CONFIG_HOME at a fresh folder for the object's lifetime.
class ConfigSandbox {
 public:
  ConfigSandbox();
  ~ConfigSandbox();
  std::string file(const std::string& name) const;

 private:
  QTemporaryDir folder_;
  QByteArray previous_;
};

// A page as the plug-in exports it, with its META description and subdescription.
void WritePage(const std::string& path, const std::string& description,
               const std::string& subdescription = {}, const std::string& body = {});

// An issue folder YEAR/ISSUE under `root` with `perCategory` pages in each category; returns
// the issue folder.
std::string MakeIssue(const std::string& root, const std::vector<std::string>& categories,
                      int perCategory);

// Calls `act` once a visible top-level widget of the type appears (and `ready` holds), from the
// event loop: dialogs shown with exec() are answered this way.
template <typename Widget>
void WhenShown(
    std::function<void(Widget*)> act,
    std::function<bool(Widget*)> ready = [](Widget*) { return true; }) {
  auto* timer = new QTimer(qApp);
  timer->setInterval(5);
  QObject::connect(timer, &QTimer::timeout, timer, [timer, act, ready] {
    for (QWidget* widget : QApplication::topLevelWidgets()) {
      auto* found = qobject_cast<Widget*>(widget);
      if (found && found->isVisible() && ready(found)) {
        timer->stop();
        timer->deleteLater();
        act(found);
        return;
      }
    }
  });
  timer->start();
}

// The test classes of the binary, each run with QTest::qExec.
using TestFactory = std::function<std::unique_ptr<QObject>()>;
std::vector<TestFactory>& TestFactories();

template <typename Test>
struct RegisterTest {
  RegisterTest() {
    TestFactories().push_back([] { return std::make_unique<Test>(); });
  }
};

}  // namespace indexer::gui::testing
