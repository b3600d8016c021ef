// --prefs [KEY=VALUE...] and --prefs-reset.
#include <string>

#include "indexer/cli/commands.h"
#include "indexer/cli/terminal_text.h"
#include "indexer/cli/value_escapes.h"
#include "indexer/engine/index_engine.h"
#include "indexer/startup/indexer_files.h"
#include "indexer/store/settings_keys.h"

namespace indexer::cli {
namespace {

int SaveOrFail(IndexEngine& engine) {
  if (engine.SaveSettings() != kNoErr)
    return FailWithDetail(kExitFailure,
                          "cannot save the preferences to \"" + SettingsFilePath() + "\"");
  return kExitOk;
}

}  // namespace

int RunPrefs(const Arguments& args) {
  IndexEngine engine;
  const StartupResult startup = LoadFilesTelling(engine);
  if (args.empty()) {
    if (startup.save_status != kNoErr)
      FailWithDetail(kExitOk, "warning: cannot write the default files");
    for (const SettingKey& key : SettingKeys())
      PrintLine(FormatPreference(engine.preferences(), key));
    return kExitOk;
  }
  // Every assignment is checked before anything is saved.
  SettingsStore changed = engine.preferences();
  for (const std::string& assignment : args) {
    std::string error;
    if (!ApplyPreference(assignment, changed, error)) return UsageError(error);
  }
  engine.preferences() = changed;
  return SaveOrFail(engine);
}

int RunPrefsReset(const Arguments& args) {
  if (!args.empty()) return UsageError("--prefs-reset takes no arguments");
  IndexEngine engine;
  LoadFilesTelling(engine);
  engine.setDefaultPreferences();
  return SaveOrFail(engine);
}

}  // namespace indexer::cli
