// ArchiveScanner ("Marlix XT Archive"): walks one issue folder or one category folder of an
// archive written by the export plug-in and appends one record per exported page (an .html or
// .htm file at least two levels below an issue folder) to the collection, with the description
// and subdescription read from the page's head.
#pragma once

#include <cstdint>
#include <string>

#include "indexer/engine/folder_walker.h"
#include "indexer/engine/scanner.h"

namespace indexer {

// What accepts() answers for a folder it can scan.
constexpr int kArchiveScannerAccepts = 192;
// The collection file's name inside the scanned folder.
inline constexpr const char* kCollectionFileName = "index.mlx";

class ArchiveScanner final : public Scanner, private FolderWalker {
 public:
  explicit ArchiveScanner(const ComponentArgs& args) : Scanner(args) {}

  MMoreErr chain(const std::string& documentPath, const std::string& indexPrefix,
                 const std::string& indexName, const std::string& previous,
                 const std::string& next) override;
  using Scanner::accepts;
  int accepts(const std::string& source) override;
  using Scanner::collectionPathFor;
  int collectionPathFor(std::string& path) override;
  // The option "type" ("issue" or "category") sets the index type; without it the ask-type
  // callback is asked. 0, 3 (bad type or unusable source), 5 (cancelled) or a file error.
  MMoreErr scan(const OptionMap* options, IndexCollection& collection,
                const std::string& source) override;
  std::string description() const override;
  std::string usage() const override;
  std::string author() const override;

 private:
  MMoreErr enterFolder(const std::string& folder, const std::string& rel, int depth) override;
  MMoreErr visitFile(const std::string& file, const std::string& rel, int depth) override;
  MMoreErr leaveFolder(const std::string& folder, const std::string& rel, int depth) override;
  void folderSkipped(const std::string& folder, const std::string& reason) override;
  void nameSkipped(const std::string& path) override;
  // What a scan that found nothing to index, or indexed the archive's own fixed folder,
  // probably got wrong.
  void warnAboutTheFolder();

  IndexCollection* collection_ = nullptr;
  std::uint32_t indexType_ = 0;
  std::string year_;
  std::string issue_;
  std::string category_;
  int startDepth_ = 0;
  std::size_t entries_ = 0;  // files and folders below the scanned folder
  std::size_t pages_ = 0;
  std::string firstStandardPage_;
  std::size_t standardPages_ = 0;
};

// True when a file met at `depth` with this path is an exported page to index.
bool IsIndexedPage(const std::string& path, int depth);

}  // namespace indexer
