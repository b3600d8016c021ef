#include "layouthost/app/command_line.h"

#include <cstdlib>
#include <utility>

#include "hostapi/xt_host_api.h"

namespace layouthost {

const char kUsage[] = R"(Usage: layouthost [OPTIONS] DOCUMENT [ACTIONS]

A stand-in layout program: opens a layout document (JSON), loads the MarlixXT40 plug-in and
drives it from the command line. Actions run in the order given. Without actions, and with a
display, the document opens in layouthost's window instead. Every option that takes a value
takes it as the next word or after "=" (--path=X).

Options:
  --plugin PATH        the plug-in to load (default: libMarlixXT40.so beside the program,
                       in the build tree's xt/ folder, or in the installed lib/.../marlix/)
  --config-dir DIR     keep the plug-in's settings (MarlixXT40.INI) in DIR, created when
                       missing, instead of ${XDG_CONFIG_HOME:-$HOME/.config}/Tarnby; the
                       indexer the plug-in starts uses DIR as well
  --yes                answer the plug-in's questions with Yes (default: No)
  --meta NAME=CONTENT  the content to give when the plug-in asks for the META tag NAME
  --open-browser       let an Export show its page as the OpenBrowser setting says (without
                       it no Export starts a browser; --preview always shows its page)
  --render-scale F     scale of --render (default 1)
  --help, --version

Actions:
  --item ID            make box or group ID the current item (0: none)
  --path TEXT          set the job field Path (likewise --issue, --category, --file-name,
                       --headline, --subheadline, --header-file, --footer-file)
  --export             run an Export job with the fields set so far
  --append             run an Append job
  --preview            run a Preview job
  --menu TEXT          run the plug-in's menu item TEXT ("&" may be left out)
  --text-export FILE   export the current text box through the plug-in's HTML filter into FILE
  --render ID FILE     draw box ID into a 24-bit BMP file
  --save               write the document back, with the plug-in's box records
  --save-as FILE       write the document to FILE

The path of every page a job wrote is printed on stdout. Messages of the plug-in and warnings
(a missing drop-cap picture, an external footer that could not be used, a job with no current
item, a --meta tag never asked for) are printed on stderr, one line each.
Exit status: 0 when every action succeeded and every job returned 0; 1 when a job returned -1
(refused or failed) or 1 (page written, external footer file not used), when the browser could
not show a page, when a menu command failed, or when an action or the document failed (the
actions after a failed one are not run); 2 on a usage error.
)";

namespace {

const std::map<std::string, std::string> kFieldOptions = {{"--path", "Path"},
                                                          {"--issue", "Issue"},
                                                          {"--category", "Category"},
                                                          {"--file-name", "FileName"},
                                                          {"--headline", "Headline"},
                                                          {"--subheadline", "SubHeadline"},
                                                          {"--header-file", "HeaderFile"},
                                                          {"--footer-file", "FooterFile"}};

const std::map<std::string, int> kJobOptions = {
    {"--export", XT_JOB_EXPORT}, {"--append", XT_JOB_APPEND}, {"--preview", XT_JOB_PREVIEW}};

std::optional<int> BoxId(const std::string& text) {
  char* end = nullptr;
  const long value = std::strtol(text.c_str(), &end, 10);
  if (text.empty() || *end != '\0' || value < 0 || value > 1000000000) return std::nullopt;
  return static_cast<int>(value);
}

}  // namespace

std::optional<CommandLine> ParseCommandLine(const std::vector<std::string>& args,
                                            std::string* error) {
  CommandLine line;
  for (std::size_t i = 0; i < args.size(); ++i) {
    // "--name=value" is "--name value".
    std::string arg = args[i];
    std::optional<std::string> inline_value;
    if (const auto equals = arg.find('='); arg.starts_with("--") && equals != std::string::npos) {
      inline_value = arg.substr(equals + 1);
      arg.resize(equals);
    }
    auto value = [&](const char* what) -> std::optional<std::string> {
      if (inline_value) return std::exchange(inline_value, std::nullopt);
      if (i + 1 >= args.size()) {
        *error = arg + " needs " + what;
        return std::nullopt;
      }
      return args[++i];
    };
    const bool takes_value = arg == "--plugin" || arg == "--config-dir" || arg == "--meta" ||
                             arg == "--render-scale" || arg == "--item" || arg == "--render" ||
                             kFieldOptions.count(arg) || arg == "--menu" ||
                             arg == "--text-export" || arg == "--save-as";
    if (inline_value && !takes_value) {
      *error = arg + " takes no value";
      return std::nullopt;
    }
    if (arg == "--help" || arg == "-h") {
      line.help = true;
    } else if (arg == "--version") {
      line.version = true;
    } else if (arg == "--yes") {
      line.yes = true;
    } else if (arg == "--open-browser") {
      line.open_browser = true;
    } else if (arg == "--plugin") {
      auto path = value("a path");
      if (!path) return std::nullopt;
      line.plugin = *path;
    } else if (arg == "--config-dir") {
      auto folder = value("a folder");
      if (!folder) return std::nullopt;
      line.config_dir = *folder;
    } else if (arg == "--meta") {
      auto pair = value("NAME=CONTENT");
      if (!pair) return std::nullopt;
      const auto equals = pair->find('=');
      if (equals == std::string::npos || equals == 0) {
        *error = "--meta needs NAME=CONTENT";
        return std::nullopt;
      }
      line.meta[pair->substr(0, equals)] = pair->substr(equals + 1);
    } else if (arg == "--render-scale") {
      auto text = value("a factor");
      if (!text) return std::nullopt;
      char* end = nullptr;
      line.render_scale = std::strtod(text->c_str(), &end);
      if (*end != '\0' || !(line.render_scale > 0 && line.render_scale <= 100)) {
        *error = "--render-scale needs a factor between 0 and 100";
        return std::nullopt;
      }
    } else if (arg == "--item" || arg == "--render") {
      auto text = value("a box id");
      if (!text) return std::nullopt;
      const auto id = BoxId(*text);
      if (!id) {
        *error = arg + ": not a box id: " + *text;
        return std::nullopt;
      }
      Action action{arg == "--item" ? Action::kItem : Action::kRender, "", "", *id};
      if (action.kind == Action::kRender) {
        auto file = value("a box id and a file");
        if (!file) return std::nullopt;
        action.value = *file;
      }
      line.actions.push_back(action);
    } else if (kFieldOptions.count(arg)) {
      auto text = value("a value");
      if (!text) return std::nullopt;
      line.actions.push_back({Action::kField, kFieldOptions.at(arg), *text, 0});
    } else if (kJobOptions.count(arg)) {
      line.actions.push_back({Action::kJob, arg.substr(2), "", kJobOptions.at(arg)});
    } else if (arg == "--menu") {
      auto text = value("the item's text");
      if (!text) return std::nullopt;
      line.actions.push_back({Action::kMenu, *text, "", 0});
    } else if (arg == "--text-export" || arg == "--save-as") {
      auto file = value("a file");
      if (!file) return std::nullopt;
      line.actions.push_back(
          {arg == "--save-as" ? Action::kSave : Action::kTextExport, "", *file, 0});
    } else if (arg == "--save") {
      line.actions.push_back({Action::kSave, "", "", 0});
    } else if (arg.size() > 1 && arg[0] == '-') {
      *error = "unknown option " + arg;
      return std::nullopt;
    } else if (line.document.empty()) {
      line.document = arg;
    } else {
      *error = "more than one document: " + arg;
      return std::nullopt;
    }
  }
  if (line.document.empty() && !line.help && !line.version) {
    *error = "no document given";
    return std::nullopt;
  }
  return line;
}

}  // namespace layouthost
