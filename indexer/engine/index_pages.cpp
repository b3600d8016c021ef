#include "indexer/engine/index_pages.h"

#include <utility>

#include "indexer/engine/frames_document.h"
#include "indexer/store/category_table.h"

namespace indexer {
namespace {

constexpr std::string_view kIndexBase = "index";
constexpr std::string_view kContentBase = "content";
constexpr std::string_view kCategoryBase = "category";

std::string FileName(std::string_view base, std::string_view extension) {
  return std::string(base).append(extension);
}

}  // namespace

CategoryLookup LookupIn(const CategoryTable* table) {
  return [table](std::string_view category) -> std::optional<CategoryEntry> {
    std::string value;
    if (table == nullptr || table->Find(CategoryKeyFor(category), value) != kNoErr) {
      return std::nullopt;
    }
    const std::size_t separator = value.find(kCategorySeparator);
    if (separator == std::string::npos) return CategoryEntry{value, {}};
    return CategoryEntry{value.substr(0, separator), value.substr(separator + 1)};
  };
}

std::string OutputExtension(bool dosEnding) {
  return dosEnding ? ".htm" : ".html";
}

IndexPages::IndexPages(IndexWriterSettings settings, IndexVariables variables, bool categoryIndex,
                       CategoryLookup lookup)
    : settings_(std::move(settings)),
      variables_(std::move(variables)),
      categoryIndex_(categoryIndex),
      lookup_(std::move(lookup)),
      tags_(ListTagsFor(categoryIndex ? settings_.categoryList : settings_.issueList)),
      extension_(OutputExtension(settings_.dosEnding)),
      listName_(FileName(settings_.createFrames ? kContentBase : kIndexBase, extension_)) {}

void IndexPages::Begin(const std::optional<std::string>& headSnippet) {
  if (categoryFrame()) categoryDocument_ = CategoryFrameHead(settings_);
  if (frames()) {
    framesDocument_ =
        FramesDocumentStart(settings_, listName_, FileName(kCategoryBase, extension_));
  }
  list_ = headSnippet ? *headSnippet : StandardHead(settings_, variables_, current_);
}

void IndexPages::Add(const ArticleRecord& record) {
  const bool newGroup = record.year != current_.year || record.issue != current_.issue;
  current_ = {record.year, record.issue};
  if (newGroup) {
    CloseSection();
    std::string category;
    if (categoryIndex_) {
      const std::optional<CategoryEntry> entry = lookup_(record.category);
      category = entry ? entry->name : record.category;
    }
    ToList(variables_.Substitute(record.year, record.issue,
                                 categoryIndex_ ? settings_.categoryHeader : settings_.issueHeader,
                                 category));
  }
  if (!sectionOpen_ || (!categoryIndex_ && record.category != sectionCategory_)) {
    CloseSection();
    OpenSection(record);
  }
  WriteItem(record);
}

void IndexPages::End(const std::optional<std::string>& footSnippet) {
  CloseSection();
  list_ += footSnippet ? *footSnippet : StandardFoot(settings_, variables_, current_);
}

void IndexPages::Finish() {
  if (categoryFrame()) categoryDocument_ += CategoryFrameFoot(settings_, variables_, current_);
}

std::vector<IndexPages::Document> IndexPages::Documents() const {
  std::vector<Document> documents;
  if (categoryFrame())
    documents.push_back({FileName(kCategoryBase, extension_), categoryDocument_});
  documents.push_back({listName_, list_});
  if (frames()) documents.push_back({FileName(kIndexBase, extension_), framesDocument_});
  return documents;
}

std::string IndexPages::EntryName() const {
  return FileName(kIndexBase, extension_);
}

std::vector<std::string> IndexPages::OtherFrameDocuments() const {
  if (!frames()) return {};
  return indexer::OtherFrameDocuments(settings_, FileName(kCategoryBase, extension_));
}

void IndexPages::ToList(std::string_view text) {
  list_ += text;
  if (frames()) framesDocument_ += text;
}

// A category index gets one list per group, without a heading of its own; an issue index one
// anchored, headed list per run of a category.
void IndexPages::OpenSection(const ArticleRecord& record) {
  if (!categoryIndex_) {
    const std::string& key = record.category;
    std::string name = key;
    std::string headline;
    if (const std::optional<CategoryEntry> entry = lookup_(key)) {
      name = entry->name;
      headline = variables_.Substitute(current_.year, current_.issue,
                                       entry->heading.empty() ? entry->name : entry->heading, "");
    } else {
      headline =
          variables_.Substitute(current_.year, current_.issue, settings_.issueSubHeaderBefore, "") +
          key +
          variables_.Substitute(current_.year, current_.issue, settings_.issueSubHeaderAfter, "");
    }
    list_ += "<A NAME=" + key + ">\n";
    ToList(headline);
    if (categoryFrame()) categoryDocument_ += CategoryFrameLink(settings_, listName_, key, name);
  }
  ToList(tags_.open);
  sectionOpen_ = true;
  sectionCategory_ = record.category;
}

void IndexPages::CloseSection() {
  if (!sectionOpen_) return;
  ToList(tags_.close);
  sectionOpen_ = false;
}

void IndexPages::WriteItem(const ArticleRecord& record) {
  ToList(tags_.topic + "<A HREF=\"" + record.relativePath);
  if (frames()) {
    list_ += "\" TARGET=\"IndexBody\">";
    framesDocument_ += "\">";
  } else {
    list_ += "\">";
  }
  ToList(WithoutMarkup(record.description) + "</A>\n");
  if (!record.subdescription.empty()) {
    ToList(tags_.text + WithoutMarkup(record.subdescription) + "\n");
  }
}

}  // namespace indexer
