#include "platform/shell.h"

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string_view>
#include <vector>

#include "platform/config_folder.h"
#include "platform/process.h"

namespace platform {
namespace {

constexpr const char* kDefaultDataDirs = "/usr/local/share:/usr/share";
constexpr std::string_view kEntrySection = "[Desktop Entry]";
constexpr std::string_view kExecKey = "Exec=";

std::string Trimmed(std::string text) {
  size_t end = text.find_last_not_of(" \t\r\n");
  text.erase(end == std::string::npos ? 0 : end + 1);
  size_t begin = text.find_first_not_of(" \t\r\n");
  return begin == std::string::npos ? std::string() : text.substr(begin);
}

bool EndsWithIgnoringCase(std::string_view text, std::string_view suffix) {
  if (text.size() < suffix.size()) return false;
  std::string_view tail = text.substr(text.size() - suffix.size());
  for (size_t i = 0; i < suffix.size(); ++i) {
    char a = tail[i] >= 'A' && tail[i] <= 'Z' ? static_cast<char>(tail[i] + 32) : tail[i];
    if (a != suffix[i]) return false;
  }
  return true;
}

std::optional<std::string> MimeTypeOf(const std::string& path) {
  if (auto answer = RunAndCapture({"xdg-mime", "query", "filetype", path})) {
    std::string type = Trimmed(*answer);
    if (!type.empty()) return type;
  }
  if (EndsWithIgnoringCase(path, ".htm") || EndsWithIgnoringCase(path, ".html")) return "text/html";
  return std::nullopt;
}

// The folders that hold "applications/", most important first.
std::vector<std::string> DataFolders() {
  std::vector<std::string> folders;
  const char* home = std::getenv("XDG_DATA_HOME");
  if (home != nullptr && *home != '\0') {
    folders.push_back(home);
  } else if (std::string user = HomeFolder(); !user.empty()) {
    folders.push_back(user + "/.local/share");
  }
  const char* dirs = std::getenv("XDG_DATA_DIRS");
  std::string_view list = dirs != nullptr && *dirs != '\0' ? dirs : kDefaultDataDirs;
  while (!list.empty()) {
    size_t colon = list.find(':');
    if (colon != 0) folders.emplace_back(list.substr(0, colon));
    if (colon == std::string_view::npos) break;
    list.remove_prefix(colon + 1);
  }
  return folders;
}

// The value of the Exec key of the [Desktop Entry] group.
std::optional<std::string> ExecLine(const std::string& entry_text) {
  std::istringstream lines(entry_text);
  std::string line;
  bool in_entry = false;
  while (std::getline(lines, line)) {
    line = Trimmed(line);
    if (!line.empty() && line.front() == '[') {
      in_entry = line == kEntrySection;
    } else if (in_entry && line.compare(0, kExecKey.size(), kExecKey) == 0) {
      return line.substr(kExecKey.size());
    }
  }
  return std::nullopt;
}

// A word with field codes inside it ("--file=%f"); `opens` is set when one gives the page.
std::string FillFieldCodes(const std::string& word, const std::string& path, const std::string& url,
                           bool& opens) {
  std::string filled;
  for (std::size_t i = 0; i < word.size(); ++i) {
    if (word[i] != '%' || i + 1 == word.size()) {
      filled += word[i];
      continue;
    }
    const char code = word[++i];
    if (code == '%') {
      filled += '%';
    } else if (code == 'f' || code == 'F' || code == 'u' || code == 'U') {
      filled += code == 'f' || code == 'F' ? path : url;
      opens = true;
    }
  }
  return filled;
}

}  // namespace

bool OpenWithShell(const std::string& path) {
  return SpawnDetached({"xdg-open", path}).has_value();
}

std::optional<std::vector<std::string>> CommandOfDesktopEntry(const std::string& entry_text,
                                                              const std::string& path,
                                                              const std::string& url) {
  std::optional<std::string> exec = ExecLine(entry_text);
  if (!exec) return std::nullopt;
  std::optional<std::vector<std::string>> words = SplitCommandLine(*exec);
  if (!words || words->empty()) return std::nullopt;
  std::vector<std::string> command;
  bool opens = false;
  for (const std::string& word : *words) {
    // A word that was only a code without a value ("%i") is left out.
    std::string filled = FillFieldCodes(word, path, url, opens);
    if (!filled.empty() || word.empty()) command.push_back(std::move(filled));
  }
  if (command.empty()) return std::nullopt;
  if (!opens) command.push_back(url);
  return command;
}

std::optional<std::vector<std::string>> AssociatedCommand(const std::string& path,
                                                          const std::string& url) {
  std::optional<std::string> type = MimeTypeOf(path);
  if (!type) return std::nullopt;
  std::optional<std::string> answer = RunAndCapture({"xdg-mime", "query", "default", *type});
  if (!answer) return std::nullopt;
  std::string entry = Trimmed(*answer);
  if (entry.empty() || entry.find('/') != std::string::npos) return std::nullopt;
  for (const std::string& folder : DataFolders()) {
    std::ifstream file(folder + "/applications/" + entry, std::ios::binary);
    if (!file) continue;
    std::ostringstream text;
    text << file.rdbuf();
    return CommandOfDesktopEntry(text.str(), path, url);
  }
  return std::nullopt;
}

}  // namespace platform
