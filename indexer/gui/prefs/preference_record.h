// The preferences sheet's own copy of every setting it edits and of the category list, taken
// from the engine when the sheet opens and written back (and saved) when it closes. Standard
// library only, so the conversions can be tested without windows.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace indexer {

class IndexEngine;

// List kinds in the order of the Layout page's radio buttons.
enum class ListKind : int { kDefinition = 0, kNumbered = 1, kUnnumbered = 2, kCustom = 3 };

struct FrameValues {
  std::string url;
  bool show = false;  // never stored for the body frame
  std::string size;
  bool scrollable = false;
  bool resizable = false;
};

struct HeadAndFoot {
  std::string headerBefore, headerAfter, footerBefore, footerAfter;
};

struct ListLayout {
  std::string header;
  std::string subHeaderBefore, subHeaderAfter;  // issue index only
  ListKind kind = ListKind::kDefinition;
  bool compact = false;
  std::string openList, itemTopic, itemText, closeList;
};

struct CategoryEntry {
  std::string name;
  std::string heading;

  bool operator==(const CategoryEntry&) const = default;
};

struct PreferenceRecord {
  bool informOK = false, informErrors = false, informBeep = false;
  std::string framesWarning;
  std::vector<CategoryEntry> categories;
  std::string categoryDelimiter;
  HeadAndFoot issuePage, categoryPage;
  FrameValues headerFrame, footerFrame, bodyFrame, categoryFrame;
  std::string authorName, authorURL;
  bool createFrames = false, openIndex = false, autoGetFolder = false, linkDocuments = false,
       createDOSEnding = false, checkLinks = false;
  ListLayout issueLayout, categoryLayout;
  std::string homePath, rootPath;
  std::uint16_t dateFormat = 0, dateOffset = 0;
  std::string dateCustom;
};

// Stored list type bits <-> kind and compact flag. The kind is the highest kind bit present.
void ListKindFromBits(std::uint16_t bits, ListKind& kind, bool& compact);
std::uint16_t ListBitsFromKind(ListKind kind, bool compact);

// A frame URL cut three characters after its last full stop (".html" becomes ".htm").
std::string DosEnding(std::string_view url);

// Only the bytes 0x20 to 0x7F: line breaks, tabs and bytes from 0x80 up are dropped.
std::string PrintableText(std::string_view text);

// A line of the category list: the trimmed name cut to 30 characters, one to three tabs so that
// the headings line up, the trimmed heading; and the way back.
std::string CategoryLine(const CategoryEntry& entry);
CategoryEntry CategoryFromLine(std::string_view line);

// The heading a category gets from the editor's "Default" button.
std::string DefaultCategoryHeading(std::string_view name);

PreferenceRecord ReadPreferenceRecord(IndexEngine& engine);
// Stores the record into the engine's store and category table and saves both files.
void WritePreferenceRecord(const PreferenceRecord& record, IndexEngine& engine);

}  // namespace indexer
