// The folder selection dialog: opening along a path, names in capitals, hidden folders, the path
// field and typed paths.
#include <QDir>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeWidget>

#include "indexer/gui/folder_dialog.h"
#include "tests/indexer_gui/gui_test_support.h"

namespace indexer::gui {
namespace {

class FolderDialogTest : public QObject {
  Q_OBJECT

 private:
  QTemporaryDir root_;

 private slots:
  void initTestCase() {
    QDir folder(root_.path());
    QVERIFY(folder.mkpath(QStringLiteral("ARCHIVE/1998/Mixed")));
    QVERIFY(folder.mkpath(QStringLiteral("ARCHIVE/1998/.hidden")));
    QVERIFY(folder.mkpath(QStringLiteral("ARCHIVE/1998/NEWS")));
  }

  void displayNamesOfCapitals() {
    QCOMPARE(FolderDialog::DisplayName(QStringLiteral("NEWS")), QStringLiteral("news"));
    QCOMPARE(FolderDialog::DisplayName(QStringLiteral("Mixed")), QStringLiteral("Mixed"));
    QCOMPARE(FolderDialog::DisplayName(QStringLiteral("1998")), QStringLiteral("1998"));
  }

  void opensAlongALowerCasePath() {
    FolderRequest request{QStringLiteral("Select a folder to be indexed..."),
                          root_.path() + QStringLiteral("/archive/1998")};
    FolderDialog dialog(nullptr);
    dialog.setRequest(&request);
    QCOMPARE(dialog.windowTitle(), request.caption);
    QTreeWidgetItem* selected = dialog.tree()->currentItem();
    QVERIFY(selected);
    QCOMPARE(selected->text(0), QStringLiteral("1998"));
    QCOMPARE(selected->parent()->text(0), QStringLiteral("archive"));
    // The path names the folders as they are on disk.
    QCOMPARE(dialog.pathEdit()->text(), root_.path() + QStringLiteral("/ARCHIVE/1998"));

    selected->setExpanded(true);
    QStringList children;
    for (int i = 0; i < selected->childCount(); ++i)
      children << selected->child(i)->text(0);
    QCOMPARE(children, (QStringList{QStringLiteral("Mixed"), QStringLiteral("news")}));

    dialog.tree()->setCurrentItem(selected->child(1));
    QCOMPARE(dialog.pathEdit()->text(), root_.path() + QStringLiteral("/ARCHIVE/1998/NEWS"));
    dialog.accept();
    QCOMPARE(request.path, root_.path() + QStringLiteral("/ARCHIVE/1998/NEWS"));
  }

  void unknownPartsEndTheWalk() {
    FolderRequest request{QString(), root_.path() + QStringLiteral("/ARCHIVE/nothing/here")};
    FolderDialog dialog(nullptr);
    dialog.setRequest(&request);
    QCOMPARE(dialog.pathEdit()->text(), root_.path() + QStringLiteral("/ARCHIVE"));
  }

  void rootAndTypedPaths() {
    FolderRequest request{QString(), QString()};
    FolderDialog dialog(nullptr);
    dialog.setRequest(&request);
    QCOMPARE(dialog.pathEdit()->text(), QStringLiteral("/"));
    dialog.pathEdit()->setText(QStringLiteral("\\tmp\\typed\\folder"));
    dialog.accept();
    QCOMPARE(request.path, QStringLiteral("/tmp/typed/folder"));
  }

  void cancelKeepsTheRequest() {
    FolderRequest request{QString(), root_.path()};
    FolderDialog dialog(nullptr);
    dialog.setRequest(&request);
    dialog.pathEdit()->setText(QStringLiteral("/elsewhere"));
    dialog.reject();
    QCOMPARE(request.path, root_.path());
  }
};

const testing::RegisterTest<FolderDialogTest> registered;

}  // namespace
}  // namespace indexer::gui

#include "folder_dialog_test.moc"
