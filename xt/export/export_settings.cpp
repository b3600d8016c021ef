#include "xt/export/export_settings.h"

#include <array>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/config_folder.h"
#include "platform/cp1252.h"
#include "platform/profile.h"
#include "xt/export/dialog_values.h"
#include "xt/export/text_converter.h"

namespace xt {
namespace {

constexpr std::string_view kProfileName = "MarlixXT40.INI";
constexpr std::string_view kSettings = "Settings";
constexpr std::string_view kExportDialog = "ExportDialog";
constexpr std::string_view kMetaTags = "MetaTags";
constexpr std::string_view kToolsSheet = "ToolsSheet";
constexpr std::string_view kDestFolderBelowHome = "/MarlixXT_2.5/Archive";
constexpr char kUniqueSeparator = '\xff';

struct KeyInfo {
  std::string_view name;
  std::string_view section;
  std::string_view text_default;  // for string keys
  int int_default;                // for integer keys
};

// Every key of the profile file with its section and default. DestFolder's default depends on
// the home folder and is filled in by DefaultDestFolder().
constexpr std::array kKeys = {
    KeyInfo{"DestFolder", kSettings, "", 0},
    KeyInfo{"Browser", kSettings, "", 0},
    KeyInfo{"Explorer", kSettings, "", 1},
    KeyInfo{"Indexer", kSettings, "indexer", 0},
    KeyInfo{"HTMLSuffix", kSettings, "", 1},
    KeyInfo{"DosNames", kSettings, "", 1},
    KeyInfo{"ImageVSpace", kSettings, "", 2},
    KeyInfo{"ImageHSpace", kSettings, "", 2},
    KeyInfo{"FontFace", kSettings, "", 0},
    KeyInfo{"TextColor", kSettings, "", 0},
    KeyInfo{"Antialise", kSettings, "", 0},
    KeyInfo{"PictType", kSettings, "", 0},
    KeyInfo{"H1Size", kSettings, "", 16},
    KeyInfo{"H2Size", kSettings, "", 15},
    KeyInfo{"H3Size", kSettings, "", 14},
    KeyInfo{"H4Size", kSettings, "", 0},
    KeyInfo{"H5Size", kSettings, "", 0},
    KeyInfo{"H6Size", kSettings, "", 0},
    KeyInfo{"OpenBrowser", kSettings, "", 1},
    KeyInfo{"IgnoreChain", kSettings, "", 1},
    KeyInfo{"ExternalHeadFootFile", kSettings, "", 0},
    KeyInfo{"Header", kSettings, "", 0},
    KeyInfo{"Footer", kSettings, "", 0},
    KeyInfo{"TextBreak", kSettings, "<P>", 0},
    KeyInfo{"PictBreak", kSettings, "<P>", 0},
    KeyInfo{"LeftIndent", kSettings,
            "<IMG SRC=\"$HOME:initials/indent.gif\" ALIGN=LEFT WIDTH=8 HEIGHT=5 ALT=\"\">", 0},
    KeyInfo{"ImageCaptionStart", kSettings, "", 0},
    KeyInfo{"ImageCaptionEnd", kSettings, "", 0},
    KeyInfo{"ImageCaptionHSpace", kSettings, "", 0},
    KeyInfo{"ImageCaptionVSpace", kSettings, "", 2},
    KeyInfo{"DateType", kSettings, "", 0},
    KeyInfo{"DateOffset", kSettings, "", 1},
    KeyInfo{"FixedDate", kSettings, "", 0},
    KeyInfo{"UseMetaTags", kSettings, "", 0},
    KeyInfo{"Rubrics", kSettings, "Culture|Economy|Politics|Sports|", 0},
    KeyInfo{"Path", kExportDialog, "[1998]", 0},
    KeyInfo{"Issue", kExportDialog, "01", 0},
    KeyInfo{"Category", kExportDialog, "Culture", 0},
    KeyInfo{"HeaderFile", kExportDialog, "", 0},
    KeyInfo{"FooterFile", kExportDialog, "", 0},
    KeyInfo{"Headline", kExportDialog, "This is the headline for table of contents", 0},
    KeyInfo{"SubHeadline", kExportDialog, "This is the sub headline for table of contents", 0},
    KeyInfo{"WindowPos", kToolsSheet, "100 100", 0},
    KeyInfo{"Show", kToolsSheet, "", 0},
    KeyInfo{"ActivePage", kToolsSheet, "", 0},
};

struct DefaultTag {
  std::string_view name;
  std::string_view content;
  bool unique;
};

constexpr std::array kDefaultTags = {
    DefaultTag{"Publisher", "Your publisher name", false},
    DefaultTag{"Publication", "Your publication name", false},
    DefaultTag{"URL", "URL to your site", false},
    DefaultTag{"Author", "", true},
    DefaultTag{"Keywords", "", true},
};

bool SameName(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    const auto upper = [](char c) { return (c >= 'a' && c <= 'z') ? char(c - 'a' + 'A') : c; };
    if (upper(a[i]) != upper(b[i])) return false;
  }
  return true;
}

KeyInfo FindKey(std::string_view name) {
  for (const auto& key : kKeys) {
    if (SameName(key.name, name)) return key;
  }
  return KeyInfo{name, kSettings, "", 0};
}

// The home folder's name on disk is UTF-8, the settings' text Windows-1252.
std::string DefaultDestFolder() {
  const std::string home = platform::HomeFolder();
  return platform::Utf8ToCp1252(home).value_or(home) + std::string(kDestFolderBelowHome);
}

ExportSettings* g_active_settings = nullptr;

std::string TextIn(const platform::IniDocument& profile, std::string_view name) {
  const KeyInfo key = FindKey(name);
  const std::optional<std::string> value = profile.Get(key.section, key.name);
  if (value) return *value;
  return SameName(key.name, "DestFolder") ? DefaultDestFolder() : std::string(key.text_default);
}

int IntIn(const platform::IniDocument& profile, std::string_view name) {
  const KeyInfo key = FindKey(name);
  const std::optional<std::string> value = profile.Get(key.section, key.name);
  return value ? platform::ParseProfileInt(*value) : key.int_default;
}

}  // namespace

ExportSettings::ExportSettings(std::string profile_path) : profile_path_(std::move(profile_path)) {
  Load();
}

std::string ExportSettings::DefaultProfilePath() {
  return platform::ConfigFile(std::string(kProfileName));
}

std::string ExportSettings::ReadString(std::string_view name) const {
  return TextIn(platform::ReadIniFile(profile_path_), name);
}

int ExportSettings::ReadInt(std::string_view name) const {
  return IntIn(platform::ReadIniFile(profile_path_), name);
}

void ExportSettings::WriteString(std::string_view name, std::string_view value) const {
  const KeyInfo key = FindKey(name);
  platform::WriteProfileString(profile_path_, key.section, key.name, value);
}

void ExportSettings::WriteInt(std::string_view name, int value) const {
  const KeyInfo key = FindKey(name);
  platform::WriteProfileInt(profile_path_, key.section, key.name, value);
}

bool ExportSettings::SetJobField(std::string_view name, std::string value) {
  std::string* field = nullptr;
  if (name == "Path") field = &Path;
  if (name == "Issue") field = &Issue;
  if (name == "Category") field = &Category;
  if (name == "FileName") field = &FileName;
  if (name == "Headline") field = &Headline;
  if (name == "SubHeadline") field = &SubHeadline;
  if (name == "HeaderFile") field = &HeaderFile;
  if (name == "FooterFile") field = &FooterFile;
  if (!field) return false;
  *field = std::move(value);
  return true;
}

void ExportSettings::Load() {
  // One reading of the file for every key.
  const platform::IniDocument profile = platform::ReadIniFile(profile_path_);
  default_flags = 0;
  if (IntIn(profile, "FontFace")) default_flags |= kFlagSendFace;
  if (IntIn(profile, "TextColor")) default_flags |= kFlagSendColor;
  DestFolder = WithoutTrailingSeparator(TextIn(profile, "DestFolder"));
  HeaderFile = TextIn(profile, "HeaderFile");
  FooterFile = TextIn(profile, "FooterFile");
  Path = TextIn(profile, "Path");
  Issue = TextIn(profile, "Issue");
  Category = TextIn(profile, "Category");
  Headline = TextIn(profile, "Headline");
  SubHeadline = TextIn(profile, "SubHeadline");
  Explorer = IntIn(profile, "Explorer");
  UseMetaTags = IntIn(profile, "UseMetaTags") != 0;
  LoadMetaTags(profile);

  for (std::size_t level = 0; level < HeadingSize.size(); ++level) {
    const int points = IntIn(profile, "H" + std::to_string(level + 1) + "Size");
    HeadingSize[level] = static_cast<XtFixed>(static_cast<std::uint32_t>(points) << 16);
  }
  HTMLSuffix = IntIn(profile, "HTMLSuffix");
  if (HTMLSuffix < 0 || HTMLSuffix > 2) HTMLSuffix = 1;
  OpenBrowser = IntIn(profile, "OpenBrowser") != 0;
  IgnoreChain = IntIn(profile, "IgnoreChain") != 0;
  DosNames = IntIn(profile, "DosNames") != 0;
  ExternalHeadFootFile = IntIn(profile, "ExternalHeadFootFile") != 0;
  PictType = static_cast<std::uint32_t>(IntIn(profile, "PictType"));
  if (PictType == 0) PictType = kPictureGif;
  DateType = IntIn(profile, "DateType");
  DateOffset = IntIn(profile, "DateOffset");
  ImageVSpace = IntIn(profile, "ImageVSpace");
  ImageHSpace = IntIn(profile, "ImageHSpace");
}

void ExportSettings::LoadMetaTags(const platform::IniDocument& profile) {
  meta_tags.clear();
  for (auto& [name, value] : profile.Entries(kMetaTags)) {
    if (meta_tags.count(name)) continue;
    MetaTag tag{name, value, false};
    if (const auto separator = value.find(kUniqueSeparator); separator != std::string::npos) {
      tag.content = value.substr(0, separator);
      tag.unique = platform::ParseProfileInt(std::string_view(value).substr(separator + 1)) != 0;
    }
    meta_tags.emplace(name, std::move(tag));
  }
  if (!meta_tags.empty()) return;
  for (const auto& tag : kDefaultTags) {
    meta_tags.emplace(std::string(tag.name),
                      MetaTag{std::string(tag.name), std::string(tag.content), tag.unique});
  }
}

void ExportSettings::SaveMetaTags() const {
  platform::IniDocument profile = platform::ReadIniFile(profile_path_);
  std::vector<std::pair<std::string, std::string>> entries;
  entries.reserve(meta_tags.size());
  for (const auto& [name, tag] : meta_tags) {
    entries.emplace_back(name, tag.content + kUniqueSeparator + (tag.unique ? "1" : "0"));
  }
  profile.ReplaceSection(kMetaTags, entries);
  platform::WriteIniFile(profile_path_, profile);
}

void ExportSettings::StoreJobFields() const {
  platform::IniDocument profile = platform::ReadIniFile(profile_path_);
  profile.Set(kExportDialog, "Issue", Issue);
  profile.Set(kExportDialog, "Path", Path);
  profile.Set(kExportDialog, "Category", Category);
  profile.Set(kExportDialog, "FooterFile", FooterFile);
  profile.Set(kExportDialog, "HeaderFile", HeaderFile);
  profile.Set(kExportDialog, "Headline", Headline);
  profile.Set(kExportDialog, "SubHeadline", SubHeadline);
  profile.Set(kSettings, "OpenBrowser", OpenBrowser ? "1" : "0");
  profile.Set(kSettings, "IgnoreChain", IgnoreChain ? "1" : "0");
  platform::WriteIniFile(profile_path_, profile);
}

ExportSettings* ActiveSettings() {
  return g_active_settings;
}

void SetActiveSettings(ExportSettings* settings) {
  // A story the host began and never ended writes into the object that is withdrawn now.
  if (settings != g_active_settings) AbandonTextExport();
  g_active_settings = settings;
}

}  // namespace xt
