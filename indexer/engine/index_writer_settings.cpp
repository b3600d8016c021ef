#include "indexer/engine/index_writer_settings.h"

#include "indexer/store/settings_keys.h"
#include "indexer/store/settings_store.h"

namespace indexer {
namespace {

std::string Text(const SettingsStore& store, SettingId id) {
  std::string value;
  store.GetString(id, value);
  return value;
}

bool Flag(const SettingsStore& store, SettingId id) {
  bool value = false;
  store.GetBool(id, value);
  return value;
}

std::uint16_t Short(const SettingsStore& store, SettingId id) {
  std::uint16_t value = 0;
  store.GetShort(id, value);
  return value;
}

FrameSettings Frame(const SettingsStore& store, SettingId url, SettingId size, SettingId scrollable,
                    SettingId resizable) {
  return {Text(store, url), Text(store, size), Flag(store, scrollable), Flag(store, resizable)};
}

ListSettings List(const SettingsStore& store, SettingId type, SettingId open, SettingId topic,
                  SettingId text, SettingId close) {
  return {Short(store, type), Text(store, open), Text(store, topic), Text(store, text),
          Text(store, close)};
}

}  // namespace

IndexWriterSettings ReadIndexWriterSettings(const SettingsStore& store) {
  IndexWriterSettings s;
  s.indexHeaderBefore = Text(store, kIndexHeaderBefore);
  s.indexHeaderAfter = Text(store, kIndexHeaderAfter);
  s.indexFooterBefore = Text(store, kIndexFooterBefore);
  s.indexFooterAfter = Text(store, kIndexFooterAfter);
  s.categoryHeaderBefore = Text(store, kCategoryHeaderBefore);
  s.categoryHeaderAfter = Text(store, kCategoryHeaderAfter);
  s.categoryFooterBefore = Text(store, kCategoryFooterBefore);
  s.categoryFooterAfter = Text(store, kCategoryFooterAfter);
  s.framesWarning = Text(store, kFramesWarning);
  s.body = Frame(store, kBodyURL, kBodySize, kIndexScrollable, kIndexResizable);
  s.header = Frame(store, kHeaderURL, kHeaderSize, kHeaderScrollable, kHeaderResizable);
  s.footer = Frame(store, kFooterUR, kFooterSize, kFooterScrollable, kFooterResizable);
  s.category = Frame(store, kCategoryURL, kCategorySize, kCategoryScrollable, kCategoryResizable);
  s.authorName = Text(store, kAuthorName);
  s.authorURL = Text(store, kAuthorURL);
  s.categoryDelimiter = Text(store, kCategoryDelimiter);
  s.issueList =
      List(store, kIssueListType, kIssueOpenList, kIssueItemTopic, kIssueItemText, kIssueCloseList);
  s.issueHeader = Text(store, kIssueHeader);
  s.issueSubHeaderBefore = Text(store, kIssueSubHeaderBefore);
  s.issueSubHeaderAfter = Text(store, kIssueSubHeaderAfter);
  s.categoryList = List(store, kCategoryListType, kCategoryOpenList, kCategoryItemTopic,
                        kCategoryItemText, kCategoryCloseList);
  s.categoryHeader = Text(store, kCategoryHeader);
  s.date.format = Short(store, kDateFormat);
  s.date.offsetDays = static_cast<std::int16_t>(Short(store, kDateOffset));
  s.date.custom = Text(store, kDateCustom);
  s.createFrames = Flag(store, kCreateFrames);
  s.showHeader = Flag(store, kShowHeader);
  s.showFooter = Flag(store, kShowFooter);
  s.showCategory = Flag(store, kShowCategory);
  s.linkDocuments = Flag(store, kLinkDocuments);
  s.dosEnding = Flag(store, kCreateDOSEnding);
  return s;
}

}  // namespace indexer
