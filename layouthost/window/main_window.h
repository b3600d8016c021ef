// layouthost's document window: the pages of one layout document with a side panel for the
// current story, the File menu, and the menus the plug-in adds its items to. The window also
// serves the plug-in's message boxes and questions, and redraws when the plug-in sends
// XT_MESSAGE_REFRESH.
#pragma once

#include <QMainWindow>
#include <memory>
#include <optional>
#include <string>

#include "layouthost/document/layout_document.h"
#include "layouthost/host/layout_host.h"
#include "layouthost/host/plugin_loader.h"

class QMenu;
class QScrollArea;

namespace layouthost {

class DocumentView;
class StoryPanel;

class MainWindow : public QMainWindow, private WindowServices {
  Q_OBJECT

 public:
  // Loads the plug-in from `plugin_path` (empty: the default place).
  explicit MainWindow(const std::string& plugin_path);
  ~MainWindow() override;

  // Opens a document in place of the current one (which may be saved first); false with a
  // message when it cannot be read.
  bool OpenDocument(const QString& path);
  bool Save();
  bool SaveAs(const QString& path);
  // Asks about unsaved changes; false when the user cancels.
  bool CloseDocument();

  LayoutHost& host() { return host_; }
  bool plugin_loaded() const { return plugin_ != nullptr; }
  DocumentView* view() const { return view_; }
  StoryPanel* story_panel() const { return story_panel_; }
  // The plug-in's menu items as the host shows them now (after the plug-in's menu update).
  void RefreshPluginMenus();
  // Runs the plug-in's item whose text (without "&") is `text`; false when there is none.
  bool RunPluginItem(const QString& text);

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  // WindowServices
  void* FrontWindow() override;
  int32_t MessageBox(const std::string& text, bool yes_no) override;
  std::optional<std::string> AskText(const std::string& prompt,
                                     const std::string& proposal) override;
  void Refresh() override;

  void BuildFileMenu();
  void BuildViewMenu();
  void BuildPluginMenus();
  void FillRecentMenu();
  void RememberRecent(const QString& path);
  void LoadPlugin(const std::string& plugin_path);
  void ShowDocument();
  void SelectionChanged();
  bool Modified() const;
  void UpdateTitle();

  LayoutHost host_;
  std::unique_ptr<Plugin> plugin_;  // declared after host_: unloaded before it goes
  QString path_;
  std::optional<layout::Document> saved_;  // the document as read or last saved
  DocumentView* view_;
  QScrollArea* scroll_;
  StoryPanel* story_panel_;
  QMenu* recent_menu_ = nullptr;
  QMenu* first_menu_ = nullptr;
  QMenu* second_menu_ = nullptr;
};

}  // namespace layouthost
