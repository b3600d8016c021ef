#include "indexer/engine/standard_index_writer.h"

#include <sys/stat.h>

#include <optional>
#include <string_view>
#include <utility>
#include <vector>

#include "indexer/engine/document_chaining.h"
#include "indexer/engine/index_collection.h"
#include "indexer/engine/index_pages.h"
#include "indexer/engine/page_location.h"
#include "indexer/engine/scanner.h"
#include "indexer/store/file_status.h"
#include "indexer/store/settings_keys.h"
#include "platform/cp1252.h"
#include "platform/file_replacement.h"
#include "platform/paths.h"
#include "platform/whole_file.h"

namespace indexer {
namespace {

// The content of the file that a collection header entry names, when there is one to read.
std::optional<std::string> Snippet(const IndexCollection& collection, SettingId id) {
  std::string path;
  if (collection.headerBlock().GetString(id, path) != kNoErr || path.empty()) return std::nullopt;
  std::string content;
  if (!platform::ReadWholeFile(platform::DiskPath(path), content).ok()) return std::nullopt;
  return content;
}

// Chains the indexed documents one record late: a document is patched once the one after it is
// known. Its links are relative to its own folder, so the prefix comes from its own path.
class ChainSequence {
 public:
  ChainSequence(Scanner* scanner, std::string indexName)
      : scanner_(scanner), indexName_(std::move(indexName)) {}

  // `page` is where the record's page lies on disk.
  MMoreErr Add(const std::string& page, const ArticleRecord& record) {
    MMoreErr status = kNoErr;
    if (last_) status = Chain(record.relativePath);
    beforeLast_ = last_ ? last_->relativePath : std::string();
    last_ = Neighbour{page, record.relativePath};
    return status;
  }

  MMoreErr Finish() { return last_ ? Chain({}) : kNoErr; }
  // Documents left unchained because they changed meanwhile (without a scanner to keep them).
  const std::vector<std::string>& warnings() const { return warnings_; }

 private:
  struct Neighbour {
    std::string path;
    std::string relativePath;
  };

  MMoreErr Chain(const std::string& next) {
    const std::string prefix = IndexPrefixFor(last_->relativePath);
    if (scanner_ != nullptr) {
      return scanner_->chain(last_->path, prefix, indexName_, beforeLast_, next);
    }
    return ChainDocument(last_->path, prefix, indexName_, beforeLast_, next, &warnings_);
  }

  Scanner* scanner_;
  std::string indexName_;
  std::optional<Neighbour> last_;
  std::string beforeLast_;
  std::vector<std::string> warnings_;
};

// The file a frame's URL names, relative to the index's folder; nothing for a URL with a
// scheme (http:, mailto:) or an empty one.
std::optional<std::string> FrameFile(const std::string& folder, std::string_view url) {
  url = url.substr(0, url.find_first_of("#?"));
  const std::size_t colon = url.find(':');
  if (url.empty() || (colon != std::string_view::npos && url.find('/') > colon)) {
    return std::nullopt;
  }
  const std::string path = platform::DiskPath(url);
  return url.front() == '/' ? path : platform::JoinPath(folder, path);
}

bool FileExists(const std::string& path) {
  struct stat info;
  return ::stat(path.c_str(), &info) == 0;
}

MMoreErr Publish(const std::string& folder, const std::vector<IndexPages::Document>& documents) {
  platform::StagedReplacements files;
  for (const IndexPages::Document& document : documents) {
    const platform::Status status =
        files.Stage(platform::JoinPath(folder, document.name), document.content);
    if (!status.ok()) return WriteStatus(status);
  }
  return WriteStatus(files.Commit());
}

}  // namespace

StandardIndexWriter::StandardIndexWriter(const ComponentArgs& args, Clock clock)
    : IndexWriter(args), clock_(std::move(clock)) {
  preferences().GetBool(kCreateDOSEnding, dosEnding_);
}

MMoreErr StandardIndexWriter::write(const OptionMap* /*options*/, IndexCollection& collection,
                                    Scanner* scanner, std::string& path) {
  std::uint32_t indexType = 0;
  bool flag0 = false;
  bool flag1 = false;
  if (collection.getHeader(indexType, flag0, flag1) != kNoErr || !flag1) return kBadArgument;

  IndexWriterSettings settings = ReadIndexWriterSettings(preferences());
  settings.dosEnding = dosEnding_;
  const bool linkDocuments = settings.linkDocuments;
  const std::string folder = platform::FolderPart(collection.path());
  IndexVariables variables(settings.date, clock_);
  IndexPages pages(std::move(settings), std::move(variables), indexType == kCategoryIndex,
                   LookupIn(categories()));
  ChainSequence chain(scanner, pages.EntryName());

  pages.Begin(Snippet(collection, kCollectionHeaderSnippet));
  MMoreErr status = kNoErr;
  for (std::uint32_t n = 1; n <= collection.count() && status == kNoErr; ++n) {
    ArticleRecord record;
    if (collection.readRecord(record, n) != kNoErr || !record.inUse) {
      status = step();
      continue;
    }
    status = progress(record.path);
    if (status != kNoErr) break;
    pages.Add(record);
    if (linkDocuments) {
      // Chaining rewrites pages, so it touches only pages inside the collection's own folder:
      // a collection copied with its issue chains the copy, and a record naming a page
      // elsewhere takes no part.
      if (const std::optional<std::string> page = PageInsideFolder(folder, record.relativePath)) {
        status = chain.Add(*page, record);
      } else {
        addWarning("Page not chained, it lies outside the collection's folder: " +
                   record.relativePath);
      }
    }
  }
  if (status == kNoErr && linkDocuments) status = chain.Finish();
  for (const std::string& warning : chain.warnings())
    addWarning(warning);
  if (status == kNoErr) pages.End(Snippet(collection, kCollectionFooterSnippet));
  pages.Finish();

  if (status == kNoErr) status = Publish(folder, pages.Documents());
  path = platform::JoinPath(folder, pages.EntryName());
  if (status == kNoErr) {
    // A frame whose document is missing stays empty in the browser; the page cannot say why.
    for (const std::string& url : pages.OtherFrameDocuments()) {
      if (const std::optional<std::string> file = FrameFile(folder, url);
          file && !FileExists(*file)) {
        addWarning("Frame document missing: " + url + " (named by the frames of " +
                   pages.EntryName() + ")");
      }
    }
  }
  return status;
}

}  // namespace indexer
