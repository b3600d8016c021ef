// The registry of scanners and writers: components are created by name, and the registry runs
// the core of the two indexing runs (scan a source into a collection; write an index from a
// collection). Names compare byte by byte with case; iteration is in ascending name order.
#pragma once

#include <cstddef>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "indexer/engine/index_component.h"

namespace indexer {

class IndexEngine;
class IndexWriter;
class Scanner;

constexpr int kComponentScanner = 1;
constexpr int kComponentWriter = 2;

// Names of the two components every registry starts with.
inline constexpr const char* kArchiveScannerName = "Marlix XT Archive";
inline constexpr const char* kStandardWriterName = "Standard";

// Creates a component from the six construction arguments; may throw MMoreErr.
using ComponentFactory = std::unique_ptr<IndexComponent> (*)(const ComponentArgs& args);

class ComponentRegistry {
 public:
  // Registers "Marlix XT Archive" and "Standard". Throws MMoreErr 3 without an engine.
  ComponentRegistry(OptionMap& generalOptions, OptionMap& scannerOptions, OptionMap& writerOptions,
                    IndexEngine* engine);
  ComponentRegistry(const ComponentRegistry&) = delete;
  ComponentRegistry& operator=(const ComponentRegistry&) = delete;

  // 3 for an empty name, a null factory or a kind other than 1 or 2; an existing name is
  // replaced.
  MMoreErr add(const std::string& name, int kind, ComponentFactory factory);
  // The index-th entry in name order; 4 past the end, 3 when an out argument is missing.
  MMoreErr entryAt(std::size_t index, std::string* name, int* kind) const;
  MMoreErr kindOf(const std::string& name, int& kind) const;
  // Calls the factory of the entry with that name; a thrown MMoreErr is returned.
  MMoreErr create(const std::string& name, std::unique_ptr<IndexComponent>& component,
                  const ComponentArgs& args) const;
  // create() for a kind-1 (or kind-2) entry, with the engine's preferences and categories.
  MMoreErr createScanner(const std::string& name, std::unique_ptr<Scanner>& scanner,
                         ProgressCallback progress, StepCallback step, AskTypeCallback askType,
                         void* context) const;
  MMoreErr createWriter(const std::string& name, std::unique_ptr<IndexWriter>& writer,
                        ProgressCallback progress, StepCallback step, void* context) const;
  MMoreErr remove(const std::string& name);

  // The scanning run's core. `source` comes in as the folder to scan and goes back as the
  // collection file path. The new collection is built in a temporary file beside the final one
  // and replaces it only when the scan succeeded, so a failed or cancelled scan leaves an
  // earlier collection as it was. `scanner`, when given, receives the scanner on success.
  MMoreErr scan(std::string& source, const std::string& scannerName, ProgressCallback progress,
                StepCallback step, AskTypeCallback askType, void* context,
                std::unique_ptr<Scanner>* scanner);
  // The writing run's core. An empty scannerName takes the collection's CollectionScanner;
  // `scanner`, when given, is used instead of creating one. `indexPath`, when given, receives
  // the path of the main index file the writer reported.
  MMoreErr write(const std::string& collectionPath, const std::string& scannerName,
                 const std::string& writerName, ProgressCallback progress, StepCallback step,
                 void* context, Scanner* scanner, std::string* indexPath = nullptr);

  IndexEngine& engine() const { return *engine_; }
  OptionMap& generalOptions() const { return generalOptions_; }
  OptionMap& scannerOptions() const { return scannerOptions_; }
  OptionMap& writerOptions() const { return writerOptions_; }

  // Warnings of the last run (e.g. folders the scan could not list, pages that changed while
  // they were being chained).
  const std::vector<std::string>& lastWarnings() const { return lastWarnings_; }

 private:
  struct Entry {
    int kind;
    ComponentFactory factory;
  };

  std::map<std::string, Entry> entries_;
  OptionMap& generalOptions_;
  OptionMap& scannerOptions_;
  OptionMap& writerOptions_;
  IndexEngine* engine_;
  std::vector<std::string> lastWarnings_;
};

}  // namespace indexer
