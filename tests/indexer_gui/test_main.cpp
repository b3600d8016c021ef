// Runs every registered test class of the window tests.
#include <QApplication>
#include <QTest>

#include "tests/indexer_gui/gui_test_support.h"

int main(int argc, char** argv) {
  QApplication application(argc, argv);
  int failures = 0;
  for (const auto& make : indexer::gui::testing::TestFactories()) {
    const std::unique_ptr<QObject> test = make();
    failures += QTest::qExec(test.get(), argc, argv);
  }
  return failures == 0 ? 0 : 1;
}
