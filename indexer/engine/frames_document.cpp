#include "indexer/engine/frames_document.h"

namespace indexer {
namespace {

// Names under which CategoryURL means the category frame document this writer makes.
constexpr std::string_view kCategoryDocumentNames[] = {"category.html", "category.htm"};

std::string Scrolling(bool scrollable, bool resizable) {
  std::string text = scrollable ? "YES\"" : "NO\"";
  if (resizable) text += " RESIZABLE";
  return text;
}

// The category frame shows our own category document; the default CategoryURL names it with
// ".html", which would miss the ".htm" file written under CreateDOSEnding.
std::string_view CategoryFrameUrl(const IndexWriterSettings& settings,
                                  std::string_view categoryName) {
  for (std::string_view name : kCategoryDocumentNames) {
    if (settings.category.url == name) return categoryName;
  }
  return settings.category.url;
}

}  // namespace

std::string FrameLine(std::string_view url, const FrameSettings& frame) {
  std::string line = "\t<FRAME SRC=\"";
  line += url;
  line += "\" SCROLLING=\"" + Scrolling(frame.scrollable, frame.resizable) + ">\n";
  return line;
}

std::string FramesDocumentStart(const IndexWriterSettings& settings, std::string_view listName,
                                std::string_view categoryName) {
  std::string text(kGeneratorLine);
  text += "<HTML>\n<HEAD><TITLE>Index</TITLE></HEAD>\n";
  const bool outer = settings.showHeader || settings.showCategory || settings.showFooter;
  if (outer) {
    text += "<FRAMESET ROWS=\"";
    if (settings.showHeader) text += settings.header.size + ", ";
    if (settings.showCategory) text += settings.category.size + ", ";
    text += "*";
    if (settings.showFooter) text += ", " + settings.footer.size;
    text += "\">\n";
  }
  if (settings.showHeader) text += FrameLine(settings.header.url, settings.header);
  if (settings.showCategory) {
    text += FrameLine(CategoryFrameUrl(settings, categoryName), settings.category);
  }
  text += "<FRAMESET COLS=\"*, " + settings.body.size + "\">\n";
  text += "\t<FRAME SRC=\"";
  text += listName;
  text += "\" NAME=\"IndexList\" SCROLLING=\"" +
          Scrolling(settings.body.scrollable, settings.body.resizable) + ">\n";
  text += "\t<FRAME SRC=\"";
  if (settings.body.url.empty()) {
    text += listName;
  } else {
    text += settings.body.url;
  }
  text += "\" NAME=\"IndexBody\" SCROLLING=\"YES\" RESIZABLE>\n";
  text += "</FRAMESET>\n";
  if (settings.showFooter) text += FrameLine(settings.footer.url, settings.footer);
  if (outer) text += "</FRAMESET>\n";
  text += "<NOFRAMES>\n" + EncodeEntities(settings.framesWarning) + "\n";
  return text;
}

std::vector<std::string> OtherFrameDocuments(const IndexWriterSettings& settings,
                                             std::string_view categoryName) {
  std::vector<std::string> urls;
  if (settings.showHeader) urls.push_back(settings.header.url);
  if (settings.showCategory && CategoryFrameUrl(settings, categoryName) != categoryName) {
    urls.push_back(settings.category.url);
  }
  if (settings.showFooter) urls.push_back(settings.footer.url);
  if (!settings.body.url.empty()) urls.push_back(settings.body.url);
  return urls;
}

std::string CategoryFrameHead(const IndexWriterSettings& settings) {
  std::string text(kGeneratorLine);
  text += EncodeEntities(settings.categoryHeaderBefore);
  text += "<TITLE>Category</TITLE>";
  text += EncodeEntities(settings.categoryHeaderAfter);
  text += '\n';
  return text;
}

std::string CategoryFrameLink(const IndexWriterSettings& settings, std::string_view listName,
                              std::string_view key, std::string_view name) {
  std::string link = "<A HREF=\"";
  link += listName;
  link += '#';
  link += key;
  link += "\" TARGET=\"IndexList\">";
  link += name;
  link += "</A>" + settings.categoryDelimiter + "\n";
  return link;
}

std::string CategoryFrameFoot(const IndexWriterSettings& settings, const IndexVariables& variables,
                              const RecordContext& record) {
  std::string text =
      variables.Substitute(record.year, record.issue, settings.categoryFooterBefore, "");
  text += AddressBlock(settings, variables, record);
  text += variables.Substitute(record.year, record.issue, settings.categoryFooterAfter, "");
  return text;
}

}  // namespace indexer
