// The archive's folder layout below the main folder (DestFolder): year, issue, category and
// page levels, each reduced to a short name of letters and digits, the page file with its
// suffix, the ".toc" companion, and the relative paths pages use to reach the main folder and
// each other. The indexer walks what this lays out, so the rules are fixed.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace xt {

class ExportSettings;

// Longest kept run of the first component of a level field; later components keep one less.
inline constexpr int kReducedNameLength = 8;

// Keeps ASCII letters and digits, at most 8 of the first component and 7 of each later one;
// the separators the user typed ("\" or "/") come out as "/". '[1998]' -> '1998',
// 'Sport News' -> 'SportNew', '2\Sonderausgabe' -> '2/Sondera'.
std::string ReduceName(std::string_view field);

// The folder levels of a page below the main folder: the reduced components of Path, Issue,
// Category and FileName, in this order, leaving out every component that reduces to nothing.
std::vector<std::string> ArchiveLevels(std::string_view path, std::string_view issue,
                                       std::string_view category, std::string_view file_name);

// ".htm", ".html" or nothing for HTMLSuffix 1, 2, 0 (any other value counts as 1).
std::string_view PageSuffix(int html_suffix);

// DestFolder/levels.../name+suffix for the settings' job fields.
std::string PagePath(const ExportSettings& settings);

// The ".toc" companion of a page: its extension replaced by ".toc", or ".toc" appended.
std::string TocPath(std::string_view page_path);

// The six CR LF lines of a page's ".toc" file for the settings' job fields.
std::string TocText(const ExportSettings& settings);

// "../" once per folder level the page lies below the main folder ("$HOME:").
std::string RelativeRootPrefix(const ExportSettings& settings);

// `target` made relative to the page at `page_path` ("/" or "\" separate components). Targets
// that share no leading component with the page stay as they are; the result uses "/".
std::string RelativeLink(std::string_view target, std::string_view page_path);

// Creates the page's folder and its parents; false when it cannot.
bool CreateFolders(const std::string& folder);

}  // namespace xt
