// Runs every registered QTest class; fails when any of them has a failing test.
#include <QApplication>
#include <QTest>

#include "tests/qt_support/qt_test_registry.h"

int main(int argc, char** argv) {
  QApplication application(argc, argv);
  int failed = 0;
  for (const auto& make : marlix::test::QtTests()) {
    const std::unique_ptr<QObject> test = make();
    failed += QTest::qExec(test.get(), argc, argv) != 0;
  }
  return failed == 0 ? 0 : 1;
}
