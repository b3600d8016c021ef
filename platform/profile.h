// Private profile (INI) files with the semantics of the Windows profile functions the programs
// were written against: section and key names compared without regard to ASCII case, a missing
// file or key gives the caller's default, values kept byte for byte (nothing trimmed after the
// "="), integers as decimal text. A write rewrites the whole file, keeping every line it does
// not change, through a temporary file that replaces the old one, so a reader never sees half
// a file. Whole-section reads and writes take one pass, so sections of thousands of keys stay
// fast. The format is described in docs/ini-file.md.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/status.h"

namespace platform {

// An INI file held as its lines, without their line ends.
class IniDocument {
 public:
  IniDocument() = default;
  // Splits at LF, CR LF or a lone CR.
  static IniDocument Parse(std::string_view text);
  // Every line followed by LF.
  std::string Serialize() const;

  // The value of the first `key` of the first section named `section`.
  std::optional<std::string> Get(std::string_view section, std::string_view key) const;
  // Replaces that value, or adds the key at the end of the section, or the section at the end
  // of the file. A line break inside `value` is written as the two characters "\n".
  void Set(std::string_view section, std::string_view key, std::string_view value);
  // The key names of the first section named `section`, in file order, each name once.
  std::vector<std::string> Keys(std::string_view section) const;
  // The keys of that section with the value of each name's first line, in file order.
  std::vector<std::pair<std::string, std::string>> Entries(std::string_view section) const;
  // Removes every section named `section` with its lines; false when there was none.
  bool DeleteSection(std::string_view section);
  // Removes every section named `section` and, unless `entries` is empty, adds it at the end
  // with the entries in order; a name given twice keeps its first place and its last value.
  // The same as DeleteSection followed by one Set per entry, in one pass.
  void ReplaceSection(std::string_view section,
                      const std::vector<std::pair<std::string, std::string>>& entries);
  // Removes `key` from the first section named `section`; false when it was not there.
  bool DeleteKey(std::string_view section, std::string_view key);

 private:
  // [begin, end) line range of the first section named `section` (begin is its header line).
  struct Range {
    std::size_t begin;
    std::size_t end;
  };
  std::optional<Range> FindSection(std::string_view section) const;
  std::optional<std::size_t> FindKey(const Range& range, std::string_view key) const;

  std::vector<std::string> lines_;
};

// Reads the whole file; an empty document when it is missing or unreadable.
IniDocument ReadIniFile(const std::string& file);
// Replaces the file with the document (see platform/file_replacement.h); the failure's path
// and reason also become this thread's LastFailure().
Status WriteIniFile(const std::string& file, const IniDocument& document);

std::string GetProfileString(const std::string& file, std::string_view section,
                             std::string_view key, std::string_view fallback);
// Optional sign and decimal digits after leading blanks; a value without digits counts as 0.
int GetProfileInt(const std::string& file, std::string_view section, std::string_view key,
                  int fallback);
std::vector<std::string> GetProfileKeys(const std::string& file, std::string_view section);

bool WriteProfileString(const std::string& file, std::string_view section, std::string_view key,
                        std::string_view value);
bool WriteProfileInt(const std::string& file, std::string_view section, std::string_view key,
                     int value);
bool DeleteProfileSection(const std::string& file, std::string_view section);
bool DeleteProfileKey(const std::string& file, std::string_view section, std::string_view key);

// The integer rule of GetProfileInt applied to a value.
int ParseProfileInt(std::string_view value);

}  // namespace platform
