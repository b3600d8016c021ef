#include "indexer/gui/prefs/preference_record.h"

#include "indexer/engine/index_engine.h"
#include "indexer/store/category_table.h"
#include "indexer/store/settings_keys.h"

namespace indexer {
namespace {

constexpr std::size_t kCategoryLineNameLimit = 30;

std::string_view Trim(std::string_view text) {
  while (!text.empty() && text.front() == ' ')
    text.remove_prefix(1);
  while (!text.empty() && text.back() == ' ')
    text.remove_suffix(1);
  return text;
}

// Typed reads and writes of one store; a missing key gives "", false or 0.
class StoreAccess {
 public:
  explicit StoreAccess(SettingsStore& store) : store_(store) {}

  void read(SettingId id, std::string& value) const { store_.GetString(id, value); }
  void read(SettingId id, bool& value) const {
    value = false;
    store_.GetBool(id, value);
  }
  void read(SettingId id, std::uint16_t& value) const {
    value = 0;
    store_.GetShort(id, value);
  }
  void write(SettingId id, const std::string& value) { store_.SetString(id, value); }
  void write(SettingId id, bool value) { store_.SetBool(id, value); }
  void write(SettingId id, std::uint16_t value) { store_.SetShort(id, value); }

 private:
  SettingsStore& store_;
};

// Every field of the record with its key, visited the same way for reading and for writing.
template <typename Record, typename Visit>
void VisitFields(Record& r, Visit&& visit) {
  visit(kInformOK, r.informOK);
  visit(kInformErrors, r.informErrors);
  visit(kInformBeep, r.informBeep);
  visit(kFramesWarning, r.framesWarning);
  visit(kCategoryDelimiter, r.categoryDelimiter);
  visit(kIndexHeaderBefore, r.issuePage.headerBefore);
  visit(kIndexHeaderAfter, r.issuePage.headerAfter);
  visit(kIndexFooterBefore, r.issuePage.footerBefore);
  visit(kIndexFooterAfter, r.issuePage.footerAfter);
  visit(kCategoryHeaderBefore, r.categoryPage.headerBefore);
  visit(kCategoryHeaderAfter, r.categoryPage.headerAfter);
  visit(kCategoryFooterBefore, r.categoryPage.footerBefore);
  visit(kCategoryFooterAfter, r.categoryPage.footerAfter);
  visit(kHeaderURL, r.headerFrame.url);
  visit(kShowHeader, r.headerFrame.show);
  visit(kHeaderSize, r.headerFrame.size);
  visit(kHeaderScrollable, r.headerFrame.scrollable);
  visit(kHeaderResizable, r.headerFrame.resizable);
  visit(kFooterUR, r.footerFrame.url);
  visit(kShowFooter, r.footerFrame.show);
  visit(kFooterSize, r.footerFrame.size);
  visit(kFooterScrollable, r.footerFrame.scrollable);
  visit(kFooterResizable, r.footerFrame.resizable);
  visit(kBodyURL, r.bodyFrame.url);
  visit(kBodySize, r.bodyFrame.size);
  visit(kIndexScrollable, r.bodyFrame.scrollable);
  visit(kIndexResizable, r.bodyFrame.resizable);
  visit(kCategoryURL, r.categoryFrame.url);
  visit(kShowCategory, r.categoryFrame.show);
  visit(kCategorySize, r.categoryFrame.size);
  visit(kCategoryScrollable, r.categoryFrame.scrollable);
  visit(kCategoryResizable, r.categoryFrame.resizable);
  visit(kAuthorName, r.authorName);
  visit(kAuthorURL, r.authorURL);
  visit(kCreateFrames, r.createFrames);
  visit(kOpenIndex, r.openIndex);
  visit(kAutoGetFolder, r.autoGetFolder);
  visit(kLinkDocuments, r.linkDocuments);
  visit(kCreateDOSEnding, r.createDOSEnding);
  visit(kCheckLinks, r.checkLinks);
  visit(kIssueHeader, r.issueLayout.header);
  visit(kIssueSubHeaderBefore, r.issueLayout.subHeaderBefore);
  visit(kIssueSubHeaderAfter, r.issueLayout.subHeaderAfter);
  visit(kIssueOpenList, r.issueLayout.openList);
  visit(kIssueItemTopic, r.issueLayout.itemTopic);
  visit(kIssueItemText, r.issueLayout.itemText);
  visit(kIssueCloseList, r.issueLayout.closeList);
  visit(kCategoryHeader, r.categoryLayout.header);
  visit(kCategoryOpenList, r.categoryLayout.openList);
  visit(kCategoryItemTopic, r.categoryLayout.itemTopic);
  visit(kCategoryItemText, r.categoryLayout.itemText);
  visit(kCategoryCloseList, r.categoryLayout.closeList);
  visit(kHomePath, r.homePath);
  visit(kRootPath, r.rootPath);
  visit(kDateFormat, r.dateFormat);
  visit(kDateOffset, r.dateOffset);
  visit(kDateCustom, r.dateCustom);
}

}  // namespace

void ListKindFromBits(std::uint16_t bits, ListKind& kind, bool& compact) {
  compact = (bits & kListCompact) != 0;
  if (bits & kListCustom) {
    kind = ListKind::kCustom;
  } else if (bits & kListUnnumbered) {
    kind = ListKind::kUnnumbered;
  } else if (bits & kListNumbered) {
    kind = ListKind::kNumbered;
  } else {
    kind = ListKind::kDefinition;
  }
}

std::uint16_t ListBitsFromKind(ListKind kind, bool compact) {
  std::uint16_t bits = kListDefinition;
  switch (kind) {
    case ListKind::kCustom:
      bits = kListCustom;
      break;
    case ListKind::kUnnumbered:
      bits = kListUnnumbered;
      break;
    case ListKind::kNumbered:
      bits = kListNumbered;
      break;
    case ListKind::kDefinition:
      break;
  }
  return compact ? bits | kListCompact : bits;
}

std::string DosEnding(std::string_view url) {
  const std::size_t dot = url.rfind('.');
  if (dot == std::string_view::npos) return std::string(url);
  return std::string(url.substr(0, dot + 4));
}

std::string PrintableText(std::string_view text) {
  std::string kept;
  for (const char c : text) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte >= 0x20 && byte <= 0x7F) kept.push_back(c);
  }
  return kept;
}

std::string CategoryLine(const CategoryEntry& entry) {
  const std::string name(Trim(entry.name).substr(0, kCategoryLineNameLimit));
  const std::size_t tabs = name.size() <= 8 ? 3 : name.size() <= 16 ? 2 : 1;
  return name + std::string(tabs, '\t') + std::string(Trim(entry.heading));
}

CategoryEntry CategoryFromLine(std::string_view line) {
  std::string_view name = line.substr(0, line.find('\t'));
  while (!name.empty() && name.back() == ' ')
    name.remove_suffix(1);
  const std::size_t lastTab = line.rfind('\t');
  std::string_view heading = lastTab == std::string_view::npos ? line : line.substr(lastTab + 1);
  while (!heading.empty() && heading.front() == ' ')
    heading.remove_prefix(1);
  return {std::string(name), std::string(heading)};
}

std::string DefaultCategoryHeading(std::string_view name) {
  const std::string text(name);
  return "<H2><IMG SRC=\"../../GIFs/" + text + ".gif\" ALT=\"" + text + "\"></H2>";
}

PreferenceRecord ReadPreferenceRecord(IndexEngine& engine) {
  PreferenceRecord record;
  const StoreAccess store(engine.preferences());
  VisitFields(record, [&](SettingId id, auto& field) { store.read(id, field); });
  std::uint16_t bits = 0;
  store.read(kIssueListType, bits);
  ListKindFromBits(bits, record.issueLayout.kind, record.issueLayout.compact);
  store.read(kCategoryListType, bits);
  ListKindFromBits(bits, record.categoryLayout.kind, record.categoryLayout.compact);
  CategoryEntry entry;
  for (std::size_t n = 0; engine.CategoryAt(n, entry.name, &entry.heading) == kNoErr; ++n)
    record.categories.push_back(entry);
  return record;
}

void WritePreferenceRecord(const PreferenceRecord& record, IndexEngine& engine) {
  PreferenceRecord stored = record;
  if (stored.createDOSEnding) {
    for (FrameValues* frame :
         {&stored.headerFrame, &stored.footerFrame, &stored.bodyFrame, &stored.categoryFrame})
      frame->url = DosEnding(frame->url);
  }
  StoreAccess store(engine.preferences());
  VisitFields(stored, [&](SettingId id, const auto& field) { store.write(id, field); });
  store.write(kIssueListType,
              ListBitsFromKind(stored.issueLayout.kind, stored.issueLayout.compact));
  store.write(kCategoryListType,
              ListBitsFromKind(stored.categoryLayout.kind, stored.categoryLayout.compact));

  CategoryTable& table = engine.categories();
  table.Clear();
  for (const CategoryEntry& entry : stored.categories)
    table.Add(CategoryKeyFor(entry.name), entry.name + kCategorySeparator + entry.heading);
  engine.SaveSettings();
  engine.SaveCategories();
}

}  // namespace indexer
