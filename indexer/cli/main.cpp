// The indexer's command line: one option names the command, the arguments after it are the
// command's. The desktop window is not part of this program yet.
#include <cstdio>
#include <cstring>
#include <string>
#include <string_view>

#include "indexer/cli/commands.h"
#include "indexer/cli/terminal_text.h"

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
               "${XDG_CONFIG_HOME:-$HOME/.config}/Tarnby/. An option's value may follow it or\n"
               "an \"=\" (--set=KEY=VALUE). Results (paths, listings) go to stdout, progress,\n"
               "status and warnings to stderr. Exit status: 0 success, 1 a run that failed or\n"
               "was refused (a missing file included), 2 usage error.\n");
}

}  // namespace
}  // namespace indexer::cli

int main(int argc, char** argv) {
  using namespace indexer::cli;
  if (argc < 2) return UsageError("no command given");
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
