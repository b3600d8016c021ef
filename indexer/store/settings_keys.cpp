#include "indexer/store/settings_keys.h"

#include <array>

namespace indexer {
namespace {

constexpr std::array<SettingKey, kSettingKeyCount> kKeys = {{
    {"IndexHeaderBefore", kIndexHeaderBefore, SettingType::kString,
     "Issue index: the text written before the TITLE element.", "<HTML><HEAD>", 0},
    {"IndexHeaderAfter", kIndexHeaderAfter, SettingType::kString,
     "Issue index: the text written after the TITLE element.", "</HEAD><BODY BGCOLOR=\"FFFFFF\">",
     0},
    {"IndexFooterBefore", kIndexFooterBefore, SettingType::kString,
     "Issue index: the text written before the ADDRESS element.", "<HR>", 0},
    {"IndexFooterAfter", kIndexFooterAfter, SettingType::kString,
     "Issue index: the text written after the ADDRESS element.", "</BODY></HTML>", 0},
    {"CategoryHeaderBefore", kCategoryHeaderBefore, SettingType::kString,
     "Category index: the text written before the TITLE element.", "<HTML><HEAD>", 0},
    {"CategoryHeaderAfter", kCategoryHeaderAfter, SettingType::kString,
     "Category index: the text written after the TITLE element.",
     "</HEAD><BODY BGCOLOR=\"FFFFFF\">", 0},
    {"CategoryFooterBefore", kCategoryFooterBefore, SettingType::kString,
     "Category index: the text written before the ADDRESS element.", "<HR>", 0},
    {"CategoryFooterAfter", kCategoryFooterAfter, SettingType::kString,
     "Category index: the text written after the ADDRESS element.", "</BODY></HTML>", 0},
    {"FramesWarning", kFramesWarning, SettingType::kString,
     "The text shown by browsers that cannot display frames.",
     "<HR>!! Frames-View: Please use Netscape 2.0 or higher...<HR>", 0},
    {"BodyURL", kBodyURL, SettingType::kString, "The first document shown in the body frame.",
     "../../GIFs/Start.html", 0},
    {"BodySize", kBodySize, SettingType::kString,
     "The size of the body frame, in pixels or percent.", "65%", 0},
    {"IndexScrollable", kIndexScrollable, SettingType::kBool,
     "Whether the body frame can be scrolled.", nullptr, 1},
    {"IndexResizable", kIndexResizable, SettingType::kBool,
     "Whether the body frame can be resized.", nullptr, 1},
    {"HeaderURL", kHeaderURL, SettingType::kString, "The document shown in the header frame.",
     "../../GIFs/header.html", 0},
    {"HeaderSize", kHeaderSize, SettingType::kString, "The size of the header frame.", "80", 0},
    {"HeaderScrollable", kHeaderScrollable, SettingType::kBool,
     "Whether the header frame can be scrolled.", nullptr, 0},
    {"HeaderResizable", kHeaderResizable, SettingType::kBool,
     "Whether the header frame can be resized.", nullptr, 0},
    {"FooterUR", kFooterUR, SettingType::kString, "The document shown in the footer frame.",
     "../../GIFs/footer.html", 0},
    {"FooterSize", kFooterSize, SettingType::kString, "The size of the footer frame.", "20", 0},
    {"FooterScrollable", kFooterScrollable, SettingType::kBool,
     "Whether the footer frame can be scrolled.", nullptr, 0},
    {"FooterResizable", kFooterResizable, SettingType::kBool,
     "Whether the footer frame can be resized.", nullptr, 0},
    {"CategoryURL", kCategoryURL, SettingType::kString, "The document shown in the category frame.",
     "category.html", 0},
    {"CategorySize", kCategorySize, SettingType::kString, "The size of the category frame.", "36",
     0},
    {"CategoryScrollable", kCategoryScrollable, SettingType::kBool,
     "Whether the category frame can be scrolled.", nullptr, 0},
    {"CategoryResizable", kCategoryResizable, SettingType::kBool,
     "Whether the category frame can be resized.", nullptr, 0},
    {"AuthorName", kAuthorName, SettingType::kString, "The author name written into the index.",
     "Tarnby", 0},
    {"AuthorURL", kAuthorURL, SettingType::kString, "The author link written into the index.",
     "http://www.tarnby.example/", 0},
    {"CategoryDelimiter", kCategoryDelimiter, SettingType::kString,
     "The text written between two categories in the category frame.", " | ", 0},
    {"IssueOpenList", kIssueOpenList, SettingType::kString,
     "Issue index, custom list: the text that opens the list.", "<DL>", 0},
    {"IssueItemTopic", kIssueItemTopic, SettingType::kString,
     "Issue index, custom list: the text before an article's topic.", "<DT>", 0},
    {"IssueItemText", kIssueItemText, SettingType::kString,
     "Issue index, custom list: the text before an article's text.", "<DD>", 0},
    {"IssueCloseList", kIssueCloseList, SettingType::kString,
     "Issue index, custom list: the text that closes the list.", "</DL>", 0},
    {"IssueHeader", kIssueHeader, SettingType::kString, "The heading of an issue index.",
     "<H1>Index of $ISSUE:/$YEAR:</H1>", 0},
    {"IssueSubHeaderBefore", kIssueSubHeaderBefore, SettingType::kString,
     "The text before a category heading inside an issue index.", "<H2>", 0},
    {"IssueSubHeaderAfter", kIssueSubHeaderAfter, SettingType::kString,
     "The text after a category heading inside an issue index.", "</H2>", 0},
    {"IssueListType", kIssueListType, SettingType::kShort,
     "The list type of the issue index: 1 DL, 2 OL, 4 UL, 8 custom, plus 16 for COMPACT.", nullptr,
     1},
    {"CategoryOpenList", kCategoryOpenList, SettingType::kString,
     "Category index, custom list: the text that opens the list.", "<DL>", 0},
    {"CategoryItemTopic", kCategoryItemTopic, SettingType::kString,
     "Category index, custom list: the text before an article's topic.", "<DT>", 0},
    {"CategoryItemText", kCategoryItemText, SettingType::kString,
     "Category index, custom list: the text before an article's text.", "<DD>", 0},
    {"CategoryCloseList", kCategoryCloseList, SettingType::kString,
     "Category index, custom list: the text that closes the list.", "</DL>", 0},
    {"CategoryHeader", kCategoryHeader, SettingType::kString, "The heading of a category index.",
     "<H1>Index of $CATEGORY:</H1>", 0},
    {"CategoryListType", kCategoryListType, SettingType::kShort,
     "The list type of the category index: 1 DL, 2 OL, 4 UL, 8 custom, plus 16 for COMPACT.",
     nullptr, 1},
    {"DateFormat", kDateFormat, SettingType::kShort,
     "Which date $DATE: gives: 0 the current date, 1 kOffsetDateFormat (today plus DateOffset "
     "days), 2 kCustomDateFormat (the text DateCustom).",
     nullptr, 0},
    {"DateOffset", kDateOffset, SettingType::kShort,
     "The days added to the current date under kOffsetDateFormat.", nullptr, 0},
    {"DateCustom", kDateCustom, SettingType::kString, "The date text used under kCustomDateFormat.",
     "", 0},
    {"HomePath", kHomePath, SettingType::kString,
     "The path of the archive folder, the $HOME: path variable.", "", 0},
    {"RootPath", kRootPath, SettingType::kString,
     "The path of the web server's root folder, the $ROOT: path variable.", "", 0},
    {"Viewer", kViewer, SettingType::kString, "The path of a browser for previews.", "", 0},
    {"CreateFrames", kCreateFrames, SettingType::kBool,
     "Whether a frames document is written besides the index.", nullptr, 0},
    {"ShowHeader", kShowHeader, SettingType::kBool,
     "Whether the frames document has a header frame.", nullptr, 1},
    {"ShowFooter", kShowFooter, SettingType::kBool,
     "Whether the frames document has a footer frame.", nullptr, 1},
    {"ShowCategory", kShowCategory, SettingType::kBool,
     "Whether the frames document has a category frame.", nullptr, 1},
    {"OpenIndex", kOpenIndex, SettingType::kBool,
     "Whether the written index is opened in the browser after a run.", nullptr, 1},
    {"AutoGetFolder", kAutoGetFolder, SettingType::kBool,
     "Whether a new document at once asks for a folder and scans it.", nullptr, 1},
    {"MakeCollection", kMakeCollection, SettingType::kBool,
     "Whether the scan result is kept as a collection for later processing.", nullptr, 1},
    {"InformOK", kInformOK, SettingType::kBool,
     "Whether the user is told when a scan or an index run succeeded.", nullptr, 0},
    {"InformErrors", kInformErrors, SettingType::kBool,
     "Whether the user is told when a scan or an index run failed.", nullptr, 1},
    {"InformBeep", kInformBeep, SettingType::kBool, "Whether a notification sounds.", nullptr, 1},
    {"LinkDocuments", kLinkDocuments, SettingType::kBool,
     "Whether the indexed documents are chained with previous, next and index links.", nullptr, 0},
    {"CheckLinks", kCheckLinks, SettingType::kBool, "Whether links are checked while indexing.",
     nullptr, 0},
    {"CreateDOSEnding", kCreateDOSEnding, SettingType::kBool,
     "Whether written files end in \".htm\" instead of \".html\".", nullptr, 1},
}};

}  // namespace

std::span<const SettingKey> SettingKeys() {
  return kKeys;
}

const SettingKey* FindSettingKey(std::string_view name) {
  for (const SettingKey& key : kKeys) {
    if (name == key.name) return &key;
  }
  return nullptr;
}

void StoreDefaultSettings(SettingsStore& store) {
  store.Clear();
  for (const SettingKey& key : kKeys) {
    switch (key.type) {
      case SettingType::kString:
        store.SetString(key.id, key.default_text);
        break;
      case SettingType::kBool:
        store.SetBool(key.id, key.default_number != 0);
        break;
      case SettingType::kShort:
        store.SetShort(key.id, static_cast<std::uint16_t>(key.default_number));
        break;
    }
  }
}

}  // namespace indexer
