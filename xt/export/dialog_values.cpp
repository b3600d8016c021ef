#include "xt/export/dialog_values.h"

#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <system_error>

#include "platform/cp1252.h"
#include "xt/export/export_settings.h"

namespace xt {
namespace {

namespace fs = std::filesystem;

bool CanEnter(const std::string& folder) {
  std::error_code error;
  return !folder.empty() && fs::is_directory(platform::Cp1252ToUtf8(folder), error) &&
         ::access(platform::Cp1252ToUtf8(folder).c_str(), X_OK) == 0;
}

char Upper(char c) {
  return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}

// Case-insensitive for ASCII letters, ties broken byte by byte, as the archive walk sorts.
bool NameOrder(const std::string& a, const std::string& b) {
  const auto less = [](char x, char y) { return Upper(x) < Upper(y); };
  if (std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(), less)) return true;
  if (std::lexicographical_compare(b.begin(), b.end(), a.begin(), a.end(), less)) return false;
  return a < b;
}

// The entries of `folder` for which `wanted` holds, as Windows-1252 names in name order.
template <typename Wanted>
std::vector<std::string> Entries(const std::string& folder, Wanted wanted) {
  std::vector<std::string> names;
  std::error_code error;
  for (fs::directory_iterator it(platform::Cp1252ToUtf8(folder), error), end; !error && it != end;
       it.increment(error)) {
    if (!wanted(*it)) continue;
    if (auto name = platform::Utf8ToCp1252(it->path().filename().string())) {
      names.push_back(std::move(*name));
    }
  }
  std::sort(names.begin(), names.end(), NameOrder);
  return names;
}

}  // namespace

std::string FileNameFromTitle(std::string_view title) {
  if (const auto open = title.find('['); open != std::string_view::npos) {
    title.remove_prefix(open + 1);
    if (const auto close = title.find(']'); close != std::string_view::npos) {
      title = title.substr(0, close);
    }
  }
  if (const auto separator = title.find_last_of("\\/"); separator != std::string_view::npos) {
    title.remove_prefix(separator + 1);
  }
  return std::string(title.substr(0, title.find('.')));
}

std::vector<std::string> ParseRubrics(std::string_view rubrics) {
  std::vector<std::string> names;
  for (auto bar = rubrics.find('|'); bar != std::string_view::npos; bar = rubrics.find('|')) {
    names.emplace_back(rubrics.substr(0, bar));
    rubrics.remove_prefix(bar + 1);
  }
  return names;
}

std::string JoinRubrics(const std::vector<std::string>& names) {
  std::string rubrics;
  for (const std::string& name : names)
    rubrics += name + '|';
  return rubrics;
}

std::optional<std::string> EnterableMainFolder(const ExportSettings& settings) {
  if (CanEnter(settings.DestFolder)) return settings.DestFolder;
  std::string again = WithoutTrailingSeparator(settings.ReadString("DestFolder"));
  if (CanEnter(again)) return again;
  return std::nullopt;
}

std::vector<std::string> ArchiveLevelFolders(const std::string& folder) {
  std::vector<std::string> names = Entries(folder, [](const fs::directory_entry& entry) {
    std::error_code error;
    return entry.path().filename().string().front() != '.' && entry.is_directory(error);
  });
  for (std::string& name : names)
    name = '[' + name + ']';
  return names;
}

std::vector<std::string> FilesOf(const std::string& folder) {
  return Entries(folder, [](const fs::directory_entry& entry) {
    std::error_code error;
    return !entry.is_directory(error);
  });
}

std::string HeaderFolder(const std::string& main) {
  return main + '/' + std::string(kStandardFolder) + '/' + std::string(kHeadersFolder);
}

std::string FooterFolder(const std::string& main) {
  return main + '/' + std::string(kStandardFolder) + '/' + std::string(kFootersFolder);
}

std::string HeadlineFromSelection(std::string_view selection) {
  selection = selection.substr(0, kMaxHeadlineSelection);
  if (!selection.empty()) selection.remove_suffix(1);
  std::string text;
  for (char c : selection) {
    if (c == '\r') {
      text += "\\n";
    } else {
      text += c;
    }
  }
  return text;
}

std::string SnippetToLines(std::string_view snippet) {
  std::string lines;
  for (std::size_t i = 0; i < snippet.size(); ++i) {
    if (snippet[i] == '\\' && i + 1 < snippet.size() && snippet[i + 1] == 'n') {
      lines += '\n';
      ++i;
    } else {
      lines += snippet[i];
    }
  }
  return lines;
}

std::string LinesToSnippet(std::string_view lines) {
  std::string snippet;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    if (lines[i] == '\r' && i + 1 < lines.size() && lines[i + 1] == '\n') ++i;
    if (lines[i] == '\r' || lines[i] == '\n') {
      snippet += "\\n";
    } else {
      snippet += lines[i];
    }
  }
  return snippet;
}

std::string WithoutTrailingSeparator(std::string folder) {
  while (folder.size() > 1 && (folder.back() == '/' || folder.back() == '\\'))
    folder.pop_back();
  return folder;
}

}  // namespace xt
