// The batch command line of layouthost: a document, settings that hold for the whole run
// (plug-in path, answers), and actions carried out in the order they are given.
#pragma once

#include <map>
#include <optional>
#include <string>
#include <vector>

namespace layouthost {

struct Action {
  enum Kind { kItem, kField, kJob, kMenu, kTextExport, kRender, kSave };
  Kind kind = kItem;
  std::string name;   // kField: the job field; kMenu: the item text (UTF-8)
  std::string value;  // kField: the value (UTF-8); kTextExport, kRender, kSave: a file
  int number = 0;     // kItem, kRender: a box id; kJob: the XT_JOB_ operation
};

struct CommandLine {
  std::string document;
  std::string plugin;      // empty: the default path
  std::string config_dir;  // empty: the user's settings folder
  bool yes = false;
  bool open_browser = false;                // an Export may start a browser as its settings say
  std::map<std::string, std::string> meta;  // UTF-8 tag name -> content
  double render_scale = 1.0;
  std::vector<Action> actions;
  bool help = false;
  bool version = false;
};

// The parsed command line, or nothing with `error` set.
std::optional<CommandLine> ParseCommandLine(const std::vector<std::string>& args,
                                            std::string* error);

extern const char kUsage[];

}  // namespace layouthost
