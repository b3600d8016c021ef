// The build tree the tests run from: MARLIX_BINARY_DIR when ctest sets it, else the folder above
// the test program's own (<build>/tests/).
#pragma once

#include <cstdlib>
#include <filesystem>
#include <string>

namespace layouthost::test {

inline std::string BuildDir() {
  if (const char* dir = std::getenv("MARLIX_BINARY_DIR")) return dir;
  return std::filesystem::read_symlink("/proc/self/exe").parent_path().parent_path().string();
}

inline std::string FakePluginPath() {
  return BuildDir() + "/layouthost/liblayouthost_fake_plugin.so";
}

}  // namespace layouthost::test
