// The frames version of an index: the frames document that becomes the entry page (a frameset
// with optional header, category and footer frames around the list and body frames, then a
// NOFRAMES part that repeats the list), and the category frame document with one link per
// category section of the list.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "indexer/engine/index_html.h"
#include "indexer/engine/index_variables.h"
#include "indexer/engine/index_writer_settings.h"

namespace indexer {

// "\t<FRAME SRC=...>" for a header, category or footer frame.
std::string FrameLine(std::string_view url, const FrameSettings& frame);

// The frames document up to and including the NOFRAMES warning; the list follows it.
// listName is the list document's file name, categoryName the category frame document's.
std::string FramesDocumentStart(const IndexWriterSettings& settings, std::string_view listName,
                                std::string_view categoryName);

// The documents, other than the index's own, that the frames document shows in its header,
// category, footer and body frames: their URLs as the settings give them.
std::vector<std::string> OtherFrameDocuments(const IndexWriterSettings& settings,
                                             std::string_view categoryName);

// The category frame document's head: generator line, CategoryHeaderBefore, the title,
// CategoryHeaderAfter (entity-encoded, no variables).
std::string CategoryFrameHead(const IndexWriterSettings& settings);

// The link of one category section: key is the category as stored (the list's anchor), name
// its display name.
std::string CategoryFrameLink(const IndexWriterSettings& settings, std::string_view listName,
                              std::string_view key, std::string_view name);

// CategoryFooterBefore, the address block and CategoryFooterAfter, without a line end.
std::string CategoryFrameFoot(const IndexWriterSettings& settings, const IndexVariables& variables,
                              const RecordContext& record);

}  // namespace indexer
