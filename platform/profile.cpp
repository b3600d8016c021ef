#include "platform/profile.h"

#include <climits>
#include <unordered_map>
#include <unordered_set>

#include "platform/file_replacement.h"
#include "platform/whole_file.h"

namespace platform {
namespace {

constexpr std::string_view kBlanks = " \t";

std::string_view Trim(std::string_view text) {
  const auto first = text.find_first_not_of(kBlanks);
  if (first == std::string_view::npos) return {};
  const auto last = text.find_last_not_of(kBlanks);
  return text.substr(first, last - first + 1);
}

char Upper(char c) {
  return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}

// A name in the form that compares equal for names that differ only in ASCII case.
std::string UpperName(std::string_view name) {
  std::string upper(name);
  for (char& c : upper)
    c = Upper(c);
  return upper;
}

bool SameName(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (Upper(a[i]) != Upper(b[i])) return false;
  }
  return true;
}

// The section name of a header line "[name]", or nothing for any other line.
std::optional<std::string_view> SectionName(std::string_view line) {
  line = Trim(line);
  if (line.empty() || line.front() != '[') return std::nullopt;
  line.remove_prefix(1);
  const auto close = line.find(']');
  return Trim(close == std::string_view::npos ? line : line.substr(0, close));
}

bool IsComment(std::string_view line) {
  line = Trim(line);
  return line.empty() || line.front() == ';';
}

// The key of a "key=value" line, or nothing.
std::optional<std::string_view> KeyName(std::string_view line) {
  if (IsComment(line) || SectionName(line)) return std::nullopt;
  const auto equals = line.find('=');
  if (equals == std::string_view::npos) return std::nullopt;
  return Trim(line.substr(0, equals));
}

std::string_view ValueOf(std::string_view line) {
  return line.substr(line.find('=') + 1);
}

// A value stays on its line: line breaks become the two characters "\n".
std::string OneLine(std::string_view value) {
  std::string out;
  out.reserve(value.size());
  for (std::size_t i = 0; i < value.size(); ++i) {
    if (value[i] == '\r' || value[i] == '\n') {
      if (value[i] == '\r' && i + 1 < value.size() && value[i + 1] == '\n') ++i;
      out += "\\n";
    } else {
      out += value[i];
    }
  }
  return out;
}

std::string KeyLine(std::string_view key, std::string_view value) {
  return std::string(key) + "=" + OneLine(value);
}

}  // namespace

IniDocument IniDocument::Parse(std::string_view text) {
  IniDocument document;
  std::size_t start = 0;
  while (start < text.size()) {
    std::size_t end = text.find_first_of("\r\n", start);
    if (end == std::string_view::npos) end = text.size();
    document.lines_.emplace_back(text.substr(start, end - start));
    if (end < text.size() && text[end] == '\r' && end + 1 < text.size() && text[end + 1] == '\n') {
      ++end;
    }
    start = end + 1;
  }
  return document;
}

std::string IniDocument::Serialize() const {
  std::string text;
  for (const auto& line : lines_) {
    text += line;
    text += '\n';
  }
  return text;
}

std::optional<IniDocument::Range> IniDocument::FindSection(std::string_view section) const {
  for (std::size_t i = 0; i < lines_.size(); ++i) {
    const auto name = SectionName(lines_[i]);
    if (!name || !SameName(*name, Trim(section))) continue;
    std::size_t end = i + 1;
    while (end < lines_.size() && !SectionName(lines_[end]))
      ++end;
    return Range{i, end};
  }
  return std::nullopt;
}

std::optional<std::size_t> IniDocument::FindKey(const Range& range, std::string_view key) const {
  for (std::size_t i = range.begin + 1; i < range.end; ++i) {
    const auto name = KeyName(lines_[i]);
    if (name && SameName(*name, Trim(key))) return i;
  }
  return std::nullopt;
}

std::optional<std::string> IniDocument::Get(std::string_view section, std::string_view key) const {
  const auto range = FindSection(section);
  if (!range) return std::nullopt;
  const auto line = FindKey(*range, key);
  if (!line) return std::nullopt;
  return std::string(ValueOf(lines_[*line]));
}

void IniDocument::Set(std::string_view section, std::string_view key, std::string_view value) {
  const auto range = FindSection(section);
  if (!range) {
    lines_.push_back("[" + std::string(Trim(section)) + "]");
    lines_.push_back(KeyLine(Trim(key), value));
    return;
  }
  if (const auto line = FindKey(*range, key)) {
    lines_[*line] = KeyLine(Trim(key), value);
    return;
  }
  // After the section's last non-blank line, so a blank line before the next section stays.
  std::size_t at = range->end;
  while (at > range->begin + 1 && Trim(lines_[at - 1]).empty())
    --at;
  lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(at), KeyLine(Trim(key), value));
}

std::vector<std::string> IniDocument::Keys(std::string_view section) const {
  std::vector<std::string> keys;
  for (auto& [name, value] : Entries(section))
    keys.push_back(std::move(name));
  return keys;
}

std::vector<std::pair<std::string, std::string>> IniDocument::Entries(
    std::string_view section) const {
  std::vector<std::pair<std::string, std::string>> entries;
  const auto range = FindSection(section);
  if (!range) return entries;
  std::unordered_set<std::string> seen;
  for (std::size_t i = range->begin + 1; i < range->end; ++i) {
    const auto name = KeyName(lines_[i]);
    if (!name || name->empty() || !seen.insert(UpperName(*name)).second) continue;
    entries.emplace_back(*name, ValueOf(lines_[i]));
  }
  return entries;
}

bool IniDocument::DeleteSection(std::string_view section) {
  std::vector<std::string> kept;
  kept.reserve(lines_.size());
  bool inside = false;
  bool deleted = false;
  for (auto& line : lines_) {
    if (const auto name = SectionName(line)) inside = SameName(*name, Trim(section));
    if (inside) {
      deleted = true;
    } else {
      kept.push_back(std::move(line));
    }
  }
  lines_ = std::move(kept);
  return deleted;
}

void IniDocument::ReplaceSection(std::string_view section,
                                 const std::vector<std::pair<std::string, std::string>>& entries) {
  DeleteSection(section);
  if (entries.empty()) return;
  lines_.push_back("[" + std::string(Trim(section)) + "]");
  std::unordered_map<std::string, std::size_t> line_of;
  for (const auto& [key, value] : entries) {
    const auto [at, added] = line_of.try_emplace(UpperName(Trim(key)), lines_.size());
    if (added) {
      lines_.push_back(KeyLine(Trim(key), value));
    } else {
      lines_[at->second] = KeyLine(Trim(key), value);
    }
  }
}

bool IniDocument::DeleteKey(std::string_view section, std::string_view key) {
  const auto range = FindSection(section);
  if (!range) return false;
  const auto line = FindKey(*range, key);
  if (!line) return false;
  lines_.erase(lines_.begin() + static_cast<std::ptrdiff_t>(*line));
  return true;
}

IniDocument ReadIniFile(const std::string& file) {
  std::string text;
  if (!ReadWholeFile(file, text).ok()) return {};
  return IniDocument::Parse(text);
}

Status WriteIniFile(const std::string& file, const IniDocument& document) {
  if (file.empty()) return Status(kFileOpenFailed, file, "no file name");
  const Status status = ReplaceFile(file, document.Serialize());
  NoteFailure(status);
  return status;
}

int ParseProfileInt(std::string_view value) {
  value = Trim(value);
  bool negative = false;
  if (!value.empty() && (value.front() == '-' || value.front() == '+')) {
    negative = value.front() == '-';
    value.remove_prefix(1);
  }
  long long number = 0;
  for (const char c : value) {
    if (c < '0' || c > '9') break;
    number = number * 10 + (c - '0');
    if (number > static_cast<long long>(INT_MAX) + 1) break;
  }
  if (negative) number = -number;
  if (number > INT_MAX) return INT_MAX;
  if (number < INT_MIN) return INT_MIN;
  return static_cast<int>(number);
}

std::string GetProfileString(const std::string& file, std::string_view section,
                             std::string_view key, std::string_view fallback) {
  auto value = ReadIniFile(file).Get(section, key);
  return value ? *value : std::string(fallback);
}

int GetProfileInt(const std::string& file, std::string_view section, std::string_view key,
                  int fallback) {
  const auto value = ReadIniFile(file).Get(section, key);
  return value ? ParseProfileInt(*value) : fallback;
}

std::vector<std::string> GetProfileKeys(const std::string& file, std::string_view section) {
  return ReadIniFile(file).Keys(section);
}

bool WriteProfileString(const std::string& file, std::string_view section, std::string_view key,
                        std::string_view value) {
  IniDocument document = ReadIniFile(file);
  document.Set(section, key, value);
  return WriteIniFile(file, document).ok();
}

bool WriteProfileInt(const std::string& file, std::string_view section, std::string_view key,
                     int value) {
  return WriteProfileString(file, section, key, std::to_string(value));
}

bool DeleteProfileSection(const std::string& file, std::string_view section) {
  IniDocument document = ReadIniFile(file);
  if (!document.DeleteSection(section)) return true;
  return WriteIniFile(file, document).ok();
}

bool DeleteProfileKey(const std::string& file, std::string_view section, std::string_view key) {
  IniDocument document = ReadIniFile(file);
  if (!document.DeleteKey(section, key)) return true;
  return WriteIniFile(file, document).ok();
}

}  // namespace platform
