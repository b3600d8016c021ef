// The preferences an index writing run reads, taken from the store once at the start of the run
// so that the page generation works on plain values.
#pragma once

#include <cstdint>
#include <string>

#include "indexer/engine/date_format.h"

namespace indexer {

class SettingsStore;

// The four texts of a custom list (list-type bit 8) and the list-type bits themselves.
struct ListSettings {
  std::uint16_t type = 0;
  std::string open;
  std::string itemTopic;
  std::string itemText;
  std::string close;
};

// One frame of the frames document.
struct FrameSettings {
  std::string url;
  std::string size;
  bool scrollable = false;
  bool resizable = false;
};

struct IndexWriterSettings {
  std::string indexHeaderBefore;
  std::string indexHeaderAfter;
  std::string indexFooterBefore;
  std::string indexFooterAfter;
  std::string categoryHeaderBefore;
  std::string categoryHeaderAfter;
  std::string categoryFooterBefore;
  std::string categoryFooterAfter;
  std::string framesWarning;
  // The list and body frames: url is BodyURL, size BodySize, the flags IndexScrollable and
  // IndexResizable.
  FrameSettings body;
  FrameSettings header;
  FrameSettings footer;
  FrameSettings category;
  std::string authorName;
  std::string authorURL;
  std::string categoryDelimiter;
  ListSettings issueList;
  std::string issueHeader;
  std::string issueSubHeaderBefore;
  std::string issueSubHeaderAfter;
  ListSettings categoryList;
  std::string categoryHeader;
  DateSettings date;
  bool createFrames = false;
  bool showHeader = false;
  bool showFooter = false;
  bool showCategory = false;
  bool linkDocuments = false;
  bool dosEnding = false;
};

// A missing preference reads as an empty text, false or 0.
IndexWriterSettings ReadIndexWriterSettings(const SettingsStore& store);

}  // namespace indexer
