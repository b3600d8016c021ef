#include <QApplication>
#include <QLineEdit>
#include <QPointer>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <fstream>

#include "tests/qt_support/qt_test_registry.h"
#include "tests/xt/fake_host.h"
#include "xt/export/export_settings.h"
#include "xt/windows/export_sheet.h"
#include "xt/windows/preferences_sheet.h"
#include "xt/windows/startup_window.h"
#include "xt/windows/window_hooks.h"
#include "xt/xtension/activation.h"
#include "xt/xtension/lifecycle.h"
#include "xt/xtension/ui_hooks.h"

namespace xt::test {
namespace {

using windows::ExportSheet;
using windows::StartupWindow;

StartupWindow* VisibleStartupWindow() {
  for (QWidget* widget : QApplication::topLevelWidgets()) {
    auto* startup = qobject_cast<StartupWindow*>(widget);
    if (startup && startup->isVisible()) return startup;
  }
  return nullptr;
}

// The plug-in started by a fake host inside this widgets application, with its windows.
class WindowHooksTest : public QObject {
  Q_OBJECT

 private slots:
  void init() {
    // A main folder that exists: else the export page asks for one in a modal dialog.
    const std::string profile = dir_.filePath("MarlixXT40.INI").toStdString();
    std::ofstream(profile) << "[Settings]\nDestFolder=" << dir_.path().toStdString() << '\n';
    LoadXtension(profile);
    host_ = std::make_unique<FakeHost>();
    host_->SetFrontWindow(&front_);
    QVERIFY(windows::InstallWindows());
    XtActivateBlock block = host_->ActivationBlock();
    QCOMPARE(ActivateXtension(&block), 0);
    XtCallbackTable table = host_->CallbackTable();
    QCOMPARE(host_->MainCallback()(XT_OP_START, &table), 0);
    XtMenuBuildParams menus{1, 2};
    QCOMPARE(host_->Call(XT_OP_MENU_BUILD, &menus), 0);
  }
  void cleanup() {
    host_->Call(XT_OP_UNLOAD, nullptr);
    ReleaseXtension();
    windows::RemoveWindows();
    host_.reset();
  }

  void startingShowsTheStartupWindowUntilItIsClicked() {
    StartupWindow* startup = VisibleStartupWindow();
    QVERIFY(startup);
    QVERIFY(startup->windowFlags() & Qt::WindowStaysOnTopHint);
    QCOMPARE(startup->size(), QSize(360, 200));
    QTest::mouseClick(startup, Qt::LeftButton);
    QVERIFY(!VisibleStartupWindow());
  }

  void theMenuReadsHideExactlyWhileTheSheetExists() {
    QCOMPARE(ExportItemText(), std::string("Open Marlix Exp&ort"));
    Command("Open Marlix Exp&ort");
    ExportSheet* sheet = ExportSheet::Current();
    QVERIFY(sheet);
    QCOMPARE(sheet->parentWidget(), &front_);
    QVERIFY(sheet->isVisible());
    QCOMPARE(ExportItemText(), std::string("Hide Marlix T&ools"));
    Command("Hide Marlix T&ools");
    QCOMPARE(ExportSheet::Current(), nullptr);
    QCOMPARE(ExportItemText(), std::string("Open Marlix Exp&ort"));
  }

  void aSheetClosedByItsOwnButtonIsOfferedAgain() {
    Command("Open Marlix Exp&ort");
    QPointer<ExportSheet> sheet = ExportSheet::Current();
    sheet->close();
    QCOMPARE(ExportItemText(), std::string("Open Marlix Exp&ort"));
    QTRY_VERIFY(sheet.isNull());
    Command("Open Marlix Exp&ort");
    QVERIFY(ExportSheet::Current());
    QCOMPARE(ExportItemText(), std::string("Hide Marlix T&ools"));
  }

  void theBrowserFallBackOpensOnlyThePathsPage() {
    QTimer::singleShot(0, [] {
      auto* sheet = qobject_cast<windows::PreferencesSheet*>(QApplication::activeModalWidget());
      QVERIFY(sheet);
      QCOMPARE(sheet->windowTitle(), QString("Marlix XT Properties"));
      QCOMPARE(sheet->pages()->count(), 1);
      QCOMPARE(sheet->findChild<QLineEdit*>("Browser")->text(), QString("/opt/web/browser"));
      sheet->accept();
    });
    Ui().open_paths_sheet("/opt/web/browser");
    QCOMPARE(ActiveSettings()->ReadString("Browser"), std::string("/opt/web/browser"));
  }

 private:
  std::string ExportItemText() {
    host_->Call(XT_OP_MENU_UPDATE, nullptr);
    int32_t item = host_->FindMenuItem("Open Marlix Exp&ort");
    if (item == 0) item = host_->FindMenuItem("Hide Marlix T&ools");
    return item == 0 ? "" : host_->MenuItem(item)->text;
  }
  void Command(const char* text) {
    XtMenuCommandParams params{host_->FindMenuItem(text)};
    QVERIFY(params.item != 0);
    QCOMPARE(host_->Call(XT_OP_MENU_COMMAND, &params), 0);
  }

  QTemporaryDir dir_;
  QWidget front_;
  std::unique_ptr<FakeHost> host_;
};

MARLIX_QT_TEST(WindowHooksTest);

}  // namespace
}  // namespace xt::test

#include "window_hooks_test.moc"
