// The indexer's command line: one option names the command, the arguments after it are the
// command's. Without a command (or with only a file to open) the desktop window starts.
#include <cstdio>
#include <cstring>
#include <string>
#include <string_view>

#include "indexer/cli/commands.h"
#include "indexer/cli/terminal_text.h"
#ifdef MARLIX_INDEXER_DESKTOP
#include "indexer/gui/desktop_program.h"
#endif

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
  std::fprintf(out, "Usage: indexer COMMAND [ARGUMENTS]\n\nCommands:\n");
  for (const Command& command : kCommands)
    std::fprintf(out, "  %s\n      %s\n", command.synopsis, command.summary);
  std::fprintf(out,
               "  --help\n      show this help\n  --version\n      show the version\n\n"
               "The preferences and categories live in mlxindex.hpr and mlxindex.hcg in\n"
               "${XDG_CONFIG_HOME:-$HOME/.config}/Tarnby/. Exit status: 0 success, 1 failure,\n"
               "2 usage error.\n");
}

// No command, or a single file to open: the window's business.
bool WantsDesktop(int argc, char** argv) {
  return argc < 2 || (argc == 2 && argv[1][0] != '-');
}

int RunDesktopOrExplain(int argc, char** argv) {
#ifdef MARLIX_INDEXER_DESKTOP
  if (indexer::gui::DesktopAvailable()) return indexer::gui::RunDesktop(argc, argv);
#endif
  std::fprintf(stderr,
               "indexer: no display for the window. Index without one with\n"
               "  indexer --batch -type=issue|category FOLDER\n\n");
  PrintUsage(stderr);
  return kExitUsage;
}

}  // namespace
}  // namespace indexer::cli

int main(int argc, char** argv) {
  using namespace indexer::cli;
  if (WantsDesktop(argc, argv)) return RunDesktopOrExplain(argc, argv);
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
