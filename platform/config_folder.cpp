#include "platform/config_folder.h"

#include <pwd.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <system_error>

namespace platform {

namespace {

bool MakeFolder(const std::filesystem::path& folder, std::error_code& error) {
  std::filesystem::create_directories(folder, error);
  return !error && std::filesystem::is_directory(folder, error);
}

}  // namespace

std::string HomeFolder() {
  if (const char* home = std::getenv("HOME"); home && *home) return home;
  if (const passwd* entry = getpwuid(getuid()); entry && entry->pw_dir) return entry->pw_dir;
  return {};
}

bool UseConfigFolder(const std::string& folder, std::string* error) {
  if (folder.empty()) {
    *error = "the settings folder name is empty";
    return false;
  }
  std::error_code code;
  // Absolute, so that programs started from another working folder find the same one.
  const std::filesystem::path absolute = std::filesystem::absolute(folder, code).lexically_normal();
  if (code || !MakeFolder(absolute, code)) {
    *error = folder + ": " + (code ? code.message() : std::string("not a folder"));
    return false;
  }
  std::string text = absolute.string();
  while (text.size() > 1 && text.back() == '/')
    text.pop_back();
  ::setenv(kConfigFolderVariable, text.c_str(), 1);
  return true;
}

std::string ConfigFolder() {
  std::error_code error;
  if (const char* chosen = std::getenv(kConfigFolderVariable); chosen && *chosen == '/') {
    return MakeFolder(chosen, error) ? std::string(chosen) : std::string();
  }
  std::string base;
  if (const char* xdg = std::getenv("XDG_CONFIG_HOME"); xdg && *xdg == '/') {
    base = xdg;
  } else {
    const std::string home = HomeFolder();
    if (home.empty()) return {};
    base = home + "/.config";
  }
  const std::string folder = base + "/Tarnby";
  return MakeFolder(folder, error) ? folder : std::string();
}

std::string ConfigFile(const std::string& name) {
  const std::string folder = ConfigFolder();
  return folder.empty() ? std::string() : folder + "/" + name;
}

}  // namespace platform
