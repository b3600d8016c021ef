// The documents of one index, built in memory record by record: the index list (a head, one
// heading per year/issue group, in an issue index one anchored section per run of a category,
// the items, a foot) and, in frames mode, the frames document that repeats the list after its
// frameset and the category frame document with one link per section.
//
// Nothing here touches a file: the writer hands the finished documents to the file system only
// when the whole run succeeded.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "indexer/engine/article_record.h"
#include "indexer/engine/index_html.h"
#include "indexer/engine/index_variables.h"
#include "indexer/engine/index_writer_settings.h"

namespace indexer {

class CategoryTable;

// A known category: its display name and the headline HTML written above its section.
struct CategoryEntry {
  std::string name;
  std::string heading;
};

using CategoryLookup = std::function<std::optional<CategoryEntry>(std::string_view category)>;

// Looks a category up in the table under its 8-character key; never finds anything without a
// table.
CategoryLookup LookupIn(const CategoryTable* table);

// ".htm" under CreateDOSEnding, else ".html".
std::string OutputExtension(bool dosEnding);

class IndexPages {
 public:
  struct Document {
    std::string name;  // file name in the collection's folder
    std::string content;
  };

  IndexPages(IndexWriterSettings settings, IndexVariables variables, bool categoryIndex,
             CategoryLookup lookup);

  // Starts the documents; headSnippet, when given, replaces the standard head of the list.
  void Begin(const std::optional<std::string>& headSnippet);
  // One record: a group heading when its year or issue changes, a category section when its
  // category changes (issue index), then its item.
  void Add(const ArticleRecord& record);
  // Closes the open list and writes the list's foot (footSnippet, when given, replaces it).
  void End(const std::optional<std::string>& footSnippet);
  // The category frame document's foot; due after End, or after a run stopped early.
  void Finish();

  // The documents in the order in which they should appear on disk, the entry page last.
  std::vector<Document> Documents() const;
  // The entry page: the frames document in frames mode, else the list.
  std::string EntryName() const;
  // The URLs of the documents not written here that the frames document shows; none without
  // frames.
  std::vector<std::string> OtherFrameDocuments() const;

 private:
  bool frames() const { return settings_.createFrames; }
  bool categoryFrame() const { return settings_.createFrames && settings_.showCategory; }
  // To the list document and, in frames mode, to the frames document as well.
  void ToList(std::string_view text);
  void OpenSection(const ArticleRecord& record);
  void CloseSection();
  void WriteItem(const ArticleRecord& record);

  IndexWriterSettings settings_;
  IndexVariables variables_;
  bool categoryIndex_;
  CategoryLookup lookup_;
  ListTags tags_;
  std::string extension_;
  std::string listName_;

  std::string list_;
  std::string framesDocument_;
  std::string categoryDocument_;

  RecordContext current_;
  bool sectionOpen_ = false;
  std::string sectionCategory_;
};

}  // namespace indexer
