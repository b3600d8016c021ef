// The plug-in's one settings object: the options of the profile file MarlixXT40.INI that are
// kept in memory, access to the keys that are read afresh at each use, the user META tags, the
// converter's character table and the state of the export job that is running.
//
// The object is plain on purpose: the job, the page writer, the text converter and the picture
// step all read and update its public fields while a page is written.
#pragma once

#include <array>
#include <cstdint>
#include <cstdio>
#include <ctime>
#include <functional>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "hostapi/xt_host_api.h"
#include "platform/file_closer.h"
#include "platform/file_replacement.h"
#include "platform/profile.h"
#include "xt/export/character_table.h"

namespace xt {

// Export kinds of a box's export record.
enum FormatKind : int {
  kFormatNormal = 0,
  kFormatPicture = 1,  // text box exported as a picture
  kFormatTable = 2,
  kFormatTypewriter = 3,
  kFormatUnorderedList = 4,
  kFormatOrderedList = 5,
  kFormatDirectoryList = 6,
  kFormatMultiColumn = 7,
};

// Bits of a box's flags word and of the default flags.
inline constexpr std::uint32_t kFlagSendColor = 1u << 0;  // picture records: table border
inline constexpr std::uint32_t kFlagCaption = 1u << 3;    // picture records: image and caption
inline constexpr std::uint32_t kFlagSendFace = 1u << 4;
inline constexpr std::uint32_t kFlagAntialias = 1u << 5;

// Picture format bits (PictType and the records' format field).
inline constexpr std::uint32_t kPictureJpeg = 1u << 0;
inline constexpr std::uint32_t kPictureGif = 1u << 1;
inline constexpr std::uint32_t kPictureInterlaced = 1u << 2;  // or progressive JPEG
inline constexpr std::uint32_t kPictureTransparent = 1u << 3;

// The element written last; it chooses the separator before the next one.
enum class ElementKind : int { kNone = 0, kText = 1, kPicture = 2 };

// Table or multicolumn properties of the box being exported.
struct TableProperties {
  int border = 0;  // multicolumn: column width
  int padding = 0;
  int spacing = 0;     // multicolumn: gutter
  int columns = 0;     // multicolumn: number of columns
  int alignment = 0;   // 0 left, 1 centre, 2 right, 3 top, 4 middle, 5 bottom
  int width_mode = 0;  // 0 auto, 1 pixels, 2 percent
  int width = 0;
};

// Format of the box being exported, copied from its export record.
struct BoxFormat {
  int kind = kFormatNormal;
  std::uint32_t flags = 0;
  TableProperties table;
};

struct MetaTag {
  std::string name;
  std::string content;
  bool unique = false;  // ask for the content of each page when the stored content is empty
};

// A library file (GIF, JPEG or HTML) written into pages after its box, or after the page head
// when it belongs to no box.
struct LibraryAttachment {
  std::string path;
  XtBox box = 0;  // 0: belongs to the page
  bool used = false;
  int alignment = 0;  // 0 left, 1 centre, 2 right
};
inline constexpr std::size_t kMaxLibraryAttachments = 30;

// FileName of the preview page (reduced to "mxt" in the archive).
inline constexpr std::string_view kPreviewName = "$mxt";

using OutputFile = platform::UniqueFile;

class ExportSettings {
 public:
  // Loads every in-memory key from the profile file at `profile_path` (missing file or key:
  // the defaults), builds the character table and loads the META tags.
  explicit ExportSettings(std::string profile_path = DefaultProfilePath());

  // MarlixXT40.INI in the config folder.
  static std::string DefaultProfilePath();

  const std::string& profile_path() const { return profile_path_; }

  // Keys read at each use ("Header", "Footer", "TextBreak", "PictBreak", "LeftIndent",
  // "ImageCaptionStart", "ImageCaptionEnd", "FixedDate", "Browser", "Indexer", "Rubrics", the
  // "ExportDialog" keys, ...), each from its own section with its own default. Any key of the
  // profile file is accepted; an unknown one reads from "Settings" with an empty default.
  std::string ReadString(std::string_view key) const;
  int ReadInt(std::string_view key) const;
  void WriteString(std::string_view key, std::string_view value) const;
  void WriteInt(std::string_view key, int value) const;

  // Sets the job field called `name` ("Path", "Issue", "Category", "FileName", "Headline",
  // "SubHeadline", "HeaderFile", "FooterFile"); false for any other name.
  bool SetJobField(std::string_view name, std::string value);

  // Writes the META tags back: the "MetaTags" section is replaced by one key per tag.
  void SaveMetaTags() const;

  // Stores the job fields in "ExportDialog" and OpenBrowser and IgnoreChain in "Settings", as
  // the export palette does on each Export.
  void StoreJobFields() const;

  // ---- Kept in memory while the plug-in is loaded -------------------------------------------
  std::string DestFolder;           // without a trailing slash
  std::uint32_t default_flags = 0;  // kFlagSendFace from FontFace, kFlagSendColor from TextColor
  int Explorer = 1;                 // browser kind: 1 Chromium family, 0 Firefox family
  bool UseMetaTags = false;
  std::array<XtFixed, 6> HeadingSize{};  // H1Size .. H6Size in 16.16 points, 0 = level unused
  int HTMLSuffix = 1;                    // 0 none, 1 ".htm", 2 ".html"
  bool OpenBrowser = true;
  bool IgnoreChain = true;
  bool DosNames = true;
  bool ExternalHeadFootFile = false;
  std::uint32_t PictType = kPictureGif;  // kPicture bits
  int DateType = 0;                      // 0 today, 1 today + DateOffset days, 2.. FixedDate
  int DateOffset = 1;
  int ImageVSpace = 2;
  int ImageHSpace = 2;
  std::map<std::string, MetaTag> meta_tags;            // by name
  CharacterTable character_table;                      // built with the object
  std::vector<LibraryAttachment> library_attachments;  // at most kMaxLibraryAttachments

  // ---- Job fields, set before each job; loaded from "ExportDialog" --------------------------
  std::string Path;  // year level as typed, brackets included
  std::string Issue;
  std::string Category;
  std::string FileName;
  std::string Headline;
  std::string SubHeadline;
  std::string HeaderFile;  // external header and footer snippet files
  std::string FooterFile;

  // ---- State of the running job --------------------------------------------------------------
  std::string page_path;       // the page being written, or written last
  std::string last_page_path;  // the page of the last Export (a Preview leaves it)
  bool page_finished = false;  // a page has been finished since the plug-in was loaded
  bool export_running = false;
  bool inside_page_export = false;  // the text converter writes into the page
  OutputFile output;                // the open page file
  // The page's replacement while it is written: the page appears whole when it is finished.
  std::unique_ptr<platform::FileReplacement> page_file;
  std::time_t page_created = 0;  // creation time of the page file (its META date)
  int write_error = 0;           // errno of the first failed write to the page, 0 if none
  std::int32_t column = 0;       // characters written since the page's last line feed
  ElementKind previous_element = ElementKind::kNone;
  long footer_position = -1;            // where the footer of the page finished last begins
  long last_footer_position = -1;       // the same for the page of the last Export or Append
  BoxFormat box_format;                 // of the box being exported
  std::set<std::string> picture_names;  // picture files the running job has written
  bool browser_allowed = true;          // false: an Export does not show its page (a batch job)
  bool browser_failed = false;          // the last job's page was to be shown and could not be
  std::string job_warnings;             // what the running job could not find or use, one line each
  // The clock of the variables ($DATE:, $TIME:) and of the META dates; tests fix it.
  std::function<std::time_t()> now = [] { return std::time(nullptr); };

 private:
  void Load();
  void LoadMetaTags(const platform::IniDocument& profile);

  std::string profile_path_;
};

// The plug-in's one settings object while it is loaded (null before and after).
ExportSettings* ActiveSettings();
void SetActiveSettings(ExportSettings* settings);

}  // namespace xt
