#include "indexer/engine/link_check.h"

#include <sys/stat.h>

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>

#include "indexer/engine/article_record.h"
#include "indexer/engine/index_collection.h"
#include "platform/cp1252.h"
#include "platform/paths.h"

namespace indexer {
namespace {

char Upper(char c) {
  return static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
}

bool StartsWithNoCase(std::string_view text, std::string_view prefix) {
  return text.size() >= prefix.size() &&
         std::equal(prefix.begin(), prefix.end(), text.begin(),
                    [](char a, char b) { return Upper(a) == Upper(b); });
}

bool IsNameChar(char c) {
  return std::isalnum(static_cast<unsigned char>(c)) || c == '-' || c == '_';
}

// The attribute value starting at `at` (just after "="): quoted or up to a blank or ">".
std::string AttributeValue(std::string_view tag, std::size_t at) {
  while (at < tag.size() && std::isspace(static_cast<unsigned char>(tag[at])))
    ++at;
  if (at >= tag.size()) return {};
  if (tag[at] == '"' || tag[at] == '\'') {
    const std::size_t end = tag.find(tag[at], at + 1);
    return std::string(tag.substr(at + 1, end == std::string_view::npos ? end : end - at - 1));
  }
  std::size_t end = at;
  while (end < tag.size() && !std::isspace(static_cast<unsigned char>(tag[end])) && tag[end] != '>')
    ++end;
  return std::string(tag.substr(at, end - at));
}

// The HREF and SRC values of one tag's text (between "<" and ">").
void TagLinks(std::string_view tag, std::vector<std::string>& links) {
  for (std::size_t i = 1; i < tag.size(); ++i) {
    if (IsNameChar(tag[i - 1])) continue;
    for (std::string_view name : {std::string_view("HREF"), std::string_view("SRC")}) {
      if (!StartsWithNoCase(tag.substr(i), name)) continue;
      std::size_t at = i + name.size();
      while (at < tag.size() && std::isspace(static_cast<unsigned char>(tag[at])))
        ++at;
      if (at < tag.size() && tag[at] == '=') links.push_back(AttributeValue(tag, at + 1));
    }
  }
}

// A scheme such as "http:" or "mailto:": letters, digits, "+", "-", "." before the first ":".
bool HasScheme(std::string_view link) {
  const std::size_t colon = link.find(':');
  if (colon == std::string_view::npos || colon == 0) return false;
  return std::all_of(link.begin(), link.begin() + colon, [](char c) {
    return std::isalnum(static_cast<unsigned char>(c)) || c == '+' || c == '-' || c == '.';
  });
}

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  c = Upper(c);
  return c >= 'A' && c <= 'F' ? c - 'A' + 10 : -1;
}

std::string PercentDecoded(std::string_view text) {
  std::string decoded;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '%' && i + 2 < text.size() && HexValue(text[i + 1]) >= 0 &&
        HexValue(text[i + 2]) >= 0) {
      decoded.push_back(static_cast<char>(HexValue(text[i + 1]) * 16 + HexValue(text[i + 2])));
      i += 2;
    } else {
      decoded.push_back(text[i]);
    }
  }
  return decoded;
}

bool Exists(const std::string& path) {
  struct stat info;
  return stat(path.c_str(), &info) == 0;
}

std::string ReadWhole(const std::string& path, bool& ok) {
  std::ifstream in(path, std::ios::binary);
  ok = static_cast<bool>(in);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// The file a local link names, as a path on disk; "" when the link is not checked.
std::string LinkTarget(std::string_view link, const std::string& pageFolder,
                       const std::string& rootPath) {
  link = link.substr(0, link.find_first_of("#?"));
  if (link.empty()) return {};
  if (StartsWithNoCase(link, "file://")) {
    link.remove_prefix(7);
    return PercentDecoded(link);
  }
  if (HasScheme(link)) return {};
  // A browser reads the page as Windows-1252 and asks for the name in UTF-8.
  const std::string name = PercentDecoded(platform::Cp1252ToUtf8(link));
  if (name.front() == '/') return rootPath.empty() ? std::string() : rootPath + name;
  return platform::JoinPath(pageFolder, name);
}

void CheckPage(const std::string& pagePath, const std::string& rootPath,
               std::vector<BrokenLink>& broken) {
  bool read = false;
  const std::string html = ReadWhole(pagePath, read);
  if (!read) {
    broken.push_back({pagePath, "", "the page cannot be read"});
    return;
  }
  const std::string folder = platform::FolderPart(pagePath);
  for (const std::string& link : PageLinks(html)) {
    const std::string target = LinkTarget(link, folder, rootPath);
    if (!target.empty() && !Exists(target)) broken.push_back({pagePath, link, "no such file"});
  }
}

}  // namespace

std::vector<std::string> PageLinks(std::string_view html) {
  std::vector<std::string> links;
  for (std::size_t open = html.find('<'); open != std::string_view::npos;
       open = html.find('<', open + 1)) {
    const std::size_t close = html.find('>', open);
    TagLinks(html.substr(open, close == std::string_view::npos ? close : close - open), links);
    if (close == std::string_view::npos) break;
    open = close;
  }
  return links;
}

std::vector<BrokenLink> CheckPageLinks(const std::string& pagePath, const std::string& rootPath) {
  std::vector<BrokenLink> broken;
  CheckPage(pagePath, rootPath, broken);
  return broken;
}

MMoreErr CheckCollectionLinks(const std::string& collectionPath, const std::string& rootPath,
                              std::vector<BrokenLink>& broken) {
  IndexCollection collection(collectionPath);
  if (const MMoreErr status = collection.open("rb"); status != kNoErr) return status;
  std::set<std::string> pages;
  ArticleRecord record;
  for (std::uint32_t n = 1; n <= collection.count(); ++n) {
    if (collection.readRecord(record, n) == kNoErr && record.inUse)
      pages.insert(platform::Cp1252ToUtf8(record.path));
  }
  std::error_code error;
  const std::string folder = platform::FolderPart(collectionPath);
  for (const auto& entry : std::filesystem::directory_iterator(folder, error)) {
    const std::string extension = entry.path().extension().string();
    if (entry.is_regular_file(error) && (extension == ".htm" || extension == ".html"))
      pages.insert(entry.path().string());
  }
  for (const std::string& page : pages)
    CheckPage(page, rootPath, broken);
  return kNoErr;
}

}  // namespace indexer
