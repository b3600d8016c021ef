// The fixed HTML pieces of the index documents: the generator line, the head and foot of the
// index list, the author's address block and the tags of the configured list type.
#pragma once

#include <string>
#include <string_view>

#include "indexer/engine/index_variables.h"
#include "indexer/engine/index_writer_settings.h"

namespace indexer {

inline constexpr std::string_view kGeneratorLine =
    "<!DOCTYPE HTML PUBLIC \"-//W30//DTD W3 HTML 2.0//EN\">\n"
    "<!-- Created with \"Marlix Index 3.0.1\" by Tarnby -->\n";

// The tags around a list and before an item's topic and text, by the list-type bits: the first
// of definition (1, compact with 0x10), numbered (2), unnumbered (4) and custom (8) decides the
// open and close tags; none of them gives no tags at all.
struct ListTags {
  std::string open;
  std::string close;
  std::string topic;
  std::string text;
};

ListTags ListTagsFor(const ListSettings& list);

// Page text that goes into element content: "<" and ">" become "&lt;" and "&gt;", so a page's
// description cannot put markup of its own into the index; "&" is left alone, so entities the
// text already holds stay as they are.
std::string WithoutMarkup(std::string_view text);

// Year and issue of the record being written, for "$YEAR:" and "$ISSUE:".
struct RecordContext {
  std::string year;
  std::string issue;
};

// Head of the index list: generator line, IndexHeaderBefore, the title, IndexHeaderAfter.
std::string StandardHead(const IndexWriterSettings& settings, const IndexVariables& variables,
                         const RecordContext& record);

// Foot of the index list: IndexFooterBefore, the address block, IndexFooterAfter.
std::string StandardFoot(const IndexWriterSettings& settings, const IndexVariables& variables,
                         const RecordContext& record);

// "<ADDRESS>" with the author's name, linked when AuthorURL is set; nothing without a name.
std::string AddressBlock(const IndexWriterSettings& settings, const IndexVariables& variables,
                         const RecordContext& record);

}  // namespace indexer
