// IndexEngine: owns the preferences store and the category table and answers the components'
// callbacks. Its virtual operations keep the slot order the components rely on; the run-related
// slots answer as a run without a user would, until a front end overrides them.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "indexer/engine/component_registry.h"
#include "indexer/store/category_table.h"
#include "indexer/store/file_stream.h"
#include "indexer/store/mmore_err.h"
#include "indexer/store/settings_file.h"

namespace indexer {

class IndexEngine {
 public:
  IndexEngine() = default;
  IndexEngine(const IndexEngine&) = delete;
  IndexEngine& operator=(const IndexEngine&) = delete;

  // Slot 0.
  virtual ~IndexEngine() = default;
  // Slot 1: no effect.
  virtual MMoreErr idle();
  // Slot 2: kUserCancelled once the user asked to stop.
  virtual MMoreErr showProgress(const std::string& text);
  // Slot 3.
  virtual MMoreErr step();
  // Slot 4: type 1 (issue) or 2 (category), or kUserCancelled.
  virtual MMoreErr askIndexType(std::uint32_t& type);
  // Slots 5 and 6.
  virtual SettingsStore& preferences();
  virtual CategoryTable& categories();
  // Slot 7: a destination folder, or "" for none.
  virtual std::string askDestination();
  // Slot 8: clears the store, then stores every default.
  virtual void setDefaultPreferences();
  // Slot 9: empties the table, then adds the seven default categories.
  virtual void setDefaultCategories();

  MMoreErr LoadSettings(const std::string& path);
  // An empty path saves to the path last loaded or saved.
  MMoreErr SaveSettings(const std::string& path = {});
  MMoreErr LoadCategories(const std::string& path);
  MMoreErr SaveCategories(const std::string& path = {});

  // The n-th category: the display name before the first carriage return, the heading after it.
  MMoreErr CategoryAt(std::size_t n, std::string& name, std::string* heading = nullptr) const;
  // Cuts `key` to the category key length, looks it up and replaces it by the display name.
  MMoreErr CategoryFor(std::string& key, std::string* heading = nullptr) const;

  // The scanners and writers, and the general, scanner and writer options the runs hand them
  // (e.g. "type" for the scanner).
  ComponentRegistry& registry() { return registry_; }
  OptionMap& generalOptions() { return generalOptions_; }
  OptionMap& scannerOptions() { return scannerOptions_; }
  OptionMap& writerOptions() { return writerOptions_; }

 private:
  SettingsFile settings_;
  CategoryTable categories_;
  FileStream category_stream_;
  OptionMap generalOptions_;
  OptionMap scannerOptions_;
  OptionMap writerOptions_;
  ComponentRegistry registry_{generalOptions_, scannerOptions_, writerOptions_, this};
};

}  // namespace indexer
