// Loads the plug-in with dlopen and runs its activation: xtactivate_cb with an activation block
// whose registration accepts only the plug-in's own identifier and version, the further value and
// the main callback's installation checked; then the main callback's start with the callback
// table, and the menu build. Unloading sends the unload callback before the library is closed.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "layouthost/host/layout_host.h"

namespace layouthost {

constexpr const char* kPluginFileName = "libMarlixXT40.so";

class Plugin {
 public:
  // The loaded and started plug-in, or nullptr with `error` set.
  static std::unique_ptr<Plugin> Load(LayoutHost& host, const std::string& path,
                                      std::string* error);
  // Takes over a library opened with dlopen.
  Plugin(LayoutHost& host, void* library) : host_(host), library_(library) {}
  ~Plugin();
  Plugin(const Plugin&) = delete;
  Plugin& operator=(const Plugin&) = delete;

 private:
  LayoutHost& host_;
  void* library_;
  bool started_ = false;
};

// The folder of the running program (/proc/self/exe), else the working folder.
std::string ProgramFolder();

// The places the plug-in is looked for when no path is given, in order: beside the program,
// where the build tree puts it (<build>/xt/ seen from <build>/layouthost/), and where an
// installation puts it (the private lib/<triplet>/marlix/ seen from bin/).
std::vector<std::string> PluginCandidates(const std::string& program_folder);

// The first candidate that exists, or empty with `error` naming every place looked at.
std::string FindPlugin(const std::string& program_folder, std::string* error);

}  // namespace layouthost
