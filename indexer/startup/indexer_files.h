// The two files of the indexer in the per-user config folder, and the start-up rule: a file that
// is missing or cannot be read is replaced by the built-in defaults, written out at once. One
// that exists but cannot be read is first kept beside as NAME.bad, so nothing of the user's is
// lost without a trace.
#pragma once

#include <string>
#include <vector>

#include "indexer/store/mmore_err.h"

namespace indexer {

class IndexEngine;

inline constexpr const char* kSettingsFileName = "mlxindex.hpr";
inline constexpr const char* kCategoryFileName = "mlxindex.hcg";

// The files' paths in the config folder; "" when there is no usable config folder.
std::string SettingsFilePath();
std::string CategoryFilePath();

struct StartupResult {
  bool settings_defaulted = false;     // the settings file was missing or bad
  bool categories_defaulted = false;   // the category file was missing or bad
  MMoreErr save_status = kNoErr;       // first failure writing defaults back; kNoErr otherwise
  std::vector<std::string> set_aside;  // the unreadable files now kept as NAME.bad
};

// The name an unreadable file is kept under.
std::string SetAsidePath(const std::string& path);

// Loads both files into the engine, installing and saving the defaults where a load fails.
StartupResult LoadIndexerFiles(IndexEngine& engine);

}  // namespace indexer
