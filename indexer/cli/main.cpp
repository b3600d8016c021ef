// The indexer's command line: one option names the command, the arguments after it are the
// command's. The desktop window is not part of this program yet.
#include <csignal>
#include <cstdio>
#include <cstring>
#include <exception>
#include <string>
#include <string_view>

#include "indexer/cli/commands.h"
#include "indexer/cli/terminal_text.h"
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
               "${XDG_CONFIG_HOME:-$HOME/.config}/Tarnby/. Exit status: 0 success, 1 failure,\n"
               "2 usage error.\n");
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
    if (argc < 3) return Fail(kExitUsage, "--config-dir needs a folder; see indexer --help");
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

int Run(int argc, char** argv) {
  if (const int status = TakeConfigFolder(argc, argv); status >= 0) return status;
  if (argc < 2) {
    PrintUsage(stderr);
    return kExitUsage;
  }
  const std::string_view option = argv[1];
  if (option == "--help" || option == "-h") {
    PrintUsage(stdout);
    return kExitOk;
  }
  if (option == "--version") {
    std::printf("indexer %s\n", kVersion);
    return kExitOk;
  }
  const Arguments args(argv + 2, argv + argc);
  for (const Command& command : kCommands) {
    if (option == command.option) return command.run(args);
  }
  return Fail(kExitUsage, "unknown command \"" + std::string(option) + "\"; see indexer --help");
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
