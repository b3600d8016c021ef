#include <QButtonGroup>
#include <QCheckBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QSpinBox>
#include <QTabWidget>

#include "tests/qt_support/qt_test_registry.h"
#include "tests/xt_windows/window_fixture.h"
#include "xt/windows/export_sheet.h"
#include "xt/windows/preferences_pages.h"
#include "xt/windows/preferences_sheet.h"

namespace xt::test {
namespace {

using windows::CategoriesPage;
using windows::ExportSheet;
using windows::PreferencesSheet;

QStringList TabTitles(QTabWidget* tabs) {
  QStringList titles;
  for (int i = 0; i < tabs->count(); ++i)
    titles << tabs->tabText(i);
  return titles;
}

void Check(QButtonGroup* group, int id) {
  group->button(id)->setChecked(true);
}

// Changes a control of every page.
void EditEveryPage(PreferencesSheet& sheet, const std::string& folder) {
  Find<QLineEdit>(&sheet, "DestFolder")->setText(QString::fromStdString(folder + "/"));
  Find<QLineEdit>(&sheet, "Browser")->setText("/usr/bin/firefox");
  Check(Find<QButtonGroup>(&sheet, "Explorer"), 0);
  Check(Find<QButtonGroup>(&sheet, "HTMLSuffix"), 2);
  Find<QCheckBox>(&sheet, "DosNames")->setChecked(false);
  Check(Find<QButtonGroup>(&sheet, "PictType"), 5);
  Find<QSpinBox>(&sheet, "ImageVSpace")->setValue(7);
  Find<QSpinBox>(&sheet, "ImageHSpace")->setValue(9);
  Find<QCheckBox>(&sheet, "FontFace")->setChecked(true);
  Find<QCheckBox>(&sheet, "TextColor")->setChecked(true);
  sheet.findChild<CategoriesPage*>()->Delete();
  Find<QSpinBox>(&sheet, "H2Size")->setValue(13);
  Find<QSpinBox>(&sheet, "H6Size")->setValue(8);
  Find<QPlainTextEdit>(&sheet, "Header")->setPlainText("<BODY>\n<H1>Caf\u00e9</H1>");
  Find<QPlainTextEdit>(&sheet, "Footer")->setPlainText("<HR>");
  Find<QCheckBox>(&sheet, "ExternalHeadFootFile")->setChecked(false);
  Find<QLineEdit>(&sheet, "TextBreak")->setText("<BR>");
  Find<QLineEdit>(&sheet, "PictBreak")->setText("<P CLEAR=ALL>");
  Find<QLineEdit>(&sheet, "LeftIndent")->setText("&nbsp;");
  Find<QPlainTextEdit>(&sheet, "ImageCaptionStart")->setPlainText("<TABLE>\n<TR>");
  Find<QPlainTextEdit>(&sheet, "ImageCaptionEnd")->setPlainText("</TABLE>");
  Find<QSpinBox>(&sheet, "ImageCaptionHSpace")->setValue(4);
  Find<QSpinBox>(&sheet, "ImageCaptionVSpace")->setValue(6);
  Check(Find<QButtonGroup>(&sheet, "DateType"), 3);
  Find<QSpinBox>(&sheet, "DateOffset")->setValue(3);
  Find<QLineEdit>(&sheet, "FixedDate")->setText("Friday, 3.4.1998");
  Find<QCheckBox>(&sheet, "UseMetaTags")->setChecked(false);
}

class PreferencesSheetTest : public QObject {
  Q_OBJECT

 private slots:
  void init() {
    fixture_ = std::make_unique<WindowFixture>(
        "[Settings]\nDestFolder=@ARCHIVE@\nOpenBrowser=0\nUseMetaTags=1\n"
        "Rubrics=Culture|Economy|Sports|\n");
    std::filesystem::create_directories(fixture_->Path("Web"));
  }
  void cleanup() { fixture_.reset(); }

  void hasItsEightPagesInOrder() {
    PreferencesSheet sheet(*fixture_->settings, &fixture_->front);
    QCOMPARE(sheet.windowTitle(), QString("Marlix XT Properties"));
    QCOMPARE(TabTitles(sheet.pages()),
             QStringList({"Paths", "Filenames && Formats", "Categories", "Headlines",
                          "Header/Footer", "Separators", "Image/Caption", "Variables"}));
  }

  void showsTheOfferedSnippetsForMissingKeys() {
    PreferencesSheet sheet(*fixture_->settings, &fixture_->front);
    QCOMPARE(Find<QPlainTextEdit>(&sheet, "Header")->toPlainText(),
             QString("<HEAD>\n<TITLE>$TITLE:</TITLE>\n</HEAD>\n<BODY BGCOLOR=\"FFFFFF\">\n"));
    QVERIFY(Find<QCheckBox>(&sheet, "ExternalHeadFootFile")->isChecked());
    QVERIFY(Find<QPlainTextEdit>(&sheet, "ImageCaptionEnd")->toPlainText().startsWith("</B>\n"));
    QCOMPARE(Find<QLineEdit>(&sheet, "FixedDate")->text(), QString("Wednesday, 02.04.1998"));
    QCOMPARE(Find<QSpinBox>(&sheet, "H1Size")->value(), 16);
    QVERIFY(Find<QButtonGroup>(&sheet, "DateType")->button(0)->isChecked());
  }

  void cancelStoresNothing() {
    const std::string before = fixture_->Profile();
    const int suffix = fixture_->settings->HTMLSuffix;
    PreferencesSheet sheet(*fixture_->settings, &fixture_->front);
    EditEveryPage(sheet, fixture_->Path("Web"));
    sheet.reject();
    QCOMPARE(fixture_->Profile(), before);
    QCOMPARE(fixture_->settings->HTMLSuffix, suffix);
    QCOMPARE(fixture_->settings->DestFolder, fixture_->Archive());
    QVERIFY(fixture_->settings->UseMetaTags);
  }

  void okStoresEveryPageAndTheSheetShowsItAgain() {
    {
      PreferencesSheet sheet(*fixture_->settings, &fixture_->front);
      EditEveryPage(sheet, fixture_->Path("Web"));
      sheet.accept();
    }
    ExportSettings& memory = *fixture_->settings;
    QCOMPARE(memory.DestFolder, fixture_->Path("Web"));
    QCOMPARE(memory.Explorer, 0);
    QCOMPARE(memory.HTMLSuffix, 2);
    QCOMPARE(memory.PictType, kPictureJpeg | kPictureInterlaced);
    QCOMPARE(memory.default_flags, kFlagSendFace | kFlagSendColor);
    QCOMPARE(memory.HeadingSize[1], 13 << 16);
    QCOMPARE(memory.DateType, 3);
    QVERIFY(!memory.UseMetaTags);
    QVERIFY(!memory.ExternalHeadFootFile);
    QVERIFY(memory.DosNames);  // takes effect at the next start

    const ExportSettings reread(fixture_->ProfilePath());
    QCOMPARE(reread.DestFolder, fixture_->Path("Web"));
    QCOMPARE(reread.ReadString("Browser"), std::string("/usr/bin/firefox"));
    QCOMPARE(reread.Explorer, 0);
    QCOMPARE(reread.HTMLSuffix, 2);
    QVERIFY(!reread.DosNames);
    QCOMPARE(reread.PictType, kPictureJpeg | kPictureInterlaced);
    QCOMPARE(reread.ImageVSpace, 7);
    QCOMPARE(reread.ImageHSpace, 9);
    QCOMPARE(reread.default_flags, kFlagSendFace | kFlagSendColor);
    QCOMPARE(reread.ReadString("Rubrics"), std::string("Economy|Sports|"));
    QCOMPARE(reread.HeadingSize[5], 8 << 16);
    QCOMPARE(reread.ReadString("Header"), std::string("<BODY>\\n<H1>Caf\xE9</H1>"));
    QCOMPARE(reread.ReadString("Footer"), std::string("<HR>"));
    QVERIFY(!reread.ExternalHeadFootFile);
    QCOMPARE(reread.ReadString("TextBreak"), std::string("<BR>"));
    QCOMPARE(reread.ReadString("PictBreak"), std::string("<P CLEAR=ALL>"));
    QCOMPARE(reread.ReadString("LeftIndent"), std::string("&nbsp;"));
    QCOMPARE(reread.ReadString("ImageCaptionStart"), std::string("<TABLE>\\n<TR>"));
    QCOMPARE(reread.ReadString("ImageCaptionEnd"), std::string("</TABLE>"));
    QCOMPARE(reread.ReadInt("ImageCaptionHSpace"), 4);
    QCOMPARE(reread.ReadInt("ImageCaptionVSpace"), 6);
    QCOMPARE(reread.DateType, 3);
    QCOMPARE(reread.DateOffset, 3);
    QCOMPARE(reread.ReadString("FixedDate"), std::string("Friday, 3.4.1998"));
    QVERIFY(!reread.UseMetaTags);

    PreferencesSheet again(*fixture_->settings, &fixture_->front);
    QCOMPARE(Find<QPlainTextEdit>(&again, "Header")->toPlainText(),
             QString("<BODY>\n<H1>Caf\u00e9</H1>"));
    QVERIFY(Find<QButtonGroup>(&again, "PictType")->button(5)->isChecked());
    QVERIFY(Find<QButtonGroup>(&again, "DateType")->button(3)->isChecked());
    QCOMPARE(Find<QListWidget>(&again, "Rubrics")->count(), 2);
  }

  void categoriesAreInsertedChangedAndDeleted() {
    PreferencesSheet sheet(*fixture_->settings, &fixture_->front);
    auto* page = sheet.findChild<CategoriesPage*>();
    auto* list = Find<QListWidget>(&sheet, "Rubrics");
    auto* name = Find<QLineEdit>(&sheet, "Name");
    QCOMPARE(name->text(), QString("Culture"));
    list->setCurrentRow(1);
    name->setText("Travel");
    page->New();  // before the selected entry
    list->setCurrentRow(0);
    name->setText("Kultur");
    page->Change();
    list->setCurrentRow(3);
    page->Delete();
    QCOMPARE(list->currentRow(), 0);
    list->setCurrentRow(-1);
    name->setText("Travel");
    page->New();  // at the end, even when the name is there already
    sheet.accept();
    QCOMPARE(fixture_->settings->ReadString("Rubrics"),
             std::string("Kultur|Travel|Economy|Travel|"));
  }

  void headerAndFooterSwitchIsFixedWithoutTheMainFolder() {
    fixture_->settings->DestFolder = fixture_->Path("missing");
    fixture_->settings->WriteString("DestFolder", fixture_->Path("missing"));
    fixture_->settings->WriteInt("ExternalHeadFootFile", 0);
    PreferencesSheet sheet(*fixture_->settings, &fixture_->front);
    auto* external = Find<QCheckBox>(&sheet, "ExternalHeadFootFile");
    QVERIFY(external->isChecked());
    QVERIFY(!external->isEnabled());
  }

  void okAddsOrRemovesTheMetaTagsPageOfTheOpenExportSheet() {
    auto* sheet = new ExportSheet(*fixture_->settings, &fixture_->front);
    QVERIFY(sheet->HasMetaTagsPage());
    {
      PreferencesSheet preferences(*fixture_->settings, &fixture_->front);
      Find<QCheckBox>(&preferences, "UseMetaTags")->setChecked(false);
      preferences.accept();
    }
    QVERIFY(!sheet->HasMetaTagsPage());
    {
      PreferencesSheet preferences(*fixture_->settings, &fixture_->front);
      Find<QCheckBox>(&preferences, "UseMetaTags")->setChecked(true);
      preferences.accept();
    }
    QVERIFY(sheet->HasMetaTagsPage());
    delete sheet;
    QCOMPARE(ExportSheet::Current(), nullptr);
  }

  void thePathsSheetHoldsOnlyThePathsPageWithTheBrowserPreset() {
    PreferencesSheet sheet(*fixture_->settings, &fixture_->front, std::string("/opt/browser"));
    QCOMPARE(TabTitles(sheet.pages()), QStringList({"Paths"}));
    QCOMPARE(Find<QLineEdit>(&sheet, "Browser")->text(), QString("/opt/browser"));
    sheet.accept();
    QCOMPARE(fixture_->settings->ReadString("Browser"), std::string("/opt/browser"));
  }

 private:
  std::unique_ptr<WindowFixture> fixture_;
};

MARLIX_QT_TEST(PreferencesSheetTest);

}  // namespace
}  // namespace xt::test

#include "preferences_sheet_test.moc"
