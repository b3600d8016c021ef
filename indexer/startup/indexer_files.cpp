#include "indexer/startup/indexer_files.h"

#include <cstdio>

#include "indexer/engine/index_engine.h"
#include "platform/config_folder.h"

namespace indexer {

std::string SettingsFilePath() {
  return platform::ConfigFile(kSettingsFileName);
}

std::string CategoryFilePath() {
  return platform::ConfigFile(kCategoryFileName);
}

std::string SetAsidePath(const std::string& path) {
  return path + ".bad";
}

namespace {

// A file that exists but could not be read goes aside before the defaults replace it.
void SetAsideUnreadable(MMoreErr load_status, const std::string& path, StartupResult& result) {
  if (load_status == kFileNotFoundErr || path.empty()) return;
  if (std::rename(path.c_str(), SetAsidePath(path).c_str()) == 0) {
    result.set_aside.push_back(path);
  }
}

}  // namespace

StartupResult LoadIndexerFiles(IndexEngine& engine) {
  StartupResult result;
  if (const MMoreErr status = engine.LoadSettings(SettingsFilePath()); status != kNoErr) {
    SetAsideUnreadable(status, SettingsFilePath(), result);
    result.settings_defaulted = true;
    engine.setDefaultPreferences();
    result.save_status = engine.SaveSettings();
  }
  if (const MMoreErr status = engine.LoadCategories(CategoryFilePath()); status != kNoErr) {
    SetAsideUnreadable(status, CategoryFilePath(), result);
    result.categories_defaulted = true;
    engine.setDefaultCategories();
    if (MMoreErr status = engine.SaveCategories(); result.save_status == kNoErr)
      result.save_status = status;
  }
  return result;
}

}  // namespace indexer
