#include "tests/indexer_gui/gui_test_support.h"

#include <filesystem>
#include <fstream>

namespace indexer::gui::testing {

ConfigSandbox::ConfigSandbox() : previous_(qgetenv("XDG_CONFIG_HOME")) {
  qputenv("XDG_CONFIG_HOME", folder_.path().toUtf8());
  std::filesystem::create_directories(folder_.path().toStdString() + "/Tarnby");
}

ConfigSandbox::~ConfigSandbox() {
  qputenv("XDG_CONFIG_HOME", previous_);
}

std::string ConfigSandbox::file(const std::string& name) const {
  return folder_.path().toStdString() + "/Tarnby/" + name;
}

void WritePage(const std::string& path, const std::string& description,
               const std::string& subdescription, const std::string& body) {
  std::filesystem::create_directories(std::filesystem::path(path).parent_path());
  std::ofstream out(path, std::ios::binary);
  out << "<HTML><HEAD><META NAME=\"DESCRIPTION\" CONTENT=\"" << description << "\">";
  if (!subdescription.empty())
    out << "<META NAME=\"SUBDESCRIPTION\" CONTENT=\"" << subdescription << "\">";
  out << "</HEAD><BODY>" << body << "</BODY></HTML>\n";
}

std::string MakeIssue(const std::string& root, const std::vector<std::string>& categories,
                      int perCategory) {
  const std::string issue = root + "/1998/01";
  for (const std::string& category : categories) {
    for (int n = 0; n < perCategory; ++n) {
      const std::string name = category + "Page" + std::to_string(n);
      WritePage(issue + "/" + category + "/" + name + "/" + name + ".html",
                category + " article " + std::to_string(n), "Part " + std::to_string(n % 3));
    }
  }
  return issue;
}

std::vector<TestFactory>& TestFactories() {
  static std::vector<TestFactory> factories;
  return factories;
}

}  // namespace indexer::gui::testing
