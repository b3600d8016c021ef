// --batch: the scanning run and the writing run from the command line. The runs' dialogs are
// answered from the options: the folder is PATH, the scanner -scanner or the first that accepts
// the folder, the index type -type (there is no one to ask). Progress goes to stderr on one line
// while it is a terminal; Ctrl-C cancels like the progress dialog's Cancel button.
#include <signal.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <string_view>

#include "indexer/cli/commands.h"
#include "indexer/cli/terminal_text.h"
#include "indexer/cli/value_escapes.h"
#include "indexer/engine/component_registry.h"
#include "indexer/engine/index_engine.h"
#include "indexer/engine/index_runs.h"
#include "indexer/engine/link_check.h"
#include "indexer/startup/indexer_files.h"
#include "indexer/store/settings_keys.h"
#include "platform/cp1252.h"
#include "platform/status.h"

namespace indexer::cli {
namespace {

// Width of the progress line when the terminal does not say.
constexpr std::size_t kDefaultTerminalWidth = 80;

volatile sig_atomic_t interrupted = 0;

void OnInterrupt(int) {
  interrupted = 1;
}

// The first Ctrl-C cancels the run; a second one ends the process as usual.
void CatchInterrupt() {
  struct sigaction action = {};
  action.sa_handler = OnInterrupt;
  action.sa_flags = SA_RESETHAND;
  sigemptyset(&action.sa_mask);
  sigaction(SIGINT, &action, nullptr);
}

std::size_t TerminalWidth() {
  winsize size = {};
  if (ioctl(STDERR_FILENO, TIOCGWINSZ, &size) == 0 && size.ws_col > 0) return size.ws_col;
  return kDefaultTerminalWidth;
}

struct BatchOptions {
  std::string type;
  std::string scanner;
  std::string writer = kStandardWriterName;
  bool scanOnly = false;
  Arguments settings;
  std::string path;
};

// The option's value when `arg` is "-name=value" or "--name=value".
bool OptionValue(std::string_view arg, std::string_view name, std::string& value) {
  if (arg.starts_with("--")) {
    arg.remove_prefix(2);
  } else if (arg.starts_with("-")) {
    arg.remove_prefix(1);
  } else {
    return false;
  }
  if (!arg.starts_with(name) || arg.size() <= name.size() || arg[name.size()] != '=') return false;
  value = arg.substr(name.size() + 1);
  return true;
}

bool IsFlag(std::string_view arg, std::string_view name) {
  return arg == "-" + std::string(name) || arg == "--" + std::string(name);
}

// Fills `options`; on a usage error returns false with `error` set. An option's value follows
// it after "=" or as the next argument.
bool ParseBatchOptions(const Arguments& args, BatchOptions& options, std::string& error) {
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    std::string value;
    auto valueOf = [&](std::string_view name) {
      if (OptionValue(arg, name, value)) return true;
      if (!IsFlag(arg, name)) return false;
      if (i + 1 == args.size()) {
        error = arg + " needs a value";
        return false;
      }
      value = args[++i];
      return true;
    };
    if (valueOf("type")) {
      if (value != "issue" && value != "category") {
        error = "-type must be \"issue\" or \"category\", not \"" + value + "\"";
        return false;
      }
      options.type = value;
    } else if (valueOf("scanner")) {
      options.scanner = value;
    } else if (valueOf("writer")) {
      options.writer = value;
    } else if (IsFlag(arg, "scan-only")) {
      options.scanOnly = true;
    } else if (valueOf("set")) {
      options.settings.push_back(value);
    } else if (!error.empty()) {
      return false;
    } else if (arg.starts_with("-") && arg != "-") {
      error = "unknown batch option \"" + arg + "\"";
      return false;
    } else if (options.path.empty()) {
      options.path = arg;
    } else {
      error = "--batch takes one PATH";
      return false;
    }
  }
  if (options.path.empty()) {
    error = "--batch needs a folder or a .mlx collection";
    return false;
  }
  return true;
}

// The absolute path without a trailing slash; the names are kept as typed (no link resolution),
// since the year, issue and category come from them.
std::string AbsolutePath(const std::string& path) {
  std::string absolute = std::filesystem::absolute(path).lexically_normal().string();
  while (absolute.size() > 1 && absolute.back() == '/')
    absolute.pop_back();
  return absolute;
}

// The engine's dialogs answered without a user.
class BatchEngine : public IndexEngine {
 public:
  MMoreErr showProgress(const std::string& text) override {
    if (interrupted) return kUserCancelled;
    ++count_;
    if (showProgress_) {
      std::string line = std::to_string(count_) + " " + text;
      const std::size_t width = TerminalWidth() - 1;
      if (line.size() > width) line.resize(width);
      std::fprintf(stderr, "\r\033[K%s", platform::Cp1252ToUtf8(line).c_str());
      std::fflush(stderr);
      lineShown_ = true;
    }
    return kNoErr;
  }

  MMoreErr step() override { return interrupted ? kUserCancelled : kNoErr; }

  MMoreErr askIndexType(std::uint32_t&) override {
    UsageError(
        "the index type cannot be asked in batch mode: give -type=issue or "
        "-type=category");
    return kBadArgument;
  }

  void startProgress() {
    count_ = 0;
    showProgress_ = isatty(STDERR_FILENO) == 1;
  }

  void endProgress() {
    if (lineShown_) std::fprintf(stderr, "\r\033[K");
    lineShown_ = false;
    showProgress_ = false;
  }

 private:
  std::size_t count_ = 0;
  bool showProgress_ = false;
  bool lineShown_ = false;
};

class BatchFrontEnd : public RunFrontEnd {
 public:
  BatchFrontEnd(BatchEngine& engine, std::string folder) : engine_(engine), folder_(folder) {}

  std::string selectFolder(const std::string&, const std::string&) override { return folder_; }
  std::string selectScanner(const std::vector<std::string>& candidates) override {
    return candidates.front();
  }
  void showError(const std::string& text, const std::string&) override {
    Fail(kExitFailure, platform::Cp1252ToUtf8(text));
  }
  void openProgress(const std::string&) override { engine_.startProgress(); }
  void closeProgress() override { engine_.endProgress(); }
  // Batch mode never opens a browser.
  void openPage(const std::string&) override {}

 private:
  BatchEngine& engine_;
  std::string folder_;
};

// Prints a run's outcome whatever the Inform preferences say; true for success.
bool ReportStatus(std::uint16_t statusWord) {
  if (statusWord == kStatusScanCancelled) {
    std::fprintf(stderr, "User Break!\n");
    return false;
  }
  const auto message = MessageForStatus(statusWord);
  if (!message) return false;
  if (message->error) {
    std::fprintf(stderr, "%.*s\n", static_cast<int>(message->text.size()), message->text.data());
    PrintFailureDetail();
    return false;
  }
  PrintStatus(message->text);
  return true;
}

void PrintWarnings(const RunDocument& document) {
  for (const std::string& warning : document.warnings) {
    Fail(kExitOk, "warning: " + platform::Cp1252ToUtf8(warning));
  }
}

bool IsFolder(const std::string& path) {
  struct stat info;
  return stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

bool IsCollectionFile(const std::string& path) {
  struct stat info;
  return path.ends_with(".mlx") && stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

// With CheckLinks on, the local links of the written pages that lead nowhere, one line each on
// stderr; true when there are none.
bool LinksHold(IndexEngine& engine, const std::string& collectionPath) {
  bool check = false;
  engine.preferences().GetBool(kCheckLinks, check);
  if (!check) return true;
  std::string rootPath;
  engine.preferences().GetString(kRootPath, rootPath);
  std::vector<BrokenLink> broken;
  if (CheckCollectionLinks(collectionPath, platform::Cp1252ToUtf8(rootPath), broken) != kNoErr) {
    Fail(kExitFailure, "the links of " + collectionPath + " cannot be checked");
    return false;
  }
  for (const BrokenLink& link : broken) {
    Fail(kExitFailure, "broken link: " + link.page + ": " + platform::Cp1252ToUtf8(link.link) +
                           " (" + link.reason + ")");
  }
  return broken.empty();
}

}  // namespace

int RunBatch(const Arguments& args) {
  BatchOptions options;
  std::string error;
  if (!ParseBatchOptions(args, options, error)) return UsageError(error);

  BatchEngine engine;
  LoadFilesTelling(engine);
  for (const std::string& assignment : options.settings) {
    if (!ApplyPreference(assignment, engine.preferences(), error)) {
      return UsageError(error);
    }
  }
  const std::string path = AbsolutePath(options.path);
  const bool scanFolder = IsFolder(path);
  if (!scanFolder && !IsCollectionFile(path)) {
    return Fail(kExitFailure, "\"" + options.path + "\" is neither a folder nor a .mlx collection");
  }

  CatchInterrupt();
  BatchFrontEnd frontEnd(engine, path);
  RunDocument document;
  if (scanFolder) {
    if (!options.type.empty()) engine.scannerOptions()["type"] = options.type;
    platform::ClearLastFailure();
    const std::uint16_t word = RunScanning(engine.registry(), frontEnd, document, options.scanner);
    PrintWarnings(document);
    if (!ReportStatus(word)) return kExitFailure;
    if (options.scanOnly) {
      std::printf("%s\n", document.collectionPath.c_str());
      return kExitOk;
    }
  } else {
    document.collectionPath = path;
  }

  std::string indexPath;
  platform::ClearLastFailure();
  const std::uint16_t word =
      RunWriting(engine.registry(), frontEnd, document, options.writer, false, &indexPath);
  PrintWarnings(document);
  if (!ReportStatus(word)) return kExitFailure;
  std::printf("%s\n", indexPath.c_str());
  return LinksHold(engine, document.collectionPath) ? kExitOk : kExitFailure;
}

}  // namespace indexer::cli
