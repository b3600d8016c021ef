// The project document: one for the whole program. It owns the engine (settings, categories,
// components), the paths and the status word, runs the scanning and writing runs, opens files
// and the preferences, and tells its views about every outcome.
#pragma once

#include <QObject>
#include <QStringList>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "indexer/engine/index_runs.h"
#include "indexer/gui/desktop_engine.h"

class QWidget;

namespace indexer::gui {

class ProjectDocument : public QObject {
  Q_OBJECT

 public:
  static constexpr int kRecentFileCount = 4;

  // Loads the settings and categories (or their defaults) and the default path from `profile`.
  explicit ProjectDocument(std::string profile);
  // Saves the settings, the categories and the default path.
  ~ProjectDocument() override;

  // The window that the run dialogs belong to.
  void setWindow(QWidget* window);

  DesktopEngine& engine() { return engine_; }
  std::uint16_t statusWord() const { return run_.statusWord; }
  const std::string& collectionPath() const { return run_.collectionPath; }
  const std::string& sourcePath() const { return sourcePath_; }
  const std::string& defaultPath() const { return run_.defaultFolder; }
  QString title() const { return title_; }
  QStringList recentFiles() const { return recentFiles_; }
  bool running() const { return running_; }
  bool setting(std::uint32_t id);

  // Start-up after the window is shown: the scan at once when AutoGetFolder is on.
  void startUp();
  // Tells the user about settings files that could not be read at start (kept as NAME.bad).
  void reportSetAsideFiles();
  // File New: choose a folder and scan it.
  void newScan();
  // File Open: the open-file dialog, then openFile().
  void openWithDialog();
  // A file chosen by the user, named on the command line or taken from the recent list.
  void openFile(const std::string& path);
  // Index, Create Index: the writing run on the scanned collection.
  void createIndex();
  // Options, Preferences: the modal preferences sheet.
  void editPreferences();

  // Sets the status word and tells the views, as a view does when it cannot show a collection.
  void reportStatus(std::uint16_t statusWord);

  // Opens a written index page; the desktop's browser by default.
  std::function<void(const std::string&)> pageOpener;

 signals:
  // The hint for the views: a status word of the runs.
  void updated(std::uint16_t statusWord);
  void titleChanged(const QString& title);
  void recentFilesChanged();
  void runningChanged(bool running);
  // Lines the user should read after a run: folders a scan skipped, links of the written pages
  // that lead nowhere ("page: link (why)").
  void notice(const QString& heading, const QStringList& lines);

 private:
  std::vector<std::string> setAside_;
  class FrontEnd;

  void setTitle(const QString& title);
  void addRecentFile(const std::string& path);
  void setRunning(bool running);
  void checkWrittenLinks();

  std::string profile_;
  DesktopEngine engine_;
  RunDocument run_;
  std::string sourcePath_;
  QString title_;
  QStringList recentFiles_;
  QWidget* window_ = nullptr;
  bool running_ = false;
};

}  // namespace indexer::gui
