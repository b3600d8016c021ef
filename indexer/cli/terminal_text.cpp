#include "indexer/cli/terminal_text.h"

#include <cstdio>

#include "indexer/cli/commands.h"
#include "platform/cp1252.h"
#include "platform/status.h"

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

int FailWithDetail(int status, std::string_view message) {
  Fail(status, message);
  PrintFailureDetail();
  return status;
}

void PrintFailureDetail() {
  const std::string detail = platform::LastFailure().Detail();
  if (!detail.empty()) Fail(kExitOk, detail);
}

StartupResult LoadFilesTelling(IndexEngine& engine) {
  StartupResult result = LoadIndexerFiles(engine);
  for (const std::string& path : result.set_aside) {
    Fail(kExitOk, "warning: \"" + path + "\" could not be read; kept as \"" + SetAsidePath(path) +
                      "\", the defaults are used");
  }
  return result;
}

std::optional<std::string> ArgumentText(std::string_view utf8) {
  return platform::Utf8ToCp1252(utf8);
}

}  // namespace indexer::cli
