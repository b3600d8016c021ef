#include "layouthost/window/main_window.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDockWidget>
#include <QFileDialog>
#include <QFileInfo>
#include <QInputDialog>
#include <QMenuBar>
#include <QMessageBox>
#include <QScrollArea>
#include <QSettings>
#include <QStatusBar>
#include <filesystem>

#include "layouthost/document/layout_document_json.h"
#include "layouthost/window/document_view.h"
#include "layouthost/window/story_panel.h"
#include "platform/cp1252.h"

namespace layouthost {
namespace {

constexpr int kMostRecentFiles = 4;
constexpr double kZoomStep = 1.25;
const char kRecentKey[] = "RecentFiles";
const char kDocumentFilter[] = "Layout documents (*.json);;All files (*)";
// Marks the plug-in's actions in the host's menus.
const char kPluginItemProperty[] = "pluginItem";

QString ItemText(const std::string& cp1252) {
  return QString::fromStdString(platform::Cp1252ToUtf8(cp1252));
}

// The document without what only a click changes, so that selecting is no unsaved change.
layout::Document ContentOf(layout::Document document) {
  document.current = 0;
  document.selection.clear();
  for (layout::Story& story : document.stories)
    story.selection_start = story.selection_end = 0;
  return document;
}

QSettings RecentSettings() {
  return QSettings(QStringLiteral("Tarnby"), QStringLiteral("layouthost"));
}

}  // namespace

MainWindow::MainWindow(const std::string& plugin_path)
    : host_(std::nullopt, ""),
      view_(new DocumentView(this)),
      scroll_(new QScrollArea(this)),
      story_panel_(new StoryPanel(this)) {
  host_.set_window_services(this);
  setWindowIcon(QIcon(QStringLiteral(":/layouthost/layouthost.png")));
  scroll_->setWidget(view_);
  scroll_->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
  scroll_->setBackgroundRole(QPalette::Window);
  scroll_->setPalette(view_->palette());
  setCentralWidget(scroll_);
  auto* dock = new QDockWidget(tr("Story"), this);
  dock->setObjectName("storyDock");
  dock->setWidget(story_panel_);
  dock->setFeatures(QDockWidget::DockWidgetMovable | QDockWidget::DockWidgetFloatable);
  addDockWidget(Qt::RightDockWidgetArea, dock);
  connect(view_, &DocumentView::SelectionChanged, this, &MainWindow::SelectionChanged);
  BuildFileMenu();
  second_menu_ = menuBar()->addMenu(tr("&Edit"));
  BuildViewMenu();
  first_menu_ = menuBar()->addMenu(tr("&Utilities"));
  for (QMenu* menu : {first_menu_, second_menu_}) {
    connect(menu, &QMenu::aboutToShow, this, &MainWindow::RefreshPluginMenus);
  }
  LoadPlugin(plugin_path);
  resize(1000, 760);
  UpdateTitle();
}

MainWindow::~MainWindow() {
  plugin_.reset();
  host_.set_window_services(nullptr);
}

void MainWindow::BuildFileMenu() {
  QMenu* file = menuBar()->addMenu(tr("&File"));
  file->addAction(tr("&Open..."), QKeySequence::Open, this, [this] {
    const QString path = QFileDialog::getOpenFileName(this, tr("Open"), path_, tr(kDocumentFilter));
    if (!path.isEmpty()) OpenDocument(path);
  });
  recent_menu_ = file->addMenu(tr("Recent &Files"));
  FillRecentMenu();
  file->addSeparator();
  file->addAction(tr("&Save"), QKeySequence::Save, this, &MainWindow::Save);
  file->addAction(tr("Save &As..."), QKeySequence::SaveAs, this, [this] {
    if (!host_.has_document()) return;
    const QString path =
        QFileDialog::getSaveFileName(this, tr("Save As"), path_, tr(kDocumentFilter));
    if (!path.isEmpty()) SaveAs(path);
  });
  file->addAction(tr("&Close"), QKeySequence::Close, this, &MainWindow::CloseDocument);
  file->addSeparator();
  file->addAction(tr("&Quit"), QKeySequence::Quit, this, &QWidget::close);
}

void MainWindow::BuildViewMenu() {
  QMenu* view = menuBar()->addMenu(tr("&View"));
  view->addAction(tr("Zoom &In"), QKeySequence::ZoomIn, this,
                  [this] { view_->SetZoom(view_->zoom() * kZoomStep); });
  view->addAction(tr("Zoom &Out"), QKeySequence::ZoomOut, this,
                  [this] { view_->SetZoom(view_->zoom() / kZoomStep); });
  view->addAction(tr("&Actual Size"), QKeySequence(Qt::CTRL | Qt::Key_0), this,
                  [this] { view_->SetZoom(1.0); });
}

void MainWindow::LoadPlugin(const std::string& plugin_path) {
  std::string error;
  const std::string path = plugin_path.empty() ? FindPlugin(ProgramFolder(), &error) : plugin_path;
  if (!path.empty()) plugin_ = Plugin::Load(host_, path, &error);
  if (!plugin_) {
    statusBar()->showMessage(
        tr("The plug-in could not be loaded: %1").arg(QString::fromStdString(error)));
  }
  RefreshPluginMenus();
}

void MainWindow::RefreshPluginMenus() {
  if (host_.HasCallback(XT_OP_MENU_UPDATE)) host_.Dispatch(XT_OP_MENU_UPDATE, nullptr);
  for (QMenu* menu : {first_menu_, second_menu_}) {
    for (QAction* action : menu->actions()) {
      if (action->property(kPluginItemProperty).isValid()) delete action;
    }
  }
  for (const MenuItem& item : host_.menu_items()) {
    QMenu* menu = item.menu == kSecondMenu ? second_menu_ : first_menu_;
    if (item.removed) continue;
    QAction* action = menu->addAction(ItemText(item.text));
    action->setProperty(kPluginItemProperty, item.number);
    action->setEnabled(item.enabled);
    const int32_t number = item.number;
    connect(action, &QAction::triggered, this, [this, number] {
      XtMenuCommandParams params{number};
      host_.Dispatch(XT_OP_MENU_COMMAND, &params);
      Refresh();
    });
  }
}

bool MainWindow::RunPluginItem(const QString& text) {
  RefreshPluginMenus();
  for (QMenu* menu : {first_menu_, second_menu_}) {
    for (QAction* action : menu->actions()) {
      if (action->property(kPluginItemProperty).isValid() &&
          action->text().remove('&') == QString(text).remove('&') && action->isEnabled()) {
        action->trigger();
        return true;
      }
    }
  }
  return false;
}

bool MainWindow::OpenDocument(const QString& path) {
  if (!CloseDocument()) return false;
  layout::LoadResult loaded = layout::ReadDocumentFile(path.toStdString());
  if (!loaded.document) {
    QMessageBox::warning(this, tr("Open"), QString::fromStdString(loaded.error));
    return false;
  }
  const std::string folder = std::filesystem::absolute(path.toStdString()).parent_path().string();
  saved_ = *loaded.document;
  host_.ReplaceDocument(std::move(loaded.document), folder);
  path_ = path;
  RememberRecent(QFileInfo(path).absoluteFilePath());
  ShowDocument();
  return true;
}

void MainWindow::ShowDocument() {
  view_->SetDocument(host_.document(), host_.folder());
  story_panel_->ShowCurrent(host_.document());
  UpdateTitle();
  RefreshPluginMenus();
}

bool MainWindow::Save() {
  if (!host_.has_document()) return false;
  return SaveAs(path_);
}

bool MainWindow::SaveAs(const QString& path) {
  std::string error;
  if (!layout::WriteDocumentFile(*host_.document(), path.toStdString(), &error)) {
    QMessageBox::warning(this, tr("Save"), QString::fromStdString(error));
    return false;
  }
  saved_ = *host_.document();
  path_ = path;
  RememberRecent(QFileInfo(path).absoluteFilePath());
  UpdateTitle();
  return true;
}

bool MainWindow::Modified() const {
  return host_.has_document() && saved_ && !(ContentOf(*host_.document()) == ContentOf(*saved_));
}

bool MainWindow::CloseDocument() {
  if (!host_.has_document()) return true;
  if (Modified()) {
    const auto answer = QMessageBox::question(
        this, tr("Close"), tr("Save the changes to \"%1\"?").arg(QFileInfo(path_).fileName()),
        QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel, QMessageBox::Save);
    if (answer == QMessageBox::Cancel) return false;
    if (answer == QMessageBox::Save && !Save()) return false;
  }
  host_.ReplaceDocument(std::nullopt, "");
  saved_.reset();
  path_.clear();
  ShowDocument();
  return true;
}

void MainWindow::closeEvent(QCloseEvent* event) {
  if (CloseDocument()) {
    event->accept();
  } else {
    event->ignore();
  }
}

void MainWindow::FillRecentMenu() {
  recent_menu_->clear();
  const QStringList files = RecentSettings().value(kRecentKey).toStringList();
  for (const QString& file : files) {
    recent_menu_->addAction(QFileInfo(file).fileName(), this, [this, file] { OpenDocument(file); })
        ->setToolTip(file);
  }
  recent_menu_->setEnabled(!files.isEmpty());
}

void MainWindow::RememberRecent(const QString& path) {
  QSettings settings = RecentSettings();
  QStringList files = settings.value(kRecentKey).toStringList();
  files.removeAll(path);
  files.prepend(path);
  while (files.size() > kMostRecentFiles)
    files.removeLast();
  settings.setValue(kRecentKey, files);
  FillRecentMenu();
}

void MainWindow::SelectionChanged() {
  story_panel_->ShowCurrent(host_.document());
  RefreshPluginMenus();
}

void MainWindow::UpdateTitle() {
  // The plug-in takes its FileName from this title: the document's file name comes first.
  const QString name = path_.isEmpty() ? QString() : QFileInfo(path_).fileName();
  setWindowTitle(name.isEmpty() ? tr("layouthost")
                                : tr("%1%2 - layouthost").arg(name, Modified() ? "*" : ""));
}

void* MainWindow::FrontWindow() {
  return static_cast<QWidget*>(this);
}

int32_t MainWindow::MessageBox(const std::string& text, bool yes_no) {
  const QString message = QString::fromStdString(text);
  if (!yes_no) {
    QMessageBox::information(this, tr("layouthost"), message);
    return 0;
  }
  return QMessageBox::question(this, tr("layouthost"), message) == QMessageBox::Yes ? XT_ANSWER_YES
                                                                                    : XT_ANSWER_NO;
}

std::optional<std::string> MainWindow::AskText(const std::string& prompt,
                                               const std::string& proposal) {
  bool ok = false;
  const QString answer =
      QInputDialog::getText(this, tr("layouthost"), QString::fromStdString(prompt),
                            QLineEdit::Normal, QString::fromStdString(proposal), &ok);
  if (!ok) return std::nullopt;
  return answer.toStdString();
}

void MainWindow::Refresh() {
  view_->Redraw();
  story_panel_->ShowCurrent(host_.document());
  UpdateTitle();
}

}  // namespace layouthost
