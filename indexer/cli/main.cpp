// The indexer's command line: one option names the command, the arguments after it are the
// command's. Without a command (or with only a file to open) the desktop window starts.
#include <csignal>
#include <cstdio>
#include <cstring>
#include <exception>
#include <string>
#include <string_view>

#include "indexer/cli/commands.h"
#include "indexer/cli/terminal_text.h"
#ifdef MARLIX_INDEXER_DESKTOP
#include "indexer/gui/desktop_program.h"
#endif
#include "indexer/store/mmore_err.h"
#include "platform/config_folder.h"

namespace indexer::cli {
namespace {

constexpr const char* kVersion = "2.5.0";

struct Command {
  const char* option;
  const char* synopsis;
  const char* summary;
  int (*run)(const Arguments& args);
};

constexpr Command kCommands[] = {
    {"--prefs", "--prefs [KEY=VALUE...]",
     "list every preference as KEY=VALUE, or store the given ones (\\\\ \\r \\n \\t in strings)",
     RunPrefs},
    {"--prefs-reset", "--prefs-reset", "write the default preferences", RunPrefsReset},
    {"--categories", "--categories", "list the categories: key, TAB, display name, TAB, heading",
     RunCategories},
    {"--categories-reset", "--categories-reset", "write the default categories",
     RunCategoriesReset},
    {"--category-add", "--category-add NAME [HEADING]",
     "add or replace the category keyed by NAME cut to 8 characters", RunCategoryAdd},
    {"--category-remove", "--category-remove KEY", "remove the category with that key",
     RunCategoryRemove},
    {"--batch",
     "--batch [-type=issue|category] [-scanner=NAME] [-writer=NAME] [--scan-only]\n"
     "          [--set KEY=VALUE]... PATH",
     "scan the folder PATH into PATH/index.mlx and write its index; PATH a .mlx collection:\n"
     "      write its index only. --set changes a preference for this run only. Ctrl-C cancels",
     RunBatch},
    {"--show", "--show COLLECTION.mlx", "print the outline of a collection", RunShow},
};

void PrintUsage(std::FILE* out) {
  std::fprintf(out,
               "Usage: indexer [--config-dir DIR] COMMAND [ARGUMENTS]\n\n"
               "  --config-dir DIR\n"
               "      keep the preferences and categories in DIR (created when missing)\n"
               "      instead of the user's settings folder\n\nCommands:\n");
  for (const Command& command : kCommands)
    std::fprintf(out, "  %s\n      %s\n", command.synopsis, command.summary);
  std::fprintf(out,
               "  --help\n      show this help\n  --version\n      show the version\n\n"
               "The preferences and categories live in mlxindex.hpr and mlxindex.hcg in\n"
               "the folder --config-dir names, else in $MARLIX_CONFIG_DIR, else in\n"
               "${XDG_CONFIG_HOME:-$HOME/.config}/Tarnby/. An option's value may follow it or\n"
               "an \"=\" (--set=KEY=VALUE). Results (paths, listings) go to stdout, progress,\n"
               "status and warnings to stderr. Exit status: 0 success, 1 a run that failed or\n"
               "was refused (a missing file included), 2 usage error.\n");
}

// Takes a leading "--config-dir DIR" or "--config-dir=DIR" off the arguments and makes DIR the
// settings folder. -1 when there was none or it is set, else the exit status of the failure.
int TakeConfigFolder(int& argc, char**& argv) {
  if (argc < 2) return -1;
  const std::string_view first = argv[1];
  constexpr std::string_view kOption = "--config-dir";
  std::string folder;
  int taken = 0;
  if (first == kOption) {
    if (argc < 3) return UsageError("--config-dir needs a folder");
    folder = argv[2];
    taken = 2;
  } else if (first.substr(0, kOption.size() + 1) == "--config-dir=") {
    folder = first.substr(kOption.size() + 1);
    taken = 1;
  } else {
    return -1;
  }
  std::string error;
  if (!platform::UseConfigFolder(folder, &error)) return Fail(kExitFailure, error);
  argv[taken] = argv[0];
  argv += taken;
  argc -= taken;
  return -1;
}

// No command, or a single file to open: the window's business.
bool WantsDesktop(int argc, char** argv) {
  return argc < 2 || (argc == 2 && argv[1][0] != '-');
}

int RunDesktopOrExplain([[maybe_unused]] int argc, [[maybe_unused]] char** argv) {
#ifdef MARLIX_INDEXER_DESKTOP
  if (indexer::gui::DesktopAvailable()) return indexer::gui::RunDesktop(argc, argv);
#endif
  std::fprintf(stderr,
               "indexer: no display for the window. Index without one with\n"
               "  indexer --batch -type=issue|category FOLDER\n\n");
  PrintUsage(stderr);
  return kExitUsage;
}

int Run(int argc, char** argv) {
  if (const int status = TakeConfigFolder(argc, argv); status >= 0) return status;
  if (WantsDesktop(argc, argv)) return RunDesktopOrExplain(argc, argv);
  std::string_view option = argv[1];
  Arguments args(argv + 2, argv + argc);
  // "--command=value" is "--command value".
  if (const std::size_t equals = option.find('=');
      option.starts_with("--") && equals != std::string_view::npos) {
    args.insert(args.begin(), std::string(option.substr(equals + 1)));
    option = option.substr(0, equals);
  }
  if (option == "--help" || option == "-h") {
    PrintUsage(stdout);
    return kExitOk;
  }
  if (option == "--version") {
    std::printf("indexer %s\n", kVersion);
    return kExitOk;
  }
  for (const Command& command : kCommands) {
    if (option == command.option) return command.run(args);
  }
  return UsageError("unknown command \"" + std::string(option) + "\"");
}

}  // namespace
}  // namespace indexer::cli

// Whatever a command meets, the program ends with a message and its exit status.
int main(int argc, char** argv) {
  using namespace indexer::cli;
  // Past a file size limit a write then fails with EFBIG and is reported like a full disk.
  std::signal(SIGXFSZ, SIG_IGN);
  try {
    return Run(argc, argv);
  } catch (indexer::MMoreErr status) {
    return FailWithDetail(kExitFailure, "error " + std::to_string(status));
  } catch (const std::exception& error) {
    return FailWithDetail(kExitFailure, error.what());
  }
}
