#include "indexer/gui/main_window.h"

#include <QApplication>
#include <QCloseEvent>
#include <QLabel>
#include <QMenuBar>
#include <QPageSetupDialog>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QStatusBar>
#include <QToolBar>

#include "indexer/gui/about_box.h"
#include "indexer/gui/collection_view.h"
#include "indexer/gui/progress_dialog.h"
#include "indexer/gui/project_document.h"
#include "indexer/gui/window_position.h"

namespace indexer::gui {
namespace {

constexpr QSize kToolBarIconSize(16, 16);

// A menu text without its mnemonic and accelerator: "&New\tStrg+N" gives "New".
QString CommandName(QString text) {
  text = text.section(QLatin1Char('\t'), 0, 0);
  return text.remove(QLatin1Char('&'));
}

}  // namespace

MainWindow::MainWindow(ProjectDocument& document, std::string profile)
    : document_(document), profile_(std::move(profile)) {
  setWindowIcon(QIcon(QStringLiteral(":/indexer/marlix-indexer.svg")));
  view_ = new CollectionView(document_, this);
  setCentralWidget(view_);
  createFileMenu();
  createIndexMenu();
  createOptionsMenu();
  createViewMenu();
  createHelpMenu();
  createToolBar();
  createStatusBar();
  document_.setWindow(this);
  connectDocument();
  updateCommands();
  updateRecentFiles();
  updateTitle();
  resize(640, 480);
  restorePosition();
}

// The prompt is the status-bar text, a newline, and the tooltip.
QAction* MainWindow::makeAction(const QString& text, const QString& prompt, const QString& icon) {
  auto* action = new QAction(text, this);
  action->setObjectName(CommandName(text));
  action->setStatusTip(prompt.section(QLatin1Char('\n'), 0, 0));
  action->setToolTip(prompt.contains(QLatin1Char('\n')) ? prompt.section(QLatin1Char('\n'), 1)
                                                        : CommandName(text));
  if (!icon.isEmpty()) action->setIcon(QIcon(QStringLiteral(":/indexer/%1.svg").arg(icon)));
  return action;
}

QAction* MainWindow::action(const QString& name) const {
  return findChild<QAction*>(name);
}

void MainWindow::createFileMenu() {
  new_ = makeAction(tr("&New\tStrg+N"), tr("Creates a new Index.\nNew"), QStringLiteral("new"));
  new_->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_N));
  open_ =
      makeAction(tr("&Open\tStrg+O"), tr("Opens an existing File\nOpen"), QStringLiteral("open"));
  open_->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_O));
  close_ = makeAction(tr("&Close\tStrg+C"), tr("Closes the active indexing project\nClose"));
  pageSetup_ =
      makeAction(tr("Page Se&tup..."), tr("Changes printer and printing options.\nPage Setup"));
  print_ =
      makeAction(tr("&Print..."), tr("Prints the activ index.\nPrint"), QStringLiteral("print"));
  print_->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_P));
  printPreview_ = makeAction(tr("Print Pre&view"), tr("Displays full pages.\nPrint Preview"));
  exit_ = makeAction(tr("&Exit"),
                     tr("Closes the activ window and prompts to save the  document.\nExit"));
  connect(new_, &QAction::triggered, &document_, &ProjectDocument::newScan);
  connect(open_, &QAction::triggered, &document_, &ProjectDocument::openWithDialog);
  connect(close_, &QAction::triggered, view_, &CollectionView::closeCollection);
  connect(pageSetup_, &QAction::triggered, this, &MainWindow::pageSetup);
  connect(print_, &QAction::triggered, this, &MainWindow::print);
  connect(printPreview_, &QAction::triggered, this, &MainWindow::printPreview);
  connect(exit_, &QAction::triggered, this, &QWidget::close);

  fileMenu_ = menuBar()->addMenu(tr("&File"));
  fileMenu_->addActions({new_, open_, close_});
  fileMenu_->addSeparator();
  fileMenu_->addActions({pageSetup_, print_, printPreview_});
  recentSeparator_ = fileMenu_->addSeparator();
  for (int n = 0; n < ProjectDocument::kRecentFileCount; ++n) {
    QAction* recent = makeAction(tr("Last Index"), tr("Opens this index."));
    recent->setObjectName(QStringLiteral("Recent%1").arg(n + 1));
    connect(recent, &QAction::triggered, this,
            [this, recent] { document_.openFile(recent->data().toString().toStdString()); });
    recentActions_.append(recent);
    fileMenu_->addAction(recent);
  }
  fileMenu_->addSeparator();
  fileMenu_->addAction(exit_);
}

void MainWindow::createIndexMenu() {
  createIndex_ = makeAction(tr("&Create Index..."),
                            tr("Starts to create an Index HTML-document by using the preferences "
                               "settings.\nCreate Index"),
                            QStringLiteral("create-index"));
  connect(createIndex_, &QAction::triggered, &document_, &ProjectDocument::createIndex);
  menuBar()->addMenu(tr("&Index"))->addAction(createIndex_);
}

void MainWindow::createOptionsMenu() {
  preferences_ = makeAction(tr("&Preferences...\tStrg+P"),
                            tr("Opens the preferences settings dialog.\nPrefences settings"),
                            QStringLiteral("preferences"));
  connect(preferences_, &QAction::triggered, &document_, &ProjectDocument::editPreferences);
  menuBar()->addMenu(tr("&Options"))->addAction(preferences_);
}

void MainWindow::createViewMenu() {
  QMenu* menu = menuBar()->addMenu(tr("&View"));
  QAction* symbolBar =
      makeAction(tr("&Symbolbar"), tr("Showes or hides the toolbar.\nShow toolbar"));
  QAction* statusBarAction =
      makeAction(tr("S&tatusbar"), tr("Showes or hides the statusbar.\nShow statusbar"));
  for (QAction* toggle : {symbolBar, statusBarAction}) {
    toggle->setCheckable(true);
    toggle->setChecked(true);
    menu->addAction(toggle);
  }
  connect(symbolBar, &QAction::toggled, this, [this](bool on) { toolBar_->setVisible(on); });
  connect(statusBarAction, &QAction::toggled, this,
          [this](bool on) { statusBar()->setVisible(on); });
}

void MainWindow::createHelpMenu() {
  about_ = makeAction(tr("&About Marlix Index..."),
                      tr("Displays the program information and the copyright.\nInfo"),
                      QStringLiteral("about"));
  connect(about_, &QAction::triggered, this, &MainWindow::about);
  menuBar()->addMenu(tr("&?"))->addAction(about_);
}

void MainWindow::createToolBar() {
  toolBar_ = addToolBar(tr("Symbolbar"));
  toolBar_->setObjectName(QStringLiteral("Symbolbar"));
  toolBar_->setIconSize(kToolBarIconSize);
  toolBar_->addActions({new_, open_});
  toolBar_->addSeparator();
  toolBar_->addAction(createIndex_);
  toolBar_->addSeparator();
  toolBar_->addAction(print_);
  toolBar_->addSeparator();
  toolBar_->addAction(preferences_);
  toolBar_->addSeparator();
  toolBar_->addAction(about_);
}

// The message pane, then the Caps Lock, Num Lock and Scroll Lock indicators.
void MainWindow::createStatusBar() {
  for (const QString& indicator : {tr("UF"), tr("NUM"), tr("RF")}) {
    auto* label = new QLabel(indicator, this);
    label->setEnabled(false);
    label->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    statusBar()->addPermanentWidget(label);
  }
  statusBar()->showMessage(tr("Ready"));
}

void MainWindow::restorePosition() {
  if (const auto rect = ReadWindowRect(profile_)) setGeometry(*rect);
}

void MainWindow::connectDocument() {
  connect(&document_, &ProjectDocument::updated, view_, &CollectionView::onUpdate);
  connect(&document_, &ProjectDocument::notice, view_, &CollectionView::showNotice);
  connect(&document_, &ProjectDocument::titleChanged, this, &MainWindow::updateTitle);
  connect(&document_, &ProjectDocument::recentFilesChanged, this, &MainWindow::updateRecentFiles);
  connect(&document_, &ProjectDocument::runningChanged, this, &MainWindow::updateCommands);
  connect(view_, &CollectionView::holdingChanged, this, &MainWindow::updateCommands);
}

// Commands that need a collection wait for one; nothing starts while a run is going.
void MainWindow::updateCommands() {
  const bool idle = !document_.running();
  const bool holds = view_->holdsCollection() && idle;
  for (QAction* command : {close_, print_, printPreview_, createIndex_})
    command->setEnabled(holds);
  for (QAction* command : {new_, open_, preferences_, pageSetup_})
    command->setEnabled(idle);
  for (QAction* recent : recentActions_)
    recent->setEnabled(idle && recent->data().isValid());
}

void MainWindow::updateRecentFiles() {
  const QStringList files = document_.recentFiles();
  for (int n = 0; n < recentActions_.size(); ++n) {
    QAction* recent = recentActions_[n];
    if (n < files.size()) {
      recent->setText(QStringLiteral("&%1 %2").arg(n + 1).arg(files[n]));
      recent->setData(files[n]);
      recent->setVisible(true);
    } else {
      recent->setText(tr("Last Index"));
      recent->setData(QVariant());
      recent->setVisible(n == 0 && files.isEmpty());
    }
  }
  updateCommands();
}

void MainWindow::updateTitle() {
  const QString name = document_.title().isEmpty() ? tr("Marlix") : document_.title();
  setWindowTitle(tr("%1 - Marlix Index").arg(name));
}

void MainWindow::print() {
  QPrintDialog dialog(&printer_, this);
  if (dialog.exec() == QDialog::Accepted) view_->print(&printer_);
}

void MainWindow::printPreview() {
  QPrintPreviewDialog preview(&printer_, this);
  connect(&preview, &QPrintPreviewDialog::paintRequested, view_, &CollectionView::print);
  preview.exec();
}

void MainWindow::pageSetup() {
  QPageSetupDialog dialog(&printer_, this);
  dialog.exec();
}

void MainWindow::about() {
  AboutBox box(this);
  box.exec();
}

// A running scan is asked to stop first; the window closes once it has.
void MainWindow::closeEvent(QCloseEvent* event) {
  if (document_.running()) {
    if (ProgressDialog* progress = document_.engine().progressDialog()) progress->reject();
    event->ignore();
    return;
  }
  WriteWindowRect(profile_, geometry());
  event->accept();
}

}  // namespace indexer::gui
