// The variables of the index documents and the entity encoding of their texts.
//
// Texts the user configures for the index pages (heads, headings, feet, author lines) may hold
// "$ISSUE:", "$YEAR:", "$TIME:", "$DATE:" and "$CATEGORY:", filled in when an index is written.
// Every occurrence is filled in, in one left-to-right pass, and a filled-in value is never
// searched for variables again (a folder named "$DATE:" stays a folder name). The result is
// made safe for an HTML 2.0 page: characters 128 to 255 become entity references, 0 to 127
// (markup included) stay as they are.
#pragma once

#include <string>
#include <string_view>

#include "indexer/engine/date_format.h"

namespace indexer {

class IndexVariables {
 public:
  explicit IndexVariables(DateSettings date = {}, Clock clock = SystemNow);

  // The text with every variable filled in, then entity-encoded. category is the value of
  // "$CATEGORY:" (empty everywhere but the group heading of a category index).
  std::string Substitute(std::string_view year, std::string_view issue, std::string_view text,
                         std::string_view category) const;

 private:
  DateSettings date_;
  Clock clock_;
};

// The entity encoding alone: 128 to 159 as "&#128;" to "&#159;", 160 to 255 by their HTML 2.0
// Latin-1 names ("&nbsp;" to "&yuml;", "&brkbar;" for 166, "&hibar;" for 175).
std::string EncodeEntities(std::string_view text);

// The entity name (without "&" and ";") of a character 160 to 255; empty for any other.
std::string_view LatinEntityName(unsigned char code);

}  // namespace indexer
