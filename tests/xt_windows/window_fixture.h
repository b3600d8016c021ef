// What the tests of the plug-in's windows share: a scratch folder with an archive and the
// profile file, the plug-in's settings object made active, a fake host whose front window is a
// real QWidget, and helpers to find controls by name.
#pragma once

#include <QComboBox>
#include <QTemporaryDir>
#include <QTest>
#include <QWidget>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>

#include "tests/xt/fake_host.h"
#include "xt/export/export_settings.h"

namespace xt::test {

inline std::string ReadBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

inline void WriteBytes(const std::string& path, const std::string& bytes) {
  std::filesystem::create_directories(std::filesystem::path(path).parent_path());
  std::ofstream(path, std::ios::binary) << bytes;
}

class WindowFixture {
 public:
  // `profile` is the profile file's text before the settings object reads it; "@ARCHIVE@"
  // stands for the archive folder.
  explicit WindowFixture(std::string profile = "") {
    std::size_t at = profile.find("@ARCHIVE@");
    if (at != std::string::npos) profile.replace(at, 9, Archive());
    std::filesystem::create_directories(Archive());
    if (profile.empty()) profile = "[Settings]\nDestFolder=" + Archive() + "\nOpenBrowser=0\n";
    WriteBytes(ProfilePath(), profile);
    settings = std::make_unique<ExportSettings>(ProfilePath());
    SetActiveSettings(settings.get());
    front.setWindowTitle("Report.qxd");
    host.SetFrontWindow(&front);
  }
  ~WindowFixture() { SetActiveSettings(nullptr); }

  std::string Path(const std::string& name) const { return dir.path().toStdString() + "/" + name; }
  std::string Archive() const { return Path("Archive"); }
  std::string ProfilePath() const { return Path("MarlixXT40.INI"); }
  std::string Profile() const { return ReadBytes(ProfilePath()); }

  QTemporaryDir dir;
  FakeHost host;
  QWidget front;
  std::unique_ptr<ExportSettings> settings;
};

template <typename Widget>
Widget* Find(QObject* parent, const char* name) {
  Widget* found = parent->findChild<Widget*>(name);
  if (!found) qWarning("no control named %s", name);
  return found;
}

inline QStringList Items(QComboBox* box) {
  QStringList items;
  for (int i = 0; i < box->count(); ++i)
    items << box->itemText(i);
  return items;
}

}  // namespace xt::test
