// What every scanner and writer of the registry shares: the six construction arguments, the
// callbacks through which a run reports progress and asks questions, and the option maps.
//
// Callbacks are plain functions with the callback context as their last argument, so that a
// run can be driven by the desktop document, the batch command line or a test alike. A null
// callback counts as one that answered 0.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "indexer/store/mmore_err.h"

namespace indexer {

class CategoryTable;
class SettingsStore;

// The document's general, scanner and writer options (e.g. "type" -> "issue").
using OptionMap = std::map<std::string, std::string>;

// showProgress: the scanner passes each document's description, the writer each document's
// path; 5 once the user has cancelled, else 0.
using ProgressCallback = MMoreErr (*)(const std::string& text, void* context);
// step: after each folder and file of a scan, and for each record a writer skips.
using StepCallback = MMoreErr (*)(void* context);
// askIndexType: 0 with type 1 (issue) or 2 (category), or 5 when the user cancels.
using AskTypeCallback = MMoreErr (*)(std::uint32_t& type, void* context);

struct ComponentArgs {
  SettingsStore* preferences = nullptr;
  CategoryTable* categories = nullptr;
  ProgressCallback progress = nullptr;
  StepCallback step = nullptr;
  AskTypeCallback askType = nullptr;
  void* context = nullptr;
};

// Base of scanners and writers: keeps the construction arguments and calls the callbacks.
class IndexComponent {
 public:
  // Throws MMoreErr 3 when args.preferences is null.
  explicit IndexComponent(const ComponentArgs& args);
  virtual ~IndexComponent() = default;
  IndexComponent(const IndexComponent&) = delete;
  IndexComponent& operator=(const IndexComponent&) = delete;

  // Things the component skipped without failing (e.g. a folder it could not list), one line
  // each, for the caller to show.
  const std::vector<std::string>& warnings() const { return warnings_; }

 protected:
  SettingsStore& preferences() const { return *args_.preferences; }
  CategoryTable* categories() const { return args_.categories; }
  MMoreErr progress(const std::string& text) const;
  MMoreErr step() const;
  MMoreErr askType(std::uint32_t& type) const;
  void addWarning(std::string text) { warnings_.push_back(std::move(text)); }

 private:
  ComponentArgs args_;
  std::vector<std::string> warnings_;
};

}  // namespace indexer
