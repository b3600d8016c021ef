#include "indexer/cli/terminal_text.h"

#include <cstdio>

#include "indexer/cli/commands.h"
#include "platform/cp1252.h"

namespace indexer::cli {

void PrintLine(std::string_view cp1252_text) {
  const std::string line = platform::Cp1252ToUtf8(cp1252_text) + "\n";
  std::fwrite(line.data(), 1, line.size(), stdout);
}

int Fail(int status, std::string_view message) {
  std::fprintf(stderr, "indexer: %.*s\n", static_cast<int>(message.size()), message.data());
  return status;
}

int UsageError(std::string_view message) {
  Fail(kExitUsage, message);
  std::fputs("Try 'indexer --help' for more information.\n", stderr);
  return kExitUsage;
}

void PrintStatus(std::string_view cp1252_text) {
  const std::string line = platform::Cp1252ToUtf8(cp1252_text) + "\n";
  std::fwrite(line.data(), 1, line.size(), stderr);
}

std::optional<std::string> ArgumentText(std::string_view utf8) {
  return platform::Utf8ToCp1252(utf8);
}

}  // namespace indexer::cli
