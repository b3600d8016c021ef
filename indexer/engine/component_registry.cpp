// The registry of components and the cores of the scanning and writing runs.
#include "indexer/engine/component_registry.h"

#include <new>

#include "indexer/engine/archive_scanner.h"
#include "indexer/engine/index_collection.h"
#include "indexer/engine/index_engine.h"
#include "indexer/engine/index_writer.h"
#include "indexer/engine/scanner.h"
#include "indexer/engine/standard_index_writer.h"
#include "indexer/store/file_status.h"
#include "platform/file_replacement.h"
#include "platform/paths.h"

namespace indexer {
namespace {

std::unique_ptr<IndexComponent> MakeArchiveScanner(const ComponentArgs& args) {
  return std::make_unique<ArchiveScanner>(args);
}

std::unique_ptr<IndexComponent> MakeStandardWriter(const ComponentArgs& args) {
  return std::make_unique<StandardIndexWriter>(args);
}

// The default callbacks: the registry is their context and the engine answers them.
MMoreErr DefaultProgress(const std::string& text, void* context) {
  return static_cast<ComponentRegistry*>(context)->engine().showProgress(text);
}

MMoreErr DefaultStep(void* context) {
  return static_cast<ComponentRegistry*>(context)->engine().step();
}

MMoreErr DefaultAskType(std::uint32_t& type, void* context) {
  return static_cast<ComponentRegistry*>(context)->engine().askIndexType(type);
}

// A component's run: the few stream queries that cannot return a status throw one (a full
// disk makes the stream's length unknown), and it ends the run like a returned one.
template <typename Run>
MMoreErr Guarded(Run run) {
  try {
    return run();
  } catch (MMoreErr status) {
    return status;
  } catch (const std::bad_alloc&) {
    return kOutOfMemory;
  }
}

}  // namespace

ComponentRegistry::ComponentRegistry(OptionMap& generalOptions, OptionMap& scannerOptions,
                                     OptionMap& writerOptions, IndexEngine* engine)
    : generalOptions_(generalOptions),
      scannerOptions_(scannerOptions),
      writerOptions_(writerOptions),
      engine_(engine) {
  if (engine == nullptr) throw kBadArgument;
  add(kArchiveScannerName, kComponentScanner, MakeArchiveScanner);
  add(kStandardWriterName, kComponentWriter, MakeStandardWriter);
}

MMoreErr ComponentRegistry::add(const std::string& name, int kind, ComponentFactory factory) {
  if (name.empty() || factory == nullptr) return kBadArgument;
  if (kind != kComponentScanner && kind != kComponentWriter) return kBadArgument;
  entries_[name] = Entry{kind, factory};
  return kNoErr;
}

MMoreErr ComponentRegistry::entryAt(std::size_t index, std::string* name, int* kind) const {
  if (name == nullptr || kind == nullptr) return kBadArgument;
  if (index >= entries_.size()) return kNotFound;
  auto it = entries_.begin();
  std::advance(it, index);
  *name = it->first;
  *kind = it->second.kind;
  return kNoErr;
}

MMoreErr ComponentRegistry::kindOf(const std::string& name, int& kind) const {
  const auto it = entries_.find(name);
  if (it == entries_.end()) return kNotFound;
  kind = it->second.kind;
  return kNoErr;
}

MMoreErr ComponentRegistry::create(const std::string& name,
                                   std::unique_ptr<IndexComponent>& component,
                                   const ComponentArgs& args) const {
  const auto it = entries_.find(name);
  if (it == entries_.end()) return kNotFound;
  try {
    component = it->second.factory(args);
  } catch (MMoreErr status) {
    return status;
  } catch (const std::bad_alloc&) {
    return kOutOfMemory;
  }
  return component ? kNoErr : kOutOfMemory;
}

MMoreErr ComponentRegistry::createScanner(const std::string& name,
                                          std::unique_ptr<Scanner>& scanner,
                                          ProgressCallback progress, StepCallback step,
                                          AskTypeCallback askType, void* context) const {
  int kind = 0;
  if (MMoreErr status = kindOf(name, kind); status != kNoErr) return status;
  if (kind != kComponentScanner) return kBadArgument;
  std::unique_ptr<IndexComponent> component;
  const ComponentArgs args{
      &engine_->preferences(), &engine_->categories(), progress, step, askType, context};
  if (MMoreErr status = create(name, component, args); status != kNoErr) return status;
  auto* created = dynamic_cast<Scanner*>(component.get());
  if (created == nullptr) return kBadArgument;
  component.release();
  scanner.reset(created);
  return kNoErr;
}

MMoreErr ComponentRegistry::createWriter(const std::string& name,
                                         std::unique_ptr<IndexWriter>& writer,
                                         ProgressCallback progress, StepCallback step,
                                         void* context) const {
  int kind = 0;
  if (MMoreErr status = kindOf(name, kind); status != kNoErr) return status;
  if (kind != kComponentWriter) return kBadArgument;
  std::unique_ptr<IndexComponent> component;
  const ComponentArgs args{
      &engine_->preferences(), &engine_->categories(), progress, step, nullptr, context};
  if (MMoreErr status = create(name, component, args); status != kNoErr) return status;
  auto* created = dynamic_cast<IndexWriter*>(component.get());
  if (created == nullptr) return kBadArgument;
  component.release();
  writer.reset(created);
  return kNoErr;
}

MMoreErr ComponentRegistry::remove(const std::string& name) {
  return entries_.erase(name) == 1 ? kNoErr : kNotFound;
}

MMoreErr ComponentRegistry::scan(std::string& source, const std::string& scannerName,
                                 ProgressCallback progress, StepCallback step,
                                 AskTypeCallback askType, void* context,
                                 std::unique_ptr<Scanner>* scannerOut) {
  lastWarnings_.clear();
  if (progress == nullptr || step == nullptr || askType == nullptr) {
    progress = DefaultProgress;
    step = DefaultStep;
    askType = DefaultAskType;
    context = this;
  }
  std::unique_ptr<Scanner> scanner;
  if (MMoreErr status = createScanner(scannerName, scanner, progress, step, askType, context);
      status != kNoErr) {
    if (scannerOut) scannerOut->reset();
    return status;
  }
  if (scanner->accepts(source) == 0) {
    if (scannerOut) scannerOut->reset();
    return kBadArgument;
  }

  std::string path = source;
  const int mode = scanner->collectionPathFor(path);
  MMoreErr status = kNoErr;
  if (mode == kCollectionPathAskFolder) {
    const std::string destination = engine_->askDestination();
    if (destination.empty()) {
      status = kUserCancelled;
    } else {
      path = platform::JoinPath(destination, path);
    }
  } else if (mode == kCollectionPathNone) {
    IndexCollection unopened(path);
    status = Guarded([&] { return scanner->scan(&scannerOptions_, unopened, source); });
  } else if (mode != kCollectionPathReady) {
    status = kBadArgument;
  }

  if (status == kNoErr && mode != kCollectionPathNone) {
    // The collection is built in a temporary file (hidden and without a page extension, so no
    // scan takes it for a page) that replaces the old one only when the scan has succeeded.
    platform::FileReplacement replacement(path);
    status = WriteStatus(replacement.Open());
    if (status == kNoErr) {
      IndexCollection collection(replacement.temporary_path());
      status = collection.open("w+b");
      if (status == kNoErr) {
        status = Guarded([&] { return scanner->scan(&scannerOptions_, collection, source); });
        collection.headerBlock().SetString(kCollectionScanner, scannerName);
        const MMoreErr closed = Guarded([&] { return collection.close(); });
        if (status == kNoErr) status = closed;
      }
    }
    if (status == kNoErr) status = WriteStatus(replacement.Commit());
    if (status != kNoErr) BlameTarget(replacement);
  }

  source = path;
  lastWarnings_ = scanner->warnings();
  if (scannerOut) {
    if (status == kNoErr) {
      *scannerOut = std::move(scanner);
    } else {
      scannerOut->reset();
    }
  }
  return status;
}

MMoreErr ComponentRegistry::write(const std::string& collectionPath, const std::string& scannerName,
                                  const std::string& writerName, ProgressCallback progress,
                                  StepCallback step, void* context, Scanner* scanner,
                                  std::string* indexPath) {
  lastWarnings_.clear();
  if (progress == nullptr || step == nullptr) {
    progress = DefaultProgress;
    step = DefaultStep;
    context = this;
  }
  std::unique_ptr<IndexWriter> writer;
  if (MMoreErr status = createWriter(writerName, writer, progress, step, context);
      status != kNoErr) {
    return status;
  }
  lastWarnings_.clear();
  IndexCollection collection(collectionPath);
  if (MMoreErr status = collection.open("r+b"); status != kNoErr) return status;

  std::unique_ptr<Scanner> ownScanner;
  if (scanner == nullptr) {
    std::string name = scannerName;
    if (name.empty()) collection.headerBlock().GetString(kCollectionScanner, name);
    if (MMoreErr status = createScanner(name, ownScanner, nullptr, nullptr, nullptr, nullptr);
        status != kNoErr) {
      return status;
    }
    scanner = ownScanner.get();
  }
  std::string path = collectionPath;
  MMoreErr status =
      Guarded([&] { return writer->write(&writerOptions_, collection, scanner, path); });
  lastWarnings_ = writer->warnings();
  if (ownScanner)
    lastWarnings_.insert(lastWarnings_.end(), ownScanner->warnings().begin(),
                         ownScanner->warnings().end());
  const MMoreErr closed = Guarded([&] { return collection.close(); });
  if (status == kNoErr) status = closed;
  if (status == kNoErr && indexPath) *indexPath = path;
  return status;
}

}  // namespace indexer
