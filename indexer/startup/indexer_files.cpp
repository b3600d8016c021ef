#include "indexer/startup/indexer_files.h"

#include "indexer/engine/index_engine.h"
#include "platform/config_folder.h"

namespace indexer {

std::string SettingsFilePath() {
  return platform::ConfigFile(kSettingsFileName);
}

std::string CategoryFilePath() {
  return platform::ConfigFile(kCategoryFileName);
}

StartupResult LoadIndexerFiles(IndexEngine& engine) {
  StartupResult result;
  if (engine.LoadSettings(SettingsFilePath()) != kNoErr) {
    result.settings_defaulted = true;
    engine.setDefaultPreferences();
    result.save_status = engine.SaveSettings();
  }
  if (engine.LoadCategories(CategoryFilePath()) != kNoErr) {
    result.categories_defaulted = true;
    engine.setDefaultCategories();
    if (MMoreErr status = engine.SaveCategories(); result.save_status == kNoErr)
      result.save_status = status;
  }
  return result;
}

}  // namespace indexer
