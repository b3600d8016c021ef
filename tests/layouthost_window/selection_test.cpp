#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QTest>
#include <QTimer>

#include "layouthost/document/layout_document_json.h"
#include "layouthost/host/served_tables.h"
#include "layouthost/window/document_view.h"
#include "layouthost/window/main_window.h"
#include "layouthost/window/selection_rules.h"
#include "layouthost/window/story_panel.h"
#include "tests/layouthost_window/window_fixture.h"
#include "tests/qt_support/qt_test_registry.h"

namespace layouthost::test {
namespace {

// The document window without a plug-in: selecting in the pages and in the story panel.
class SelectionTest : public QObject {
  Q_OBJECT

 private slots:
  void init() {
    config_ = std::make_unique<ScratchConfig>();
    window_ = std::make_unique<MainWindow>(config_->Path("no-plugin.so"));
    window_->show();
    QVERIFY(!window_->plugin_loaded());
    QVERIFY(window_->OpenDocument(QString::fromStdString(config_->Document())));
    document_ = window_->host().document();
    view_ = window_->view();
  }
  void cleanup() {
    window_.reset();
    config_.reset();
  }

  void rulesPickTheOutermostGroupUnlessTheBoxIsAskedFor() {
    QCOMPARE(BoxAt(*document_, 0, 30, 30), 1);
    QCOMPARE(BoxAt(*document_, 0, 50, 200), 3);
    QCOMPARE(BoxAt(*document_, 0, 300, 300), 0);
    QCOMPARE(ItemForClick(*document_, 2, false), 4);
    QCOMPARE(ItemForClick(*document_, 2, true), 2);
    QCOMPARE(ItemForClick(*document_, 1, false), 1);
    QCOMPARE(ItemsInside(*document_, 0, {0, 0, 250, 240}), std::vector<int>({1, 4}));
    QCOMPARE(ItemsInside(*document_, 0, {0, 0, 200, 240}), std::vector<int>({1}));
    QCOMPARE(Toggled({1, 4}, 1), std::vector<int>({4}));
    QCOMPARE(Toggled({4}, 1), std::vector<int>({4, 1}));
  }

  void aClickMakesTheBoxCurrent() {
    Click(0, 50, 50);
    QCOMPARE(document_->current, 1);
    QCOMPARE(document_->selection, std::vector<int>({1}));
    Click(0, 300, 700);  // empty page: a rubber band of no size selects nothing
    QCOMPARE(document_->current, 0);
    QVERIFY(document_->selection.empty());
  }

  void aClickOnAGroupMemberSelectsTheGroupAndCtrlTheMember() {
    Click(0, 60, 160);
    QCOMPARE(document_->current, 4);
    Click(0, 60, 160, Qt::ControlModifier);
    QCOMPARE(document_->current, 2);
    QCOMPARE(document_->selection, std::vector<int>({2}));
  }

  void shiftClickAddsAndRemovesItems() {
    Click(0, 50, 50);
    Click(0, 60, 200, Qt::ShiftModifier);
    QCOMPARE(document_->selection, std::vector<int>({4, 1}));
    QCOMPARE(document_->current, 4);
    Click(0, 50, 50, Qt::ShiftModifier);
    QCOMPARE(document_->selection, std::vector<int>({4}));
  }

  void aRubberBandSelectsTheItemsInsideIt() {
    const QPoint from = view_->WidgetPoint(0, 10, 10);
    const QPoint to = view_->WidgetPoint(0, 250, 260);
    QTest::mousePress(view_, Qt::LeftButton, {}, from);
    QTest::mouseMove(view_, to);
    QTest::mouseRelease(view_, Qt::LeftButton, {}, to);
    QCOMPARE(document_->selection, std::vector<int>({1, 4}));
    QCOMPARE(document_->current, 1);
  }

  void theStoryPanelRangeIsTheHostsTextSelection() {
    Click(0, 50, 50);
    StoryPanel* panel = window_->story_panel();
    QCOMPARE(panel->toPlainText(), QString("Harbour news\nFerries and fish\n"));
    QTextCursor cursor = panel->textCursor();
    cursor.setPosition(13);
    cursor.setPosition(20, QTextCursor::KeepAnchor);
    panel->setTextCursor(cursor);
    const XtTextTable text = TextTable();
    int32_t start = -1;
    int32_t end = -1;
    QCOMPARE(text.get_selection(&start, &end), 0);
    QCOMPARE(start, 13);
    QCOMPARE(end, 20);
    char bytes[16] = {};
    QCOMPARE(text.story_bytes(start, end, bytes, sizeof bytes), 7);
    QCOMPARE(std::string(bytes, 7), std::string("Ferries"));
    // Another item: the panel shows nothing and leaves the story's selection as it was.
    Click(0, 60, 160);
    QVERIFY(panel->toPlainText().isEmpty());
    QCOMPARE(document_->FindStory(1)->selection_start, 13);
  }

  void selectingIsNoUnsavedChangeButUngroupingIs() {
    Click(0, 50, 50);
    QVERIFY(!window_->windowTitle().contains('*'));
    QVERIFY(window_->windowTitle().startsWith("harbour.json"));
    QVERIFY(document_->Ungroup(4));
    window_->host().SendMessage(window_->host().FrontWindow(), XT_MESSAGE_REFRESH);
    QVERIFY(window_->windowTitle().startsWith("harbour.json*"));
    QVERIFY(window_->Save());
    QVERIFY(!window_->windowTitle().contains('*'));
    const auto saved = layout::ReadDocumentFile(config_->Document());
    QVERIFY(saved.document);
    QVERIFY(!saved.document->FindBox(4));
  }

  void closingAsksAboutUnsavedChanges() {
    QVERIFY(document_->Ungroup(4));
    AnswerNextQuestion(QMessageBox::Cancel);
    QVERIFY(!window_->CloseDocument());
    QVERIFY(window_->host().has_document());
    AnswerNextQuestion(QMessageBox::Discard);
    QVERIFY(window_->CloseDocument());
    QVERIFY(!window_->host().has_document());
    QCOMPARE(window_->windowTitle(), QString("layouthost"));
    const auto kept = layout::ReadDocumentFile(config_->Document());
    QVERIFY(kept.document && kept.document->FindBox(4));
  }

 private:
  static void AnswerNextQuestion(QMessageBox::StandardButton answer) {
    QTimer::singleShot(0, [answer] {
      auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
      QVERIFY(box);
      box->button(answer)->click();
    });
  }

  // Clicks the point (x, y) in points of page `page`.
  void Click(int page, double x, double y, Qt::KeyboardModifiers modifiers = {}) {
    QTest::mouseClick(view_, Qt::LeftButton, modifiers, view_->WidgetPoint(page, x, y));
  }

  std::unique_ptr<ScratchConfig> config_;
  std::unique_ptr<MainWindow> window_;
  layout::Document* document_ = nullptr;
  DocumentView* view_ = nullptr;
};

MARLIX_QT_TEST(SelectionTest);

}  // namespace
}  // namespace layouthost::test

#include "selection_test.moc"
