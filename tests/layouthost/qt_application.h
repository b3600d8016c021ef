// The QGuiApplication that rendering needs, made once for the whole test program.
#pragma once

#include <cstdlib>

#include <QGuiApplication>

namespace layouthost::test {

inline void EnsureGuiApplication() {
  if (QGuiApplication::instance()) return;
  setenv("QT_QPA_PLATFORM", "offscreen", 0);
  static int argc = 1;
  static char name[] = "layouthost_tests";
  static char* argv[] = {name, nullptr};
  static QGuiApplication application(argc, argv);
}

}  // namespace layouthost::test
