// The archive scanner: folder walk over year / issue / category / article folders.
#include "indexer/engine/archive_scanner.h"

#include <sys/stat.h>

#include <array>
#include <string_view>

#include "indexer/engine/article_record.h"
#include "indexer/engine/document_chaining.h"
#include "indexer/engine/index_collection.h"
#include "indexer/engine/meta_extraction.h"
#include "platform/paths.h"

namespace indexer {
namespace {

// Pages are found this many folder levels below an issue folder (category, article).
constexpr int kFirstPageDepth = 2;
// Index pages the indexer itself writes into an archive; never indexed.
constexpr std::array<std::string_view, 3> kOwnPagePrefixes = {"index.", "category.", "content."};

bool EndsWithNoCase(std::string_view text, std::string_view suffix) {
  if (text.size() < suffix.size()) return false;
  text = text.substr(text.size() - suffix.size());
  for (std::size_t i = 0; i < suffix.size(); ++i) {
    char c = text[i];
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    if (c != suffix[i]) return false;
  }
  return true;
}

}  // namespace

bool IsIndexedPage(const std::string& path, int depth) {
  if (depth < kFirstPageDepth) return false;
  const std::string name = platform::NamePart(path);
  for (std::string_view prefix : kOwnPagePrefixes) {
    if (name.starts_with(prefix)) return false;
  }
  return EndsWithNoCase(path, ".html") || EndsWithNoCase(path, ".htm");
}

MMoreErr ArchiveScanner::chain(const std::string& documentPath, const std::string& indexPrefix,
                               const std::string& indexName, const std::string& previous,
                               const std::string& next) {
  std::vector<std::string> skipped;
  const MMoreErr status =
      ChainDocument(documentPath, indexPrefix, indexName, previous, next, &skipped);
  for (std::string& warning : skipped)
    addWarning(std::move(warning));
  return status;
}

int ArchiveScanner::accepts(const std::string& source) {
  struct stat info;
  return (!source.empty() && stat(source.c_str(), &info) == 0 && S_ISDIR(info.st_mode))
             ? kArchiveScannerAccepts
             : 0;
}

int ArchiveScanner::collectionPathFor(std::string& path) {
  path = platform::JoinPath(path, kCollectionFileName);
  return 0;
}

MMoreErr ArchiveScanner::scan(const OptionMap* options, IndexCollection& collection,
                              const std::string& source) {
  if (options) {
    if (auto type = options->find("type"); type != options->end()) {
      if (type->second == "issue") {
        indexType_ = kIssueIndex;
      } else if (type->second == "category") {
        indexType_ = kCategoryIndex;
      } else {
        return kBadArgument;
      }
    }
  }
  if (indexType_ == 0) {
    if (MMoreErr status = askType(indexType_); status != kNoErr) return status;
  }
  if (indexType_ != kIssueIndex && indexType_ != kCategoryIndex) return kBadArgument;

  collection_ = &collection;
  if (MMoreErr status = collection.setHeader(indexType_, true, true); status != kNoErr) {
    return status;
  }
  const std::string parent = platform::FolderPart(source);
  int startDepth = 0;
  if (indexType_ == kIssueIndex) {
    year_ = platform::NamePart(parent);
    issue_ = platform::NamePart(source);
  } else {
    category_ = platform::NamePart(source);
    issue_ = platform::NamePart(parent);
    year_ = platform::NamePart(platform::FolderPart(parent));
    startDepth = 1;
  }
  return walk(source, "", startDepth);
}

MMoreErr ArchiveScanner::enterFolder(const std::string&, const std::string& rel, int depth) {
  if (indexType_ == kIssueIndex && depth == 1) category_ = rel;
  return step();
}

MMoreErr ArchiveScanner::visitFile(const std::string& file, const std::string& rel, int depth) {
  MMoreErr r = kNoErr;
  if (IsIndexedPage(file, depth)) {
    MetaMap meta;
    std::string description = rel;
    std::string subdescription;
    if (ExtractMetaFromFile(file, meta) == kNoErr) {
      if (auto it = meta.find("description"); it != meta.end()) description = it->second;
      if (auto it = meta.find("subdescription"); it != meta.end()) subdescription = it->second;
    }
    ArticleRecord record(year_, issue_, category_, file, rel, description, subdescription);
    r = collection_->appendRecord(record);
    if (r == kNoErr) r = progress(description);
  }
  if (r == kNoErr) r = step();
  return r;
}

MMoreErr ArchiveScanner::leaveFolder(const std::string&, const std::string&, int) {
  return kNoErr;
}

void ArchiveScanner::folderSkipped(const std::string& folder, const std::string& reason) {
  addWarning("Folder skipped, it cannot be listed: " + folder + " (" + reason + ")");
}

std::string ArchiveScanner::description() const {
  return "\"Marlix XT Archive\" runs through the folders of an archive created with Marlix XT.";
}

std::string ArchiveScanner::usage() const {
  return "Marlix XT Scanner: -scanner=\"Marlix XT Scanner\" -type=\"issue\"\n"
         "Accepted types are \"issue\" and \"category\".\n";
}

std::string ArchiveScanner::author() const {
  return "Marlix XT Archive scanner by Tarnby";
}

}  // namespace indexer
