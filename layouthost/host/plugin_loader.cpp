#include "layouthost/host/plugin_loader.h"

#include <dlfcn.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <system_error>

#include "layouthost/host/served_tables.h"

namespace layouthost {

namespace {

// What the activation block's calls saw.
struct Activation {
  bool registered = false;
  bool value_set = false;
  XtCallbackProc main = nullptr;
};

int32_t Register(void* host, int32_t identifier, int32_t a, int32_t b, int32_t version,
                 int32_t zero) {
  const bool accepted = identifier == XT_IDENTIFIER && a == XT_REGISTER_A && b == XT_REGISTER_B &&
                        version == XT_VERSION && zero == 0;
  if (accepted) static_cast<Activation*>(host)->registered = true;
  return accepted ? 1 : 0;
}

void SetValue(void* host, int32_t value) {
  if (value == XT_FURTHER_VALUE) static_cast<Activation*>(host)->value_set = true;
}

XtErr InstallMain(void* host, XtCallbackProc proc, int32_t a, int32_t b, int32_t c) {
  if (!proc || a != XT_INSTALL_A || b != XT_INSTALL_B || c != XT_INSTALL_C) {
    return XT_ERR_ACTIVATION;
  }
  static_cast<Activation*>(host)->main = proc;
  return 0;
}

std::string Hex(XtErr err) {
  char text[16];
  std::snprintf(text, sizeof text, "0x%08X", static_cast<unsigned>(err));
  return text;
}

}  // namespace

std::unique_ptr<Plugin> Plugin::Load(LayoutHost& host, const std::string& path,
                                     std::string* error) {
  void* library = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (!library) {
    *error = dlerror();
    return nullptr;
  }
  auto plugin = std::make_unique<Plugin>(host, library);
  const auto activate = reinterpret_cast<XtActivateProc>(dlsym(library, XT_ACTIVATE_SYMBOL));
  if (!activate) {
    *error = path + ": no " + XT_ACTIVATE_SYMBOL;
    return nullptr;
  }
  Activation seen;
  XtActivateBlock block{&seen, Register, SetValue, InstallMain};
  if (const XtErr err = activate(&block)) {
    *error = path + ": activation failed with " + Hex(err);
    return nullptr;
  }
  if (!seen.registered || !seen.value_set || !seen.main) {
    *error = path + ": activation did not register, set the value and install the main callback";
    return nullptr;
  }
  XtCallbackTable table{
      XT_CALLBACK_TABLE_COUNT, XT_CALLBACK_TABLE_KIND, XT_CALLBACK_TABLE_VERSION, {}};
  table.entries[0] = reinterpret_cast<void*>(&BindTable);
  table.entries[1] = reinterpret_cast<void*>(&InstallCallback);
  if (const XtErr err = seen.main(XT_OP_START, &table)) {
    *error = path + ": start-up failed with " + Hex(err);
    return nullptr;
  }
  plugin->started_ = true;
  XtMenuBuildParams menus{kFirstMenu, kSecondMenu};
  if (host.HasCallback(XT_OP_MENU_BUILD)) host.Dispatch(XT_OP_MENU_BUILD, &menus);
  return plugin;
}

Plugin::~Plugin() {
  if (started_ && host_.HasCallback(XT_OP_UNLOAD)) host_.Dispatch(XT_OP_UNLOAD, nullptr);
  host_.ForgetPlugin();  // its callbacks and writer point into the library
  dlclose(library_);
}

std::string ProgramFolder() {
  std::error_code ec;
  const std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe", ec);
  return (ec ? std::filesystem::current_path(ec) : exe.parent_path()).string();
}

std::vector<std::string> PluginCandidates(const std::string& program_folder) {
  const std::filesystem::path folder(program_folder);
  std::vector<std::string> candidates;
  for (const auto& place : {folder, folder / ".." / "xt", folder / MARLIX_PLUGIN_RELATIVE_DIR})
    candidates.push_back((place / kPluginFileName).lexically_normal().string());
  return candidates;
}

std::string FindPlugin(const std::string& program_folder, std::string* error) {
  const std::vector<std::string> candidates = PluginCandidates(program_folder);
  std::string looked;
  std::error_code ec;
  for (const std::string& candidate : candidates) {
    if (std::filesystem::exists(candidate, ec)) return candidate;
    looked += (looked.empty() ? "" : ", ") + candidate;
  }
  *error = std::string(kPluginFileName) + " is in none of the places looked at: " + looked +
           " (name it with --plugin)";
  return {};
}

}  // namespace layouthost
