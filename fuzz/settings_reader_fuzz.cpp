// Feeds arbitrary bytes to the settings file reader: no crash, no over-read, no huge allocation,
// and whatever loads saves and loads back the same.

#include <cstdint>
#include <cstdlib>
#include <string>

#include "fuzz/fuzz_input_file.h"
#include "indexer/store/settings_file.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const std::string path = fuzz::InputPath("settings_reader_fuzz");
  fuzz::WriteInput(path, data, size);
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
