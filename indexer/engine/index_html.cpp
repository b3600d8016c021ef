#include "indexer/engine/index_html.h"

#include "indexer/store/settings_keys.h"

namespace indexer {

ListTags ListTagsFor(const ListSettings& list) {
  ListTags tags;
  const std::uint16_t type = list.type;
  if (type & kListDefinition) {
    tags.open = (type & kListCompact) ? "<DL COMPACT>\n" : "<DL>\n";
    tags.close = "</DL>\n";
  } else if (type & kListNumbered) {
    tags.open = "<OL>\n";
    tags.close = "</OL>\n";
  } else if (type & kListUnnumbered) {
    tags.open = "<UL>\n";
    tags.close = "</UL>\n";
  } else if (type & kListCustom) {
    tags.open = list.open;
    tags.close = list.close;
  }
  if (type & kListDefinition) {
    tags.topic = "<DT>";
    tags.text = "<DD>";
  } else if (type & kListCustom) {
    tags.topic = list.itemTopic;
    tags.text = list.itemText;
  } else {
    tags.topic = "<LI>";
  }
  return tags;
}

std::string StandardHead(const IndexWriterSettings& settings, const IndexVariables& variables,
                         const RecordContext& record) {
  std::string head(kGeneratorLine);
  head += variables.Substitute(record.year, record.issue, settings.indexHeaderBefore, "");
  head += "<TITLE>Index</TITLE>";
  head += variables.Substitute(record.year, record.issue, settings.indexHeaderAfter, "");
  head += '\n';
  return head;
}

std::string StandardFoot(const IndexWriterSettings& settings, const IndexVariables& variables,
                         const RecordContext& record) {
  std::string foot =
      variables.Substitute(record.year, record.issue, settings.indexFooterBefore, "");
  foot += AddressBlock(settings, variables, record);
  if (!settings.indexFooterAfter.empty()) {
    foot += variables.Substitute(record.year, record.issue, settings.indexFooterAfter, "");
    foot += '\n';
  }
  return foot;
}

std::string AddressBlock(const IndexWriterSettings& settings, const IndexVariables& variables,
                         const RecordContext& record) {
  if (settings.authorName.empty()) return {};
  const std::string name = variables.Substitute(record.year, record.issue, settings.authorName, "");
  std::string block = "<ADDRESS>";
  if (settings.authorURL.empty()) {
    block += name;
  } else {
    block += "<A HREF=\"";
    block += variables.Substitute(record.year, record.issue, settings.authorURL, "");
    block += "\" TARGET=\"About\">" + name + "</A>";
  }
  block += "</ADDRESS>\n";
  return block;
}

std::string WithoutMarkup(std::string_view text) {
  std::string escaped;
  escaped.reserve(text.size());
  for (const char c : text) {
    if (c == '<') {
      escaped += "&lt;";
    } else if (c == '>') {
      escaped += "&gt;";
    } else {
      escaped += c;
    }
  }
  return escaped;
}

}  // namespace indexer
