// Several QTest classes in one test program: each registers itself, and the program's main
// runs them one after the other with one QApplication.
#pragma once

#include <QObject>
#include <functional>
#include <memory>
#include <vector>

namespace marlix::test {

using QtTestFactory = std::function<std::unique_ptr<QObject>()>;

inline std::vector<QtTestFactory>& QtTests() {
  static std::vector<QtTestFactory> tests;
  return tests;
}

template <typename Test>
bool RegisterQtTest() {
  QtTests().push_back([] { return std::make_unique<Test>(); });
  return true;
}

}  // namespace marlix::test

#define MARLIX_QT_TEST(Class) \
  [[maybe_unused]] static const bool registered_##Class = marlix::test::RegisterQtTest<Class>()
