// The preferences sheet and its pages: filling, sub-views, rules between controls, applying,
// validation and writing back.
#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTest>
#include <QToolButton>

#include "indexer/engine/index_engine.h"
#include "indexer/gui/prefs/alarm_page.h"
#include "indexer/gui/prefs/categories_page.h"
#include "indexer/gui/prefs/category_editor.h"
#include "indexer/gui/prefs/custom_list_editor.h"
#include "indexer/gui/prefs/expert_page.h"
#include "indexer/gui/prefs/frame_page.h"
#include "indexer/gui/prefs/general_page.h"
#include "indexer/gui/prefs/layout_page.h"
#include "indexer/gui/prefs/preferences_sheet.h"
#include "indexer/gui/prefs/variables_page.h"
#include "indexer/store/settings_keys.h"
#include "tests/indexer_gui/gui_test_support.h"

namespace indexer::gui {
namespace {

using testing::WhenShown;

class PreferencesSheetTest : public QObject {
  Q_OBJECT

 private:
  std::unique_ptr<testing::ConfigSandbox> config_;
  std::unique_ptr<IndexEngine> engine_;

  std::unique_ptr<PreferencesSheet> openSheet(int page = PreferencesSheet::kGeneralPage) {
    auto sheet = std::make_unique<PreferencesSheet>(QStringLiteral("Prefences settings"), nullptr,
                                                    page, *engine_);
    sheet->show();
    return sheet;
  }
  void showPage(PreferencesSheet& sheet, int page) { sheet.tabs()->setCurrentIndex(page); }
  std::string text(SettingId id) {
    std::string value;
    engine_->preferences().GetString(id, value);
    return value;
  }
  bool flag(SettingId id) {
    bool value = false;
    engine_->preferences().GetBool(id, value);
    return value;
  }
  std::uint16_t number(SettingId id) {
    std::uint16_t value = 0;
    engine_->preferences().GetShort(id, value);
    return value;
  }

 private slots:
  void init() {
    config_ = std::make_unique<testing::ConfigSandbox>();
    engine_ = std::make_unique<IndexEngine>();
    engine_->setDefaultPreferences();
    engine_->setDefaultCategories();
    // The default cuts the frame URLs when the sheet closes; the tests that want it say so.
    engine_->preferences().SetBool(kCreateDOSEnding, false);
  }
  void cleanup() {
    engine_.reset();
    config_.reset();
  }

  void pagesAreInOrderAndGeneralComesFirst() {
    auto sheet = openSheet();
    const QStringList titles = {"Alarm",   "Category", "Expert",   "Frames",
                                "General", "Layout",   "Variables"};
    QCOMPARE(sheet->tabs()->count(), titles.size());
    for (int i = 0; i < titles.size(); ++i)
      QCOMPARE(sheet->tabs()->tabText(i), titles[i]);
    QCOMPARE(sheet->tabs()->currentIndex(), int{PreferencesSheet::kGeneralPage});
    QVERIFY(sheet->generalPage->loaded());
    QVERIFY(!sheet->alarmPage->loaded());
    QVERIFY(!sheet->applyButton()->isEnabled());
  }

  void generalPageFillsAndApplies() {
    engine_->preferences().SetString(kAuthorName, "Anna");
    engine_->preferences().SetBool(kCheckLinks, false);
    auto sheet = openSheet();
    GeneralPage& page = *sheet->generalPage;
    QCOMPARE(page.authorName->text(), QStringLiteral("Anna"));
    QVERIFY(page.checkLinks->isVisibleTo(&page));
    page.authorName->setText(QStringLiteral("Bärbel"));
    page.checkLinks->setChecked(true);
    QVERIFY(sheet->applyButton()->isEnabled());
    QTest::mouseClick(sheet->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok),
                      Qt::LeftButton);
    sheet.reset();
    QCOMPARE(text(kAuthorName), std::string("B\xE4rbel"));
    QVERIFY(flag(kCheckLinks));
  }

  void cancelAfterApplyKeepsWhatWasApplied() {
    auto sheet = openSheet();
    sheet->generalPage->authorURL->setText(QStringLiteral("http://a/"));
    sheet->apply();
    QVERIFY(!sheet->applyButton()->isEnabled());
    sheet->generalPage->authorURL->setText(QStringLiteral("http://b/"));
    sheet->reject();
    sheet.reset();
    QCOMPARE(text(kAuthorURL), std::string("http://a/"));
  }

  void cancelLeavesSettingsAsTheyWere() {
    const SettingsStore before = engine_->preferences();
    auto sheet = openSheet();
    for (int page = 0; page < sheet->tabs()->count(); ++page)
      showPage(*sheet, page);
    sheet->reject();
    sheet.reset();
    QVERIFY(engine_->preferences() == before);
  }

  void alarmAndExpertTextsAreFiltered() {
    engine_->preferences().SetString(kFramesWarning, "Line one\r\nLine two \xE9");
    engine_->preferences().SetString(kIndexHeaderAfter, "<META>\n<LINK>");
    auto sheet = openSheet(PreferencesSheet::kAlarmPage);
    QCOMPARE(sheet->alarmPage->framesWarning->toPlainText(), QStringLiteral("Line oneLine two "));
    QVERIFY(!sheet->alarmPage->informBeep->isEnabled());
    showPage(*sheet, PreferencesSheet::kExpertPage);
    QCOMPARE(sheet->expertPage->headerAfter->toPlainText(), QStringLiteral("<META><LINK>"));
    sheet->accept();
    sheet.reset();
    QCOMPARE(text(kFramesWarning), std::string("Line oneLine two "));
    QCOMPARE(text(kIndexHeaderAfter), std::string("<META><LINK>"));
  }

  void expertChooserKeepsBothSets() {
    engine_->preferences().SetString(kIndexFooterBefore, "index foot");
    engine_->preferences().SetString(kCategoryFooterBefore, "category foot");
    auto sheet = openSheet(PreferencesSheet::kExpertPage);
    ExpertPage& page = *sheet->expertPage;
    QCOMPARE(page.chooser->currentText(), QStringLiteral("Index"));
    QCOMPARE(page.footerBefore->text(), QStringLiteral("index foot"));
    page.footerBefore->setText(QStringLiteral("changed"));
    page.chooser->setCurrentIndex(ExpertPage::kCategories);
    QCOMPARE(page.footerBefore->text(), QStringLiteral("category foot"));
    page.findChildren<QToolButton*>(QStringLiteral("var-date")).last()->click();
    QCOMPARE(page.footerBefore->text(), QStringLiteral("category foot$DATE:"));
    page.chooser->setCurrentIndex(ExpertPage::kIndex);
    QCOMPARE(page.footerBefore->text(), QStringLiteral("changed"));
    sheet->accept();
    sheet.reset();
    QCOMPARE(text(kIndexFooterBefore), std::string("changed"));
    QCOMPARE(text(kCategoryFooterBefore), std::string("category foot$DATE:"));
  }

  void frameChooserKeepsEachFramesValues() {
    engine_->preferences().SetString(kHeaderURL, "head.html");
    engine_->preferences().SetString(kFooterUR, "foot.html");
    auto sheet = openSheet(PreferencesSheet::kFramePage);
    FramePage& page = *sheet->framePage;
    QCOMPARE(page.chooser->currentText(), QStringLiteral("Header frame"));
    QCOMPARE(page.url->text(), QStringLiteral("head.html"));
    page.url->setText(QStringLiteral("top.html"));
    page.chooser->setCurrentIndex(FramePage::kFooter);
    QCOMPARE(page.url->text(), QStringLiteral("foot.html"));
    page.size->setText(QStringLiteral("40"));
    page.chooser->setCurrentIndex(FramePage::kBody);
    QVERIFY(!page.useFrame->isEnabled());
    page.chooser->setCurrentIndex(FramePage::kHeader);
    QCOMPARE(page.url->text(), QStringLiteral("top.html"));
    sheet->accept();
    sheet.reset();
    QCOMPARE(text(kHeaderURL), std::string("top.html"));
    QCOMPARE(text(kFooterSize), std::string("40"));
  }

  void frameMaskFollowsUseThisFrame() {
    engine_->preferences().SetBool(kShowHeader, true);
    engine_->preferences().SetBool(kShowCategory, false);
    engine_->preferences().SetBool(kShowFooter, true);
    auto sheet = openSheet(PreferencesSheet::kFramePage);
    FramePage& page = *sheet->framePage;
    QCOMPARE(page.mask(), 5);
    QCOMPARE(page.previewShown(), QStringLiteral(":/indexer/frames-5.svg"));
    QVERIFY(!page.preview->pixmap().isNull());
    page.chooser->setCurrentIndex(FramePage::kCategories);
    page.useFrame->click();
    QCOMPARE(page.mask(), 7);
    page.chooser->setCurrentIndex(FramePage::kHeader);
    page.useFrame->click();
    QCOMPARE(page.mask(), 6);
    QCOMPARE(page.previewShown(), QStringLiteral(":/indexer/frames-6.svg"));
    for (int mask = 0; mask < 8; ++mask)
      QVERIFY(!QIcon(FramePage::PreviewFor(mask)).isNull());
    sheet->accept();
    sheet.reset();
    QVERIFY(!flag(kShowHeader));
    QVERIFY(flag(kShowCategory));
  }

  void layoutShowsCompactDefinitionListAndKeepsIt() {
    engine_->preferences().SetShort(kIssueListType, 0x11);
    engine_->preferences().SetShort(kCategoryListType, 0x04);
    auto sheet = openSheet(PreferencesSheet::kLayoutPage);
    LayoutPage& page = *sheet->layoutPage;
    QCOMPARE(page.chooser->currentText(), QStringLiteral("Issue"));
    QVERIFY(page.kinds[0]->isChecked());
    QVERIFY(page.compact->isChecked());
    QVERIFY(page.compact->isEnabled());
    page.kinds[1]->click();
    QVERIFY(!page.compact->isEnabled());
    QVERIFY(page.compact->isChecked());
    page.kinds[0]->click();
    QVERIFY(page.compact->isEnabled());
    page.chooser->setCurrentIndex(LayoutPage::kCategory);
    QVERIFY(page.kinds[2]->isChecked());
    QVERIFY(!page.beforeCategory->isEnabled());
    QVERIFY(!page.yearButton->isEnabled());
    QVERIFY(page.beforeCategory->text().isEmpty());
    page.chooser->setCurrentIndex(LayoutPage::kIssue);
    QVERIFY(page.beforeCategory->isEnabled());
    sheet->accept();
    sheet.reset();
    QCOMPARE(number(kIssueListType), std::uint16_t{0x11});
    QCOMPARE(number(kCategoryListType), std::uint16_t{0x04});
  }

  void customListDefaultForCategory() {
    auto sheet = openSheet(PreferencesSheet::kLayoutPage);
    LayoutPage& page = *sheet->layoutPage;
    page.chooser->setCurrentIndex(LayoutPage::kCategory);
    WhenShown<CustomListEditor>([](CustomListEditor* editor) {
      for (QAbstractButton* button : editor->findChild<QDialogButtonBox*>()->buttons()) {
        if (button->text() == QStringLiteral("Default")) button->click();
      }
      editor->accept();
    });
    page.editCustomList();
    QVERIFY(sheet->applyButton()->isEnabled());
    sheet->accept();
    sheet.reset();
    QCOMPARE(text(kCategoryOpenList), std::string("<DL>"));
    QCOMPARE(text(kCategoryItemTopic), std::string("<DT>"));
    QCOMPARE(text(kCategoryItemText), std::string("<DD>"));
    QCOMPARE(text(kCategoryCloseList), std::string("</DL>"));
  }

  void customListOkWithoutChangesKeepsTexts() {
    engine_->preferences().SetString(kIssueOpenList, "<UL>");
    auto sheet = openSheet(PreferencesSheet::kLayoutPage);
    WhenShown<CustomListEditor>([](CustomListEditor* editor) {
      QCOMPARE(editor->openList->text(), QStringLiteral("<UL>"));
      editor->accept();
    });
    sheet->layoutPage->editCustomList();
    QVERIFY(!sheet->applyButton()->isEnabled());
  }

  void categoriesListEditAddRemove() {
    auto sheet = openSheet(PreferencesSheet::kCategoriesPage);
    CategoriesPage& page = *sheet->categoriesPage;
    QCOMPARE(page.list->count(), 7);
    QVERIFY(page.list->item(0)->text().startsWith(QStringLiteral("Culture\t\t\t<H2>")));
    QVERIFY(!page.sortButton->isEnabled());
    QVERIFY(!page.removeButton->isEnabled());
    page.list->setCurrentRow(0);
    QVERIFY(page.removeButton->isEnabled());
    page.removeLine();
    QCOMPARE(page.list->count(), 6);

    WhenShown<CategoryEditor>([](CategoryEditor* editor) {
      QCOMPARE(editor->name(), QStringLiteral("<no Category>"));
      editor->nameEdit->selectAll();
      QTest::keyClicks(editor->nameEdit, QStringLiteral("Wissenschaft"));
      for (QAbstractButton* button : editor->findChild<QDialogButtonBox*>()->buttons()) {
        if (button->text() == QStringLiteral("Default")) button->click();
      }
      editor->accept();
    });
    page.addLine();
    QCOMPARE(page.list->count(), 7);
    QCOMPARE(page.list->item(6)->text(),
             QStringLiteral("Wissenschaft\t\t<H2><IMG SRC=\"../../GIFs/Wissenschaft.gif\" "
                            "ALT=\"Wissenschaft\"></H2>"));

    WhenShown<CategoryEditor>([](CategoryEditor* editor) { editor->accept(); });
    page.addLine();  // OK without a change adds nothing
    QCOMPARE(page.list->count(), 7);

    sheet->accept();
    sheet.reset();
    QCOMPARE(engine_->categories().size(), std::size_t{7});
    std::string value;
    QCOMPARE(engine_->categories().Find("Culture", value), kNotFound);
    QCOMPARE(engine_->categories().Find("Wissensc", value), kNoErr);
  }

  void dateRadiosEnableTheirEdits() {
    engine_->preferences().SetShort(kDateFormat, 7);
    auto sheet = openSheet(PreferencesSheet::kVariablesPage);
    VariablesPage& page = *sheet->variablesPage;
    QVERIFY(page.dateRadios[0]->isChecked());
    QVERIFY(!page.daysOffset->isEnabled());
    QVERIFY(!page.customDate->isEnabled());
    page.dateRadios[1]->click();
    QVERIFY(page.daysOffset->isEnabled());
    QVERIFY(!page.customDate->isEnabled());
    QVERIFY(sheet->applyButton()->isEnabled());
    page.dateRadios[2]->click();
    QVERIFY(!page.daysOffset->isEnabled());
    QVERIFY(page.customDate->isEnabled());
  }

  void daysOffsetIsValidated() {
    auto sheet = openSheet(PreferencesSheet::kVariablesPage);
    VariablesPage& page = *sheet->variablesPage;
    for (const QString& bad : {QStringLiteral("357"), QStringLiteral("-1"), QStringLiteral("x")}) {
      page.daysOffset->setText(bad);
      bool warned = false;
      WhenShown<QMessageBox>([&warned](QMessageBox* box) {
        warned = box->text().contains(QStringLiteral("356"));
        box->accept();
      });
      QVERIFY(!sheet->apply());
      QVERIFY(warned);
    }
    page.daysOffset->setText(QStringLiteral("356"));
    QVERIFY(sheet->apply());
    sheet.reset();
    QCOMPARE(number(kDateOffset), std::uint16_t{356});
  }

  void dosEndingCutsFrameUrlsWhenTheSheetCloses() {
    engine_->preferences().SetString(kBodyURL, "../../GIFs/Start.html");
    auto sheet = openSheet();
    sheet->generalPage->createDOSEnding->setChecked(true);
    QCOMPARE(text(kBodyURL), std::string("../../GIFs/Start.html"));
    sheet->accept();
    sheet.reset();
    QCOMPARE(text(kBodyURL), std::string("../../GIFs/Start.htm"));
  }
};

const testing::RegisterTest<PreferencesSheetTest> registered;

}  // namespace
}  // namespace indexer::gui

#include "preferences_sheet_test.moc"
