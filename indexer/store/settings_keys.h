// The indexer's 61 preference keys: name, id, value type, default and a one-sentence description.
// Code reaches a preference through its id constant; the table itself documents the keys and
// drives the defaults and the command line's KEY=VALUE listing.
#pragma once

#include <cstdint>
#include <span>
#include <string_view>

#include "indexer/store/settings_store.h"

namespace indexer {

enum class SettingType : std::uint8_t { kString = 0, kBool = 1, kShort = 2 };

struct SettingKey {
  const char* name;
  SettingId id;
  SettingType type;
  const char* description;
  const char* default_text;     // strings
  std::int16_t default_number;  // booleans and shorts
};

// Group 00: issue index page head and foot.
inline constexpr SettingId kIndexHeaderBefore = 0x01010001;
inline constexpr SettingId kIndexHeaderAfter = 0x01010002;
inline constexpr SettingId kIndexFooterBefore = 0x01010003;
inline constexpr SettingId kIndexFooterAfter = 0x01010004;
// Group 01: category index page head and foot.
inline constexpr SettingId kCategoryHeaderBefore = 0x01010101;
inline constexpr SettingId kCategoryHeaderAfter = 0x01010102;
inline constexpr SettingId kCategoryFooterBefore = 0x01010103;
inline constexpr SettingId kCategoryFooterAfter = 0x01010104;
// Group 02: frames warning.
inline constexpr SettingId kFramesWarning = 0x01010201;
// Group 03: body frame.
inline constexpr SettingId kBodyURL = 0x01010301;
inline constexpr SettingId kBodySize = 0x01010302;
inline constexpr SettingId kIndexScrollable = 0x01010303;
inline constexpr SettingId kIndexResizable = 0x01010304;
// Group 04: header frame.
inline constexpr SettingId kHeaderURL = 0x01010401;
inline constexpr SettingId kHeaderSize = 0x01010402;
inline constexpr SettingId kHeaderScrollable = 0x01010403;
inline constexpr SettingId kHeaderResizable = 0x01010404;
// Group 05: footer frame (the key's name is spelled FooterUR).
inline constexpr SettingId kFooterUR = 0x01010501;
inline constexpr SettingId kFooterSize = 0x01010502;
inline constexpr SettingId kFooterScrollable = 0x01010503;
inline constexpr SettingId kFooterResizable = 0x01010504;
// Group 06: category frame.
inline constexpr SettingId kCategoryURL = 0x01010601;
inline constexpr SettingId kCategorySize = 0x01010602;
inline constexpr SettingId kCategoryScrollable = 0x01010603;
inline constexpr SettingId kCategoryResizable = 0x01010604;
// Group 07: author.
inline constexpr SettingId kAuthorName = 0x01010701;
inline constexpr SettingId kAuthorURL = 0x01010702;
// Group 08: category delimiter.
inline constexpr SettingId kCategoryDelimiter = 0x01010801;
// Group 09: issue list layout.
inline constexpr SettingId kIssueOpenList = 0x01010901;
inline constexpr SettingId kIssueItemTopic = 0x01010902;
inline constexpr SettingId kIssueItemText = 0x01010903;
inline constexpr SettingId kIssueCloseList = 0x01010904;
inline constexpr SettingId kIssueHeader = 0x01010905;
inline constexpr SettingId kIssueSubHeaderBefore = 0x01010906;
inline constexpr SettingId kIssueSubHeaderAfter = 0x01010907;
inline constexpr SettingId kIssueListType = 0x01010908;
// Group 0A: category list layout.
inline constexpr SettingId kCategoryOpenList = 0x01010A01;
inline constexpr SettingId kCategoryItemTopic = 0x01010A02;
inline constexpr SettingId kCategoryItemText = 0x01010A03;
inline constexpr SettingId kCategoryCloseList = 0x01010A04;
inline constexpr SettingId kCategoryHeader = 0x01010A05;
inline constexpr SettingId kCategoryListType = 0x01010A06;
// Group 0B: date.
inline constexpr SettingId kDateFormat = 0x01010B01;
inline constexpr SettingId kDateOffset = 0x01010B02;
inline constexpr SettingId kDateCustom = 0x01010B03;
// Group 0C: path variables.
inline constexpr SettingId kHomePath = 0x01010C01;
inline constexpr SettingId kRootPath = 0x01010C02;
// Group 0D: viewer.
inline constexpr SettingId kViewer = 0x01010D01;
// Group 0E: frames switches.
inline constexpr SettingId kCreateFrames = 0x01010E01;
inline constexpr SettingId kShowHeader = 0x01010E02;
inline constexpr SettingId kShowFooter = 0x01010E03;
inline constexpr SettingId kShowCategory = 0x01010E04;
// Group 0F: start-up and result behaviour.
inline constexpr SettingId kOpenIndex = 0x01010F01;
inline constexpr SettingId kAutoGetFolder = 0x01010F02;
inline constexpr SettingId kMakeCollection = 0x01010F03;
// Group 10: notification.
inline constexpr SettingId kInformOK = 0x01011001;
inline constexpr SettingId kInformErrors = 0x01011002;
inline constexpr SettingId kInformBeep = 0x01011003;
// Group 11: document processing.
inline constexpr SettingId kLinkDocuments = 0x01011101;
inline constexpr SettingId kCheckLinks = 0x01011102;
inline constexpr SettingId kCreateDOSEnding = 0x01011103;

// DateFormat values: which date $DATE: gives.
inline constexpr std::uint16_t kCurrentDateFormat = 0;
inline constexpr std::uint16_t kOffsetDateFormat = 1;  // today plus DateOffset days
inline constexpr std::uint16_t kCustomDateFormat = 2;  // the text DateCustom

// IssueListType / CategoryListType bits: one kind bit, optionally kListCompact.
inline constexpr std::uint16_t kListDefinition = 0x01;  // DL
inline constexpr std::uint16_t kListNumbered = 0x02;    // OL
inline constexpr std::uint16_t kListUnnumbered = 0x04;  // UL
inline constexpr std::uint16_t kListCustom = 0x08;      // the four OpenList..CloseList strings
inline constexpr std::uint16_t kListCompact = 0x10;     // COMPACT on a definition list

inline constexpr std::size_t kSettingKeyCount = 61;

// The keys in table order.
std::span<const SettingKey> SettingKeys();

// The key of that name (exact spelling), or null.
const SettingKey* FindSettingKey(std::string_view name);

// Clears the store, then stores every key's default in table order.
void StoreDefaultSettings(SettingsStore& store);

}  // namespace indexer
