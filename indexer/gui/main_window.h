// The main frame: the menus, toolbar and status bar with the commands of the program, the
// collection view in the middle, and the window position kept in the profile.
#pragma once

#include <QMainWindow>
#include <QPrinter>
#include <string>

class QAction;
class QMenu;

namespace indexer::gui {

class CollectionView;
class ProjectDocument;

class MainWindow : public QMainWindow {
  Q_OBJECT

 public:
  MainWindow(ProjectDocument& document, std::string profile);

  CollectionView* view() const { return view_; }
  QPrinter& printer() { return printer_; }
  // The command actions, by their menu text without "&" and accelerator ("New", "Create
  // Index...").
  QAction* action(const QString& name) const;

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  QAction* makeAction(const QString& text, const QString& prompt, const QString& icon = {});
  void createFileMenu();
  void createIndexMenu();
  void createOptionsMenu();
  void createViewMenu();
  void createHelpMenu();
  void createToolBar();
  void createStatusBar();
  void restorePosition();
  void connectDocument();
  void updateCommands();
  void updateRecentFiles();
  void updateTitle();
  void print();
  void printPreview();
  void pageSetup();
  void about();

  ProjectDocument& document_;
  std::string profile_;
  CollectionView* view_;
  QPrinter printer_;
  QMenu* fileMenu_ = nullptr;
  QAction* recentSeparator_ = nullptr;
  QList<QAction*> recentActions_;
  QAction *new_, *open_, *close_, *pageSetup_, *print_, *printPreview_, *exit_;
  QAction *createIndex_, *preferences_, *about_;
  QToolBar* toolBar_ = nullptr;
};

}  // namespace indexer::gui
