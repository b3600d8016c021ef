// Feeds arbitrary bytes to the settings file reader: no crash, no over-read, no huge allocation,
// and whatever loads saves and loads back the same.
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "indexer/app/settings_file.h"

namespace {

std::string InputPath(const char* name) {
  return "/tmp/" + std::string(name) + "-" + std::to_string(::getpid());
}

void WriteInput(const std::string& path, const std::uint8_t* data, std::size_t size) {
  std::FILE* file = std::fopen(path.c_str(), "wb");
  if (!file) std::abort();
  if (size > 0) std::fwrite(data, 1, size, file);
  std::fclose(file);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const std::string path = InputPath("settings_reader_fuzz");
  WriteInput(path, data, size);
  indexer::SettingsFile file;
  if (file.Load(path) != indexer::kNoErr) return 0;
  if (file.Save() != indexer::kNoErr) std::abort();
  indexer::SettingsFile again;
  if (again.Load(path) != indexer::kNoErr) std::abort();
  if (!(static_cast<const indexer::SettingsStore&>(again) ==
        static_cast<const indexer::SettingsStore&>(file)))
    std::abort();
  return 0;
}
