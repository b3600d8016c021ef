// The main frame: window position, menus, toolbar, prompts and which commands are enabled.
#include <QAction>
#include <QMenuBar>
#include <QStatusBar>
#include <QTest>
#include <QToolBar>
#include <filesystem>

#include "indexer/gui/collection_view.h"
#include "indexer/gui/main_window.h"
#include "indexer/gui/project_document.h"
#include "indexer/gui/window_position.h"
#include "platform/profile.h"
#include "tests/indexer_gui/gui_test_support.h"

namespace indexer::gui {
namespace {

class MainWindowTest : public QObject {
  Q_OBJECT

 private:
  void writeRect(const std::string& profile, int left, int top, int width, int height) {
    platform::WriteProfileInt(profile, "Settings", "Left", left);
    platform::WriteProfileInt(profile, "Settings", "Top", top);
    platform::WriteProfileInt(profile, "Settings", "Width", width);
    platform::WriteProfileInt(profile, "Settings", "Height", height);
  }

 private slots:
  void sizeTest() {
    QVERIFY(IsRestorableRect(QRect(10, 10, 301, 201)));
    QVERIFY(!IsRestorableRect(QRect(10, 10, 300, 400)));
    QVERIFY(!IsRestorableRect(QRect(10, 10, 400, 200)));
    QVERIFY(!IsRestorableRect(QRect(0, 10, 400, 400)));
    QVERIFY(!IsRestorableRect(QRect(10, 0, 400, 400)));
  }

  void windowPositionIsRestoredAndSaved() {
    testing::ConfigSandbox config;
    const std::string profile = config.file("indexer.ini");
    writeRect(profile, 40, 50, 700, 500);
    {
      ProjectDocument document(profile);
      MainWindow window(document, profile);
      QCOMPARE(window.geometry(), QRect(40, 50, 700, 500));
      window.setGeometry(QRect(60, 70, 640, 420));
      window.close();
    }
    QCOMPARE(platform::GetProfileInt(profile, "Settings", "Left", 0), 60);
    QCOMPARE(platform::GetProfileInt(profile, "Settings", "Top", 0), 70);
    QCOMPARE(platform::GetProfileInt(profile, "Settings", "Width", 0), 640);
    QCOMPARE(platform::GetProfileInt(profile, "Settings", "Height", 0), 420);
  }

  void unreadableSettingsAreReportedInTheWindow() {
    testing::ConfigSandbox config;
    const std::string settings = config.file("mlxindex.hpr");
    { ProjectDocument first(config.file("indexer.ini")); }  // saves readable settings
    std::filesystem::resize_file(settings, 20);
    ProjectDocument document(config.file("indexer.ini"));
    QStringList told;
    connect(&document, &ProjectDocument::notice, this,
            [&told](const QString&, const QStringList& lines) { told << lines; });
    document.reportSetAsideFiles();
    QCOMPARE(told.size(), 1);
    QVERIFY(told[0].contains(QString::fromStdString(settings + ".bad")));
    QVERIFY(std::filesystem::exists(settings + ".bad"));
  }

  void aNarrowStoredWindowIsIgnored() {
    testing::ConfigSandbox config;
    const std::string profile = config.file("indexer.ini");
    writeRect(profile, 40, 50, 300, 500);
    ProjectDocument document(profile);
    MainWindow window(document, profile);
    QVERIFY(window.geometry().width() != 300);
  }

  void menusToolbarAndPrompts() {
    testing::ConfigSandbox config;
    ProjectDocument document(config.file("indexer.ini"));
    MainWindow window(document, config.file("indexer.ini"));
    QStringList menus;
    for (QAction* menu : window.menuBar()->actions())
      menus << menu->text();
    QCOMPARE(menus, (QStringList{"&File", "&Index", "&Options", "&View", "&?"}));

    QAction* create = window.action(QStringLiteral("Create Index..."));
    QVERIFY(create);
    QCOMPARE(create->statusTip(),
             QStringLiteral("Starts to create an Index HTML-document by using the preferences "
                            "settings."));
    QCOMPARE(create->toolTip(), QStringLiteral("Create Index"));
    QCOMPARE(window.action(QStringLiteral("New"))->shortcut(),
             QKeySequence(QStringLiteral("Ctrl+N")));
    QCOMPARE(window.action(QStringLiteral("Print..."))->shortcut(),
             QKeySequence(QStringLiteral("Ctrl+P")));
    QCOMPARE(window.action(QStringLiteral("Preferences..."))->text(),
             QStringLiteral("&Preferences...\tStrg+P"));

    QStringList tools;
    for (QAction* action : window.findChild<QToolBar*>()->actions())
      tools << (action->isSeparator() ? QStringLiteral("|") : action->objectName());
    QCOMPARE(tools, (QStringList{"New", "Open", "|", "Create Index...", "|", "Print...", "|",
                                 "Preferences...", "|", "About Marlix Index..."}));
    QCOMPARE(window.statusBar()->currentMessage(), QStringLiteral("Ready"));
    QCOMPARE(window.windowTitle(), QStringLiteral("Marlix - Marlix Index"));
  }

  void collectionCommandsWaitForACollection() {
    testing::ConfigSandbox config;
    ProjectDocument document(config.file("indexer.ini"));
    MainWindow window(document, config.file("indexer.ini"));
    for (const char* name : {"Create Index...", "Print...", "Close", "Print Preview"})
      QVERIFY2(!window.action(QString::fromLatin1(name))->isEnabled(), name);
    QVERIFY(window.action(QStringLiteral("Preferences..."))->isEnabled());
    window.view()->messageSink = [](QMessageBox::Icon, const QString&, const QString&) {};
    window.view()->onUpdate(16);  // as after a scan, with nothing to load
    QVERIFY(window.action(QStringLiteral("Create Index..."))->isEnabled());
    window.action(QStringLiteral("Close"))->trigger();
    QVERIFY(!window.view()->holdsCollection());
    QVERIFY(!window.action(QStringLiteral("Print..."))->isEnabled());
  }
};

const testing::RegisterTest<MainWindowTest> registered;

}  // namespace
}  // namespace indexer::gui

#include "main_window_test.moc"
