#include "indexer/gui/project_document.h"

#include <QFileDialog>
#include <QMessageBox>
#include <QWidget>

#include "indexer/engine/component_registry.h"
#include "indexer/engine/link_check.h"
#include "indexer/gui/folder_dialog.h"
#include "indexer/gui/prefs/preferences_sheet.h"
#include "indexer/gui/qt_text.h"
#include "indexer/gui/scanner_dialog.h"
#include "indexer/startup/indexer_files.h"
#include "indexer/store/settings_keys.h"
#include "platform/cp1252.h"
#include "platform/paths.h"
#include "platform/profile.h"
#include "platform/shell.h"

namespace indexer::gui {
namespace {

constexpr const char* kSettingsSection = "Settings";
constexpr const char* kRecentSection = "Recent File List";

std::string RecentKey(int n) {
  return "File" + std::to_string(n + 1);
}

}  // namespace

// The runs' dialogs, answered by the desktop's windows.
class ProjectDocument::FrontEnd : public RunFrontEnd {
 public:
  explicit FrontEnd(ProjectDocument& document) : document_(document) {}

  std::string selectFolder(const std::string& title, const std::string& start) override {
    FolderRequest request{FromCp1252(title), FromLocalPath(start)};
    FolderDialog dialog(document_.window_);
    dialog.setRequest(&request);
    if (dialog.exec() != QDialog::Accepted) return {};
    return ToLocalPath(request.path);
  }
  std::string selectScanner(const std::vector<std::string>& candidates) override {
    ScannerDialog dialog(candidates, document_.window_);
    dialog.exec();
    return dialog.chosen();
  }
  void showError(const std::string& text, const std::string& title) override {
    QMessageBox::warning(document_.window_, FromCp1252(title), FromCp1252(text));
  }
  void openProgress(const std::string& caption) override {
    progressOpened = true;
    document_.engine_.openProgress(FromCp1252(caption));
  }
  void closeProgress() override { document_.engine_.closeProgress(); }
  void openPage(const std::string& path) override {
    if (document_.pageOpener) document_.pageOpener(path);
  }

  // Whether the run got as far as its work; a run stopped in its dialogs changes nothing.
  bool progressOpened = false;

 private:
  ProjectDocument& document_;
};

ProjectDocument::ProjectDocument(std::string profile) : profile_(std::move(profile)) {
  setAside_ = LoadIndexerFiles(engine_).set_aside;
  run_.defaultFolder = platform::GetProfileString(profile_, kSettingsSection, "DefaultPath", "");
  for (int n = 0; n < kRecentFileCount; ++n) {
    const std::string file = platform::GetProfileString(profile_, kRecentSection, RecentKey(n), "");
    if (!file.empty()) recentFiles_.append(FromLocalPath(file));
  }
  pageOpener = [](const std::string& path) { platform::OpenWithShell(path); };
}

ProjectDocument::~ProjectDocument() {
  engine_.SaveSettings();
  engine_.SaveCategories();
  platform::WriteProfileString(profile_, kSettingsSection, "DefaultPath", run_.defaultFolder);
}

void ProjectDocument::setWindow(QWidget* window) {
  window_ = window;
  engine_.setWindow(window);
}

bool ProjectDocument::setting(std::uint32_t id) {
  bool value = false;
  engine_.preferences().GetBool(id, value);
  return value;
}

void ProjectDocument::reportSetAsideFiles() {
  QStringList lines;
  for (const std::string& path : setAside_)
    lines << FromLocalPath(path) + QStringLiteral(" → ") + FromLocalPath(SetAsidePath(path));
  if (!lines.isEmpty())
    emit notice(tr("Settings that could not be read were kept aside; the defaults are used:"),
                lines);
}

void ProjectDocument::startUp() {
  if (setting(kAutoGetFolder)) newScan();
}

void ProjectDocument::newScan() {
  if (running_) return;
  FrontEnd frontEnd(*this);
  setRunning(true);
  const std::uint16_t word = RunScanning(engine_.registry(), frontEnd, run_);
  setRunning(false);
  // A run stopped in its dialogs repaints only, rather than repeating the last run's message.
  if (!frontEnd.progressOpened) {
    emit updated(kStatusRedraw);
    return;
  }
  if (word == kStatusScanComplete) {
    sourcePath_ = run_.collectionPath;
    setTitle(FromLocalPath(run_.title));
    addRecentFile(run_.collectionPath);
  }
  emit updated(word);
  QStringList skipped;
  for (const std::string& warning : run_.warnings)
    skipped.append(FromCp1252(warning));
  if (!skipped.isEmpty()) emit notice(tr("Skipped while scanning:"), skipped);
}

void ProjectDocument::openWithDialog() {
  const QString chosen = QFileDialog::getOpenFileName(
      window_, QString(), FromLocalPath(run_.defaultFolder), QString(), nullptr,
      QFileDialog::DontConfirmOverwrite | QFileDialog::ReadOnly);
  if (!chosen.isEmpty()) openFile(ToLocalPath(chosen));
}

// Only a collection (a name ending exactly in ".mlx") is a ready scan result; any other file
// only changes the paths.
void ProjectDocument::openFile(const std::string& path) {
  if (running_) return;
  run_.defaultFolder = path;
  sourcePath_ = path;
  if (!path.ends_with(".mlx")) {
    emit updated(kStatusRedraw);
    return;
  }
  run_.collectionPath = path;
  run_.statusWord = kStatusScanComplete;
  setTitle(FromLocalPath(path));
  addRecentFile(path);
  emit updated(run_.statusWord);
}

void ProjectDocument::createIndex() {
  if (running_ || run_.collectionPath.empty()) return;
  FrontEnd frontEnd(*this);
  setRunning(true);
  const std::uint16_t word =
      RunWriting(engine_.registry(), frontEnd, run_, kStandardWriterName, setting(kOpenIndex));
  setRunning(false);
  emit updated(word);
  if (word == kStatusIndexWritten && setting(kCheckLinks)) checkWrittenLinks();
}

void ProjectDocument::editPreferences() {
  if (running_) return;
  PreferencesSheet sheet(tr("Prefences settings"), window_, PreferencesSheet::kGeneralPage,
                         engine_);
  sheet.exec();
}

void ProjectDocument::reportStatus(std::uint16_t statusWord) {
  run_.statusWord = statusWord;
  emit updated(statusWord);
}

void ProjectDocument::checkWrittenLinks() {
  std::string rootPath;
  engine_.preferences().GetString(kRootPath, rootPath);
  std::vector<BrokenLink> broken;
  CheckCollectionLinks(run_.collectionPath, platform::Cp1252ToUtf8(rootPath), broken);
  QStringList lines;
  for (const BrokenLink& link : broken) {
    lines.append(
        tr("%1: %2 (%3)")
            .arg(FromLocalPath(link.page), FromCp1252(link.link), FromCp1252(link.reason)));
  }
  if (!lines.isEmpty()) emit notice(tr("Broken links:"), lines);
}

void ProjectDocument::setTitle(const QString& title) {
  title_ = title;
  emit titleChanged(title_);
}

void ProjectDocument::addRecentFile(const std::string& path) {
  const QString file = FromLocalPath(path);
  recentFiles_.removeAll(file);
  recentFiles_.prepend(file);
  while (recentFiles_.size() > kRecentFileCount)
    recentFiles_.removeLast();
  for (int n = 0; n < kRecentFileCount; ++n) {
    const std::string value = n < recentFiles_.size() ? ToLocalPath(recentFiles_[n]) : "";
    platform::WriteProfileString(profile_, kRecentSection, RecentKey(n), value);
  }
  emit recentFilesChanged();
}

void ProjectDocument::setRunning(bool running) {
  running_ = running;
  emit runningChanged(running);
}

}  // namespace indexer::gui
