#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QProcess>
#include <QPushButton>
#include <QTest>

#include "layouthost/window/document_view.h"
#include "layouthost/window/main_window.h"
#include "layouthost/window/story_panel.h"
#include "tests/layouthost_window/window_fixture.h"
#include "tests/qt_support/qt_test_registry.h"

namespace layouthost::test {
namespace {

QWidget* TopLevel(const QString& title) {
  for (QWidget* widget : QApplication::topLevelWidgets()) {
    if (widget->isVisible() && widget->windowTitle() == title) return widget;
  }
  return nullptr;
}

QStringList ActionTexts(QMenu* menu) {
  QStringList texts;
  for (QAction* action : menu->actions())
    texts << action->text();
  return texts;
}

QMenu* MenuNamed(QMainWindow& window, const QString& title) {
  for (QAction* action : window.menuBar()->actions()) {
    if (action->text() == title) return action->menu();
  }
  return nullptr;
}

// The document window with the real plug-in: its menus, its export sheet over the window, the
// text selection reaching it, and an Export through the windows.
class PluginWindowTest : public QObject {
  Q_OBJECT

 private slots:
  void init() {
    config_ = std::make_unique<ScratchConfig>();
    window_ = std::make_unique<MainWindow>(PluginPath());
    window_->show();
    QVERIFY(window_->plugin_loaded());
  }
  void cleanup() {
    window_.reset();
    config_.reset();
  }

  void thePluginAddsItsItemsToTheHostsMenus() {
    window_->RefreshPluginMenus();
    QCOMPARE(ActionTexts(MenuNamed(*window_, "&Utilities")),
             QStringList({"Open Marlix Exp&ort", "Launch Marlix Index"}));
    QCOMPARE(ActionTexts(MenuNamed(*window_, "&Edit")), QStringList({"Marlix XT ..."}));
    // Without a document there is nothing to export.
    QVERIFY(!MenuNamed(*window_, "&Utilities")->actions().front()->isEnabled());
    QVERIFY(!window_->RunPluginItem("Open Marlix Export"));
  }

  void theExportSheetOpensOverTheWindowAndTheMenuFollowsIt() {
    Open();
    QVERIFY(window_->RunPluginItem("Open Marlix Export"));
    QWidget* sheet = TopLevel("Marlix Export");
    QVERIFY(sheet);
    QCOMPARE(sheet->parentWidget(), window_.get());
    QCOMPARE(sheet->findChild<QLineEdit*>("fileName")->text(), QString("harbour"));
    window_->RefreshPluginMenus();
    QCOMPARE(ActionTexts(MenuNamed(*window_, "&Utilities")).front(), QString("Hide Marlix T&ools"));
    QVERIFY(window_->RunPluginItem("Hide Marlix Tools"));
    QVERIFY(!TopLevel("Marlix Export"));
  }

  void theStoryPanelSelectionIsWhatTheHeadlineButtonTakes() {
    Open();
    QTest::mouseClick(window_->view(), Qt::LeftButton, {}, window_->view()->WidgetPoint(0, 50, 50));
    QTextCursor cursor = window_->story_panel()->textCursor();
    cursor.setPosition(13);
    cursor.setPosition(29, QTextCursor::KeepAnchor);
    window_->story_panel()->setTextCursor(cursor);
    QVERIFY(window_->RunPluginItem("Open Marlix Export"));
    QWidget* sheet = TopLevel("Marlix Export");
    QTest::mouseClick(sheet->findChild<QPushButton*>("headlineButton"), Qt::LeftButton);
    QCOMPARE(sheet->findChild<QLineEdit*>("headline")->text(), QString("Ferries and fis"));
  }

  void anExportFromTheSheetWritesWhatTheBatchExportWrites() {
    Open();
    QTest::mouseClick(window_->view(), Qt::LeftButton, {}, window_->view()->WidgetPoint(0, 50, 50));
    QVERIFY(window_->RunPluginItem("Open Marlix Export"));
    QWidget* sheet = TopLevel("Marlix Export");
    sheet->findChild<QComboBox*>("path")->setCurrentText("[1998]");
    sheet->findChild<QLineEdit*>("issue")->setText("01");
    sheet->findChild<QComboBox*>("category")->setCurrentText("News");
    sheet->findChild<QLineEdit*>("fileName")->setText("Harbour");
    sheet->findChild<QLineEdit*>("headline")->setText("A day at the harbour");
    sheet->findChild<QLineEdit*>("subhead")->setText("Ferries");
    QTRY_VERIFY(sheet->findChild<QPushButton*>("export")->isEnabled());
    QTest::mouseClick(sheet->findChild<QPushButton*>("export"), Qt::LeftButton);
    const std::string page = config_->Path("archive/1998/01/News/Harbour/Harbour.htm");
    const std::string from_window = ReadBytes(page);
    QVERIFY(from_window.find("A day at the harbour") != std::string::npos);
    QVERIFY(from_window.find("Ferries and fish") != std::string::npos);
    std::filesystem::rename(config_->Path("archive/1998/01"), config_->Path("window-export"));

    QProcess batch;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.remove("DISPLAY");
    environment.remove("WAYLAND_DISPLAY");
    batch.setProcessEnvironment(environment);
    batch.start(QString::fromStdString(LayouthostPath()),
                {"--plugin", QString::fromStdString(PluginPath()),
                 QString::fromStdString(config_->Document()), "--item", "1", "--path", "[1998]",
                 "--issue", "01", "--category", "News", "--file-name", "Harbour", "--headline",
                 "A day at the harbour", "--subheadline", "Ferries", "--export"});
    QVERIFY(batch.waitForFinished(60000));
    QCOMPARE(batch.exitCode(), 0);
    QCOMPARE(ReadBytes(page), from_window);
  }

 private:
  void Open() { QVERIFY(window_->OpenDocument(QString::fromStdString(config_->Document()))); }

  std::unique_ptr<ScratchConfig> config_;
  std::unique_ptr<MainWindow> window_;
};

MARLIX_QT_TEST(PluginWindowTest);

}  // namespace
}  // namespace layouthost::test

#include "plugin_window_test.moc"
