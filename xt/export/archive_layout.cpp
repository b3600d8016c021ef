#include "xt/export/archive_layout.h"

#include <filesystem>
#include <system_error>

#include "platform/cp1252.h"
#include "xt/export/export_settings.h"

namespace xt {
namespace {

constexpr std::string_view kUpOneLevel = "../";
constexpr std::string_view kTocExtension = ".toc";

bool IsSeparator(char c) {
  return c == '\\' || c == '/';
}

bool IsKept(char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
}

std::vector<std::string> Split(std::string_view text) {
  std::vector<std::string> parts(1);
  for (const char c : text) {
    if (IsSeparator(c)) {
      parts.emplace_back();
    } else {
      parts.back() += c;
    }
  }
  return parts;
}

void AddLevels(std::vector<std::string>& levels, std::string_view field) {
  if (field.empty()) return;
  for (auto& part : Split(ReduceName(field))) {
    if (!part.empty()) levels.push_back(std::move(part));
  }
}

// The page file's name: the last component of the reduced FileName, so that a FileName the
// user typed with a separator still names a file inside the page's own folder.
std::string PageFileName(std::string_view file_name, int html_suffix) {
  std::string name;
  for (auto& part : Split(ReduceName(file_name))) {
    if (!part.empty()) name = std::move(part);
  }
  return name + std::string(PageSuffix(html_suffix));
}

}  // namespace

std::string ReduceName(std::string_view field) {
  std::string reduced;
  int counter = 0;
  for (const char c : field) {
    if (IsSeparator(c)) {
      counter = 1;
      reduced += '/';
    } else if (IsKept(c) && ++counter <= kReducedNameLength) {
      reduced += c;
    }
  }
  return reduced;
}

std::vector<std::string> ArchiveLevels(std::string_view path, std::string_view issue,
                                       std::string_view category, std::string_view file_name) {
  std::vector<std::string> levels;
  AddLevels(levels, path);
  AddLevels(levels, issue);
  AddLevels(levels, category);
  AddLevels(levels, file_name);
  return levels;
}

std::string_view PageSuffix(int html_suffix) {
  switch (html_suffix) {
    case 0:
      return "";
    case 2:
      return ".html";
    default:
      return ".htm";
  }
}

std::string PagePath(const ExportSettings& settings) {
  std::string path = settings.DestFolder;
  for (const auto& level :
       ArchiveLevels(settings.Path, settings.Issue, settings.Category, settings.FileName)) {
    if (path.empty() || path.back() != '/') path += '/';
    path += level;
  }
  if (path.empty() || path.back() != '/') path += '/';
  return path + PageFileName(settings.FileName, settings.HTMLSuffix);
}

std::string TocPath(std::string_view page_path) {
  const auto slash = page_path.rfind('/');
  const auto dot = page_path.rfind('.');
  const bool has_extension =
      dot != std::string_view::npos && (slash == std::string_view::npos || dot > slash);
  return std::string(has_extension ? page_path.substr(0, dot) : page_path) +
         std::string(kTocExtension);
}

std::string TocText(const ExportSettings& settings) {
  return "EDITION=" + settings.Path + "\r\nSUBEDITION=\r\nPAGE=" + settings.Category +
         "\r\nJOBNAME=" + settings.FileName + "\r\nHEADLINE=" + settings.Headline +
         "\r\nRELURL=\r\n";
}

std::string RelativeRootPrefix(const ExportSettings& settings) {
  std::string prefix;
  const auto levels =
      ArchiveLevels(settings.Path, settings.Issue, settings.Category, settings.FileName);
  for (std::size_t i = 0; i < levels.size(); ++i)
    prefix += kUpOneLevel;
  return prefix;
}

std::string RelativeLink(std::string_view target, std::string_view page_path) {
  const auto to = Split(target);
  const auto from = Split(page_path);
  std::size_t common = 0;
  while (common < to.size() && common < from.size() && to[common] == from[common])
    ++common;

  std::string link;
  if (common == 0) {
    link = target;
    for (auto& c : link) {
      if (c == '\\') c = '/';
    }
    return link;
  }
  for (std::size_t i = common + 1; i < from.size(); ++i)
    link += kUpOneLevel;
  for (std::size_t i = common; i < to.size(); ++i) {
    link += to[i];
    if (i + 1 < to.size()) link += '/';
  }
  return link;
}

bool CreateFolders(const std::string& folder) {
  const std::string disk = platform::DiskPath(folder);
  std::error_code error;
  std::filesystem::create_directories(disk, error);
  return std::filesystem::is_directory(disk, error);
}

}  // namespace xt
