// The scanning and writing runs, their status words and messages.
#include "indexer/engine/index_runs.h"

#include <sys/stat.h>

#include <memory>

#include "indexer/engine/component_registry.h"
#include "indexer/engine/scanner.h"
#include "platform/paths.h"

namespace indexer {
namespace {

bool FileExists(const std::string& path) {
  struct stat info;
  return stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

}  // namespace

std::optional<StatusMessage> MessageForStatus(std::uint16_t statusWord) {
  switch (statusWord) {
    case kStatusWriteCancelled:
      return StatusMessage{"User Break!", "Error", true};
    case kStatusScanFailed:
      return StatusMessage{"Error by scanning source!", "Error", true};
    case kStatusWriteFailed:
      return StatusMessage{"Error by writing index!", "Error", true};
    case kStatusViewLoadFailed:
      return StatusMessage{"Error by creating of\ndrag and drop struct!", "Error", true};
    case kStatusScanComplete:
      return StatusMessage{"Scanning complete.", "Information", false};
    case kStatusIndexWritten:
      return StatusMessage{"Creating index complete.", "Information", false};
    default:
      return std::nullopt;
  }
}

std::uint16_t ScanStatusWord(MMoreErr status) {
  if (status == kNoErr) return kStatusScanComplete;
  return status == kUserCancelled ? kStatusScanCancelled : kStatusScanFailed;
}

std::uint16_t WriteStatusWord(MMoreErr status) {
  if (status == kNoErr) return kStatusIndexWritten;
  return status == kUserCancelled ? kStatusWriteCancelled : kStatusWriteFailed;
}

std::string IndexPageFor(const std::string& collectionPath) {
  if (collectionPath.size() < 3) return {};
  const std::string html = collectionPath.substr(0, collectionPath.size() - 3) + "html";
  if (FileExists(html)) return html;
  const std::string htm = html.substr(0, html.size() - 1);
  return FileExists(htm) ? htm : std::string();
}

std::vector<std::string> MatchingScanners(const ComponentRegistry& registry,
                                          const std::string& source) {
  std::vector<std::string> names;
  std::string name;
  int kind = 0;
  for (std::size_t i = 0; registry.entryAt(i, &name, &kind) == kNoErr; ++i) {
    if (kind != kComponentScanner) continue;
    std::unique_ptr<Scanner> scanner;
    if (registry.createScanner(name, scanner, nullptr, nullptr, nullptr, nullptr) == kNoErr &&
        scanner->accepts(source) != 0) {
      names.push_back(name);
    }
  }
  return names;
}

std::uint16_t RunScanning(ComponentRegistry& registry, RunFrontEnd& frontEnd, RunDocument& document,
                          const std::string& scannerName) {
  const std::string chosen =
      frontEnd.selectFolder("Select a folder to be indexed...", document.defaultFolder);
  if (chosen.empty()) return document.statusWord;
  // A cut path would name another folder: refuse it rather than scan the wrong one.
  if (chosen.size() > kMaxSourcePath) {
    document.statusWord = kStatusScanFailed;
    return document.statusWord;
  }
  std::string source = chosen;
  document.defaultFolder = chosen;

  std::string scanner = scannerName;
  if (scanner.empty()) {
    const std::vector<std::string> candidates = MatchingScanners(registry, source);
    if (candidates.empty()) {
      frontEnd.showError("No matching Scanner found.", "Error...");
      return document.statusWord;
    }
    scanner = candidates.size() == 1 ? candidates.front() : frontEnd.selectScanner(candidates);
    if (scanner.empty()) return document.statusWord;
  }

  frontEnd.openProgress("Scanning...");
  const MMoreErr status =
      registry.scan(source, scanner, nullptr, nullptr, nullptr, nullptr, nullptr);
  document.warnings = registry.lastWarnings();
  if (status == kNoErr) {
    document.collectionPath = source;
    document.title = platform::JoinPath(document.defaultFolder, platform::NamePart(source));
  }
  document.statusWord = ScanStatusWord(status);
  frontEnd.closeProgress();
  return document.statusWord;
}

std::uint16_t RunWriting(ComponentRegistry& registry, RunFrontEnd& frontEnd, RunDocument& document,
                         const std::string& writerName, bool openIndex, std::string* indexPath) {
  frontEnd.openProgress("Creating Index...");
  const MMoreErr status = registry.write(document.collectionPath, "", writerName, nullptr, nullptr,
                                         nullptr, nullptr, indexPath);
  document.warnings = registry.lastWarnings();
  document.statusWord = WriteStatusWord(status);
  frontEnd.closeProgress();
  if (openIndex) {
    const std::string page = IndexPageFor(document.collectionPath);
    if (!page.empty()) frontEnd.openPage(page);
  }
  return document.statusWord;
}

}  // namespace indexer
