// META extraction from the head of a page, reading no further than the BODY tag.
//
// The grammar: a tag name runs to ">" or the first byte at or below the blank; a comment tag
// ("<!--...") has the name "!--" and its attributes start right after the dashes. An attribute
// name runs to "=", white space or ">"; after "=" and optional white space a value is either
// quoted (up to the next double quote, ">" included) or runs to white space or ">"; in a
// comment a trailing "--" of an unquoted value belongs to the comment's end. A name without
// "=" gets an empty value. Attribute names compare without case.
#include "indexer/engine/meta_extraction.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>

namespace indexer {
namespace {

// Bytes read from a page at a time; an exported page's head fits in one or two blocks.
constexpr std::size_t kReadBlockBytes = 4096;
// A single tag longer than this is taken as the end of the input, so a page with an
// unterminated quote cannot make the reader hold the whole page.
constexpr std::size_t kMaxTagBytes = 256 * 1024;

bool IsBlank(char c) {
  return static_cast<unsigned char>(c) <= ' ';
}

char LowerAscii(char c) {
  return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

std::string Lower(std::string_view text) {
  std::string lower(text);
  for (char& c : lower)
    c = LowerAscii(c);
  return lower;
}

bool StartsTag(char c) {
  const char lower = LowerAscii(c);
  return lower == 'm' || lower == 'b' || lower == '!';
}

struct Tag {
  std::string name;
  MetaMap attributes;
};

// Reads one tag starting at text[lt] == '<'. Returns the offset after it, or npos when the
// text ends inside the tag and more input may follow (with atEnd the tag ends there).
std::size_t ReadTag(std::string_view text, std::size_t lt, bool atEnd, Tag& tag) {
  constexpr std::size_t kIncomplete = std::string_view::npos;
  const std::size_t size = text.size();
  std::size_t i = lt + 1;
  while (i < size && text[i] != '>' && !IsBlank(text[i]))
    ++i;
  if (i == size && !atEnd) return kIncomplete;
  tag.name = Lower(text.substr(lt + 1, i - lt - 1));
  const bool comment = tag.name.starts_with("!--");
  if (comment) {
    tag.name = "!--";
    i = lt + 4;
  }
  while (true) {
    while (i < size && IsBlank(text[i]))
      ++i;
    if (i == size) return atEnd ? size : kIncomplete;
    if (text[i] == '>') return i + 1;

    const std::size_t nameStart = i;
    while (i < size && text[i] != '=' && text[i] != '>' && !IsBlank(text[i]))
      ++i;
    const std::string name = Lower(text.substr(nameStart, i - nameStart));
    std::size_t afterName = i;
    while (afterName < size && IsBlank(text[afterName]))
      ++afterName;
    if (afterName == size && !atEnd) return kIncomplete;

    std::string value;
    if (afterName < size && text[afterName] == '=') {
      i = afterName + 1;
      while (i < size && IsBlank(text[i]))
        ++i;
      if (i == size && !atEnd) return kIncomplete;
      if (i < size && text[i] == '"') {
        const std::size_t close = text.find('"', i + 1);
        if (close == std::string_view::npos) {
          if (!atEnd) return kIncomplete;
          value = text.substr(i + 1);
          i = size;
        } else {
          value = text.substr(i + 1, close - i - 1);
          i = close + 1;
        }
      } else {
        const std::size_t valueStart = i;
        while (i < size && text[i] != '>' && !IsBlank(text[i]))
          ++i;
        if (i == size && !atEnd) return kIncomplete;
        value = text.substr(valueStart, i - valueStart);
        if (comment && value.ends_with("--")) value.resize(value.size() - 2);
      }
    }
    if (!name.empty()) tag.attributes[name] = value;
  }
}

// Applies a tag to the result; true when it ends the extraction.
bool ApplyTag(const Tag& tag, MetaMap& result) {
  if (tag.name == "body") return true;
  const auto& attributes = tag.attributes;
  if (tag.name == "meta") {
    const auto name = attributes.find("name");
    const auto content = attributes.find("content");
    if (name != attributes.end() && content != attributes.end()) {
      result[Lower(name->second)] = content->second;
    }
  } else if (tag.name == "!--") {
    if (auto it = attributes.find("indexmain"); it != attributes.end()) {
      result["description"] = it->second;
    } else if (auto sub = attributes.find("indexsub"); sub != attributes.end()) {
      result["subdescription"] = sub->second;
    } else if (auto category = attributes.find("category"); category != attributes.end()) {
      result["category"] = category->second;
    }
  }
  return false;
}

// Closes a file descriptor when it goes out of scope.
class FileDescriptor {
 public:
  explicit FileDescriptor(int fd) : fd_(fd) {}
  ~FileDescriptor() {
    if (fd_ >= 0) close(fd_);
  }
  FileDescriptor(const FileDescriptor&) = delete;
  FileDescriptor& operator=(const FileDescriptor&) = delete;
  int get() const { return fd_; }

 private:
  int fd_;
};

}  // namespace

void MetaParser::feed(std::string_view bytes) {
  if (done_) return;
  pending_.append(bytes);
  parse(false);
}

void MetaParser::finish() {
  if (done_) return;
  parse(true);
  done_ = true;
  pending_.clear();
}

void MetaParser::parse(bool atEnd) {
  const std::string_view text = pending_;
  std::size_t pos = 0;
  while (true) {
    std::size_t lt = pos;
    while (true) {
      lt = text.find('<', lt);
      if (lt == std::string_view::npos || lt + 1 >= text.size() || StartsTag(text[lt + 1])) break;
      ++lt;
    }
    if (lt == std::string_view::npos) {
      pending_.clear();
      return;
    }
    if (lt + 1 >= text.size()) {  // a lone "<" at the end: its tag may follow
      pending_.erase(0, lt);
      return;
    }
    Tag tag;
    const bool forceEnd = atEnd || text.size() - lt > kMaxTagBytes;
    const std::size_t end = ReadTag(text, lt, forceEnd, tag);
    if (end == std::string_view::npos) {
      pending_.erase(0, lt);
      return;
    }
    if (ApplyTag(tag, result_) || (forceEnd && !atEnd && end == text.size())) {
      done_ = true;
      pending_.clear();
      return;
    }
    pos = end;
  }
}

MetaMap ExtractMeta(std::string_view html) {
  MetaParser parser;
  parser.feed(html);
  parser.finish();
  return parser.result();
}

MMoreErr ExtractMetaFromFile(const std::string& path, MetaMap& result) {
  result.clear();
  // Plain reads: one system call per block and no stdio buffer to set up for every page.
  FileDescriptor file(open(path.c_str(), O_RDONLY | O_CLOEXEC));
  if (file.get() < 0) return kFileOpenErr;
  MetaParser parser;
  char block[kReadBlockBytes];
  std::size_t total = 0;
  while (!parser.done()) {
    const ssize_t got = read(file.get(), block, sizeof block);
    if (got < 0) {
      if (errno == EINTR) continue;
      return kFileReadErr;
    }
    if (got == 0) break;
    total += static_cast<std::size_t>(got);
    parser.feed(std::string_view(block, static_cast<std::size_t>(got)));
  }
  if (total == 0) return kFileReadErr;
  parser.finish();
  result = parser.result();
  return kNoErr;
}

}  // namespace indexer
