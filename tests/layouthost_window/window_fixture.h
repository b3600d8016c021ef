// What the tests of layouthost's window share: a scratch folder that is the configuration folder
// of the run (so that the plug-in's profile and the recent files are the test's own), a small
// layout document in it, and the paths of the built programs.
#pragma once

#include <QByteArray>
#include <QDir>
#include <QTemporaryDir>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "tests/layouthost/build_dir.h"

namespace layouthost::test {

// Page 1: text box 1 alone; group 4 of text box 2 and box 3.
constexpr char kHarbourJson[] = R"({
  "layout_document": 1,
  "name": "Harbour",
  "fonts": [{"id": 1, "name": "Times"}],
  "colors": [{"index": 1, "name": "Black", "rgb": [0, 0, 0]}],
  "stories": [
    {"id": 1, "runs": [{"text": "Harbour news\rFerries and fish\r", "font": 1, "size": 12}]},
    {"id": 2, "runs": [{"text": "The old lighthouse", "font": 1, "size": 9}]}
  ],
  "pages": [{"boxes": [
    {"id": 1, "kind": "text", "bounds": [20, 20, 120, 220], "story": 1},
    {"id": 2, "kind": "text", "bounds": [150, 20, 180, 220], "story": 2},
    {"id": 3, "kind": "other", "bounds": [190, 20, 240, 120]},
    {"id": 4, "kind": "group", "members": [2, 3]}
  ]}]
})";

inline std::string ReadBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

inline void WriteBytes(const std::string& path, const std::string& bytes) {
  std::filesystem::create_directories(std::filesystem::path(path).parent_path());
  std::ofstream(path, std::ios::binary) << bytes;
}

inline std::string PluginPath() {
  return BuildDir() + "/xt/libMarlixXT40.so";
}

inline std::string LayouthostPath() {
  return BuildDir() + "/layouthost/layouthost";
}

class ScratchConfig {
 public:
  ScratchConfig() {
    qputenv("XDG_CONFIG_HOME", QByteArray::fromStdString(Path("config")));
    WriteBytes(Path("config/Tarnby/MarlixXT40.INI"),
               "[Settings]\nDestFolder=" + Path("archive") +
                   "\nOpenBrowser=0\nUseMetaTags=0\nHeader=<BODY>\\n\nFooter=<HR>\n"
                   "Rubrics=Culture|News|\n");
    std::filesystem::create_directories(Path("archive/1998"));
    WriteBytes(Document(), kHarbourJson);
  }

  std::string Path(const std::string& name) const { return dir_.path().toStdString() + "/" + name; }
  std::string Document() const { return Path("harbour.json"); }

 private:
  QTemporaryDir dir_;
};

}  // namespace layouthost::test
