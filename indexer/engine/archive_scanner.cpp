// The archive scanner: folder walk over year / issue / category / article folders.
#include "indexer/engine/archive_scanner.h"

#include <sys/stat.h>

#include <array>
#include <string_view>

#include "indexer/engine/article_record.h"
#include "indexer/engine/document_chaining.h"
#include "indexer/engine/index_collection.h"
#include "indexer/engine/meta_extraction.h"
#include "platform/cp1252.h"
#include "platform/paths.h"

namespace indexer {
namespace {

// Pages are found this many folder levels below an issue folder (category, article).
constexpr int kFirstPageDepth = 2;
// Index pages the indexer itself writes into an archive; never indexed.
constexpr std::array<std::string_view, 3> kOwnPagePrefixes = {"index.", "category.", "content."};
// The archive's folder of header, footer and library files, beside the year folders.
constexpr std::string_view kStandardFolder = "Standard/";

// A folder name from a disk path as the system's text.
std::string NameText(const std::string& path) {
  return platform::Utf8ToCp1252ForMessage(platform::NamePart(path));
}

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
  if (indexType_ == kIssueIndex) {
    year_ = NameText(parent);
    issue_ = NameText(source);
  } else {
    category_ = NameText(source);
    issue_ = NameText(parent);
    year_ = NameText(platform::FolderPart(parent));
    startDepth_ = 1;
  }
  const MMoreErr status = walk(source, "", startDepth_);
  if (status == kNoErr) warnAboutTheFolder();
  return status;
}

void ArchiveScanner::warnAboutTheFolder() {
  if (entries_ == 0) {
    addWarning("The folder is empty: there is nothing to index.");
  } else if (pages_ == 0) {
    addWarning(
        "No article pages at the expected depth (category/article/page.htm below an issue "
        "folder, article/page.htm below a category folder).");
  }
  if (standardPages_ > 0) {
    addWarning(std::to_string(standardPages_) +
               " page(s) under Standard/ indexed as articles, the first " + firstStandardPage_ +
               ": is the folder one level too high?");
  }
}

MMoreErr ArchiveScanner::enterFolder(const std::string&, const std::string& rel, int depth) {
  if (depth > startDepth_) ++entries_;
  if (indexType_ == kIssueIndex && depth == 1) category_ = rel;
  return step();
}

MMoreErr ArchiveScanner::visitFile(const std::string& file, const std::string& rel, int depth) {
  MMoreErr r = kNoErr;
  ++entries_;
  if (IsIndexedPage(file, depth)) {
    ++pages_;
    if (rel.starts_with(kStandardFolder) && standardPages_++ == 0) firstStandardPage_ = rel;
    MetaMap meta;
    std::string description = rel;
    std::string subdescription;
    if (ExtractMetaFromFile(file, meta) == kNoErr) {
      if (auto it = meta.find("description"); it != meta.end()) description = it->second;
      if (auto it = meta.find("subdescription"); it != meta.end()) subdescription = it->second;
    }
    // The full path is for showing only (chaining finds the page from the relative path), so a
    // folder above the scan whose name Windows-1252 cannot hold is shown with "?".
    ArticleRecord record(year_, issue_, category_, platform::Utf8ToCp1252ForMessage(file), rel,
                         description, subdescription);
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
  addWarning("Folder skipped, it cannot be listed: " + platform::Utf8ToCp1252ForMessage(folder) +
             " (" + reason + ")");
}

void ArchiveScanner::nameSkipped(const std::string& path) {
  addWarning("Skipped, Windows-1252 cannot hold its name: " +
             platform::Utf8ToCp1252ForMessage(path));
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
