// What the export sheet and the preferences sheet show and store, apart from the widgets that
// show it: the file name taken from a window title, the category list, the archive folders and
// files offered in the export page's lists, headlines taken from a text selection, and snippets
// whose line breaks the profile file keeps as the two characters "\n".
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace xt {

class ExportSettings;

// Folders below the main folder that hold the external header and footer files.
inline constexpr std::string_view kStandardFolder = "Standard";
inline constexpr std::string_view kHeadersFolder = "Headers";
inline constexpr std::string_view kFootersFolder = "Footers";

// Longest selection a Headline or Subhead button takes.
inline constexpr std::size_t kMaxHeadlineSelection = 200;

// The document name in a window title: what follows a "[" (cut at the next "]"), after the
// last path separator, before the first ".". "X [C:\Docs\Story.qxd]" gives "Story".
std::string FileNameFromTitle(std::string_view title);

// Every name of `rubrics` that is followed by "|"; a last name without it is not a category.
std::vector<std::string> ParseRubrics(std::string_view rubrics);
// Each name followed by "|".
std::string JoinRubrics(const std::vector<std::string>& names);

// The main folder when it can be entered: `DestFolder`, else the profile's value read again
// without its trailing separator; nothing when neither is a folder that can be entered.
std::optional<std::string> EnterableMainFolder(const ExportSettings& settings);

// The folders of `folder` whose names do not begin with ".", each as "[name]", in
// case-insensitive name order, in Windows-1252 (names it cannot hold are left out).
std::vector<std::string> ArchiveLevelFolders(const std::string& folder);
// The files (not folders) of `folder`, in the same order and text.
std::vector<std::string> FilesOf(const std::string& folder);
// `main`/Standard/Headers or `main`/Standard/Footers.
std::string HeaderFolder(const std::string& main);
std::string FooterFolder(const std::string& main);

// The text a Headline or Subhead button puts into its field: at most 200 characters of the
// selection, the last one dropped, each CR written as the two characters "\n".
std::string HeadlineFromSelection(std::string_view selection);

// "\n" pairs become line feeds, for showing a snippet in a multi-line field.
std::string SnippetToLines(std::string_view snippet);
// Line breaks (CR LF, LF or CR) become "\n" pairs, for storing a multi-line field.
std::string LinesToSnippet(std::string_view lines);

// A folder path without its trailing "/" or "\" (the root stays as it is).
std::string WithoutTrailingSeparator(std::string folder);

}  // namespace xt
