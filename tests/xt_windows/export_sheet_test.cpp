#include <QApplication>
#include <QCheckBox>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QTabWidget>
#include <QTimer>

#include "tests/qt_support/qt_test_registry.h"
#include "tests/xt/fake_text_filter.h"
#include "tests/xt_windows/window_fixture.h"
#include "xt/export/export_job.h"
#include "xt/windows/export_page.h"
#include "xt/windows/export_sheet.h"
#include "xt/windows/main_path_dialog.h"

namespace xt::test {
namespace {

using windows::ExportPage;
using windows::ExportSheet;

// An archive with level folders and header and footer files, and a profile that names them.
constexpr char kProfile[] =
    "[Settings]\nDestFolder=@ARCHIVE@\nOpenBrowser=0\nExternalHeadFootFile=1\n"
    "Rubrics=Culture|Sports|News\n"
    "[ExportDialog]\nPath=[1998]\nIssue=07\nCategory=Culture\nHeaderFile=Culture.htm\n"
    "FooterFile=Plain.htm\n"
    "[ToolsSheet]\nWindowPos=230 140\n";

class ExportSheetTest : public QObject {
  Q_OBJECT

 private slots:
  void init() {
    fixture_ = std::make_unique<WindowFixture>(kProfile);
    const std::string archive = fixture_->Archive();
    for (const char* level : {"1998", "1999", ".cache"})
      std::filesystem::create_directories(archive + "/" + level);
    for (const char* file : {"Culture.htm", "Plain.htm", "Sports"}) {
      WriteBytes(archive + "/Standard/Headers/" + file, "<HEAD>");
      WriteBytes(archive + "/Standard/Footers/" + file, "<FOOT>");
    }
    sheet_ = new ExportSheet(*fixture_->settings, &fixture_->front);
    page_ = sheet_->export_page();
  }
  void cleanup() {
    delete sheet_.data();
    fixture_.reset();
  }

  void fillsEveryControlWhenOpened() {
    QCOMPARE(sheet_->windowTitle(), QString("Marlix Export"));
    QCOMPARE(Items(Find<QComboBox>(page_, "path")),
             QStringList({"[1998]", "[1999]", "[Standard]"}));
    QCOMPARE(Find<QComboBox>(page_, "path")->currentText(), QString("[1998]"));
    QCOMPARE(Find<QLineEdit>(page_, "issue")->text(), QString("07"));
    QCOMPARE(Find<QComboBox>(page_, "header")->currentText(), QString("Culture.htm"));
    QCOMPARE(Find<QComboBox>(page_, "footer")->currentText(), QString("Plain.htm"));
    QVERIFY(Find<QComboBox>(page_, "header")->isEnabled());
    QVERIFY(Find<QCheckBox>(page_, "ignoreChains")->isChecked());
    QVERIFY(!Find<QCheckBox>(page_, "openBrowser")->isChecked());
  }

  void fileNameComesFromTheFrontWindowTitle() {
    QCOMPARE(Find<QLineEdit>(page_, "fileName")->text(), QString("Report"));
    fixture_->front.setWindowTitle("X [C:\\Docs\\Story.qxd]");
    page_->Fill();
    QCOMPARE(Find<QLineEdit>(page_, "fileName")->text(), QString("Story"));
  }

  void anUnreachableMainFolderIsAskedForWithTheMainPathDialog() {
    ExportSettings& settings = *fixture_->settings;
    const std::string gone = fixture_->Path("gone");
    settings.DestFolder = gone;
    settings.WriteString("DestFolder", gone);
    fixture_->host.ClearMessages();
    QTimer::singleShot(0, [this] {
      auto* dialog = qobject_cast<windows::MainPathDialog*>(QApplication::activeModalWidget());
      QVERIFY(dialog);
      QCOMPARE(dialog->windowTitle(), QString("Main Path"));
      Find<QLineEdit>(dialog, "folder")->setText(QString::fromStdString(fixture_->Archive() + "/"));
      dialog->accept();
    });
    page_->Fill();
    QCOMPARE(fixture_->host.Messages().size(), std::size_t{1});
    QCOMPARE(fixture_->host.Messages()[0].text, "Could not change to folder '" + gone + "'");
    QCOMPARE(settings.DestFolder, fixture_->Archive());
    QCOMPARE(ExportSettings(fixture_->ProfilePath()).DestFolder, fixture_->Archive());
    QCOMPARE(Items(Find<QComboBox>(page_, "path")),
             QStringList({"[1998]", "[1999]", "[Standard]"}));
  }

  void categoriesAreTheRubricsFollowedByABar() {
    QCOMPARE(Items(Find<QComboBox>(page_, "category")), QStringList({"Culture", "Sports"}));
    QCOMPARE(Find<QComboBox>(page_, "category")->currentText(), QString("Culture"));
  }

  void aCategorySelectsTheHeaderAndFooterOfItsName() {
    auto* category = Find<QComboBox>(page_, "category");
    category->setCurrentText("Sports");
    QCOMPARE(Find<QComboBox>(page_, "header")->currentText(), QString("Sports"));
    QCOMPARE(Find<QComboBox>(page_, "footer")->currentText(), QString("Sports"));
    // No file of the name: the previous choice stays.
    Find<QComboBox>(page_, "footer")->setCurrentText("Plain.htm");
    category->setCurrentText("Culture");
    QCOMPARE(Find<QComboBox>(page_, "footer")->currentText(), QString("Plain.htm"));
    QCOMPARE(Find<QComboBox>(page_, "header")->currentText(), QString("Sports"));
  }

  void withoutExternalFilesTheListsAreDisabled() {
    fixture_->settings->ExternalHeadFootFile = false;
    page_->Fill();
    QVERIFY(!Find<QComboBox>(page_, "header")->isEnabled());
    QVERIFY(!Find<QComboBox>(page_, "footer")->isEnabled());
  }

  void opensAtTheSavedPositionAndStoresItWhenClosed() {
    QCOMPARE(sheet_->pos(), QPoint(230, 140));
    QVERIFY(sheet_->windowFlags() & Qt::WindowStaysOnTopHint);
    sheet_->move(310, 95);
    Find<QLineEdit>(page_, "issue")->setText("08");
    sheet_->close();
    const ExportSettings reread(fixture_->ProfilePath());
    QCOMPARE(reread.ReadString("WindowPos"), std::string("310 95"));
    QCOMPARE(reread.ReadInt("ActivePage"), 0);
    QCOMPARE(reread.ReadString("Issue"), std::string("08"));
  }

  void exportIsEnabledOnlyWithACurrentItem() {
    auto* button = Find<QPushButton>(page_, "export");
    page_->Tick();
    QVERIFY(!button->isEnabled());
    fixture_->host.SetCurrentBox(fixture_->host.AddTextBox());
    page_->Tick();
    QVERIFY(button->isEnabled());
    fixture_->host.SetHasDocument(false);
    page_->Tick();
    QVERIFY(!button->isEnabled());
  }

  void refreshRequestsRefillThePageOnTheNextTwoTicks() {
    fixture_->settings->WriteString("Rubrics", "Travel|");
    page_->Tick();
    QCOMPARE(Items(Find<QComboBox>(page_, "category")), QStringList({"Culture", "Sports"}));
    ExportPage::RequestRefresh();
    page_->Tick();
    QCOMPARE(Items(Find<QComboBox>(page_, "category")), QStringList({"Travel"}));
    fixture_->settings->WriteString("Rubrics", "Food|");
    page_->Tick();
    QCOMPARE(Items(Find<QComboBox>(page_, "category")), QStringList({"Food"}));
    fixture_->settings->WriteString("Rubrics", "Cars|");
    page_->Tick();
    QCOMPARE(Items(Find<QComboBox>(page_, "category")), QStringList({"Food"}));
  }

  void headlineTakesTheSelectionOfTheCurrentTextBox() {
    FakeHost& host = fixture_->host;
    const XtBox box = host.AddTextBox();
    host.AddRun(box, "Harbour news\rFerries and fish\r");
    host.SetCurrentBox(box);
    host.SetSelection(0, 30);
    QTest::mouseClick(Find<QPushButton>(page_, "headlineButton"), Qt::LeftButton);
    QCOMPARE(Find<QLineEdit>(page_, "headline")->text(),
             QString("Harbour news\\nFerries and fish"));
    host.SetSelection(13, 20);
    QTest::mouseClick(Find<QPushButton>(page_, "subheadButton"), Qt::LeftButton);
    QCOMPARE(Find<QLineEdit>(page_, "subhead")->text(), QString("Ferrie"));
    // No selection: the field keeps its text.
    host.SetSelection(4, 4);
    QTest::mouseClick(Find<QPushButton>(page_, "subheadButton"), Qt::LeftButton);
    QCOMPARE(Find<QLineEdit>(page_, "subhead")->text(), QString("Ferrie"));
  }

  void ungroupDissolvesTheGroupsOfTheCurrentPage() {
    FakeHost& host = fixture_->host;
    const XtBox a = host.AddTextBox();
    const XtBox b = host.AddPictureBox();
    const XtBox group = host.AddGroup({a, b});
    const XtBox other = host.AddGroup({host.AddTextBox({}, 1), host.AddTextBox({}, 1)});
    host.SetCurrentBox(a);
    page_->Tick();
    QTest::mouseClick(Find<QPushButton>(page_, "ungroup"), Qt::LeftButton);
    QVERIFY(!host.Exists(group));
    QVERIFY(host.Exists(other));
    QVERIFY(!Find<QPushButton>(page_, "export")->isEnabled());
    QCOMPARE(host.SentMessages().size(), std::size_t{1});
    QCOMPARE(host.SentMessages()[0].second, XT_MESSAGE_REFRESH);
    QCOMPARE(host.SentMessages()[0].first, static_cast<void*>(&fixture_->front));
  }

  void exportWritesWhatTheSameJobWritesAndStoresTheFields() {
    FakeHost& host = fixture_->host;
    FakeFilter::Install(host);
    ExportSettings& settings = *fixture_->settings;
    settings.now = [] { return std::time_t{891514800}; };
    const XtBox box = host.AddTextBox();
    host.AddRun(box, "Midsummer concert\r");
    host.SetCurrentBox(box);
    Find<QLineEdit>(page_, "headline")->setText("Concert");
    Find<QLineEdit>(page_, "subhead")->setText("Three orchestras");
    Find<QComboBox>(page_, "category")->setCurrentText("Sports");
    page_->Tick();
    QTest::mouseClick(Find<QPushButton>(page_, "export"), Qt::LeftButton);
    const std::string page = fixture_->Archive() + "/1998/07/Sports/Report/Report.htm";
    const std::string from_sheet = ReadBytes(page);
    QVERIFY(from_sheet.find("Concert") != std::string::npos);
    QVERIFY(from_sheet.find("<HEAD>") != std::string::npos);

    const ExportSettings stored(fixture_->ProfilePath());
    QCOMPARE(stored.ReadString("Category"), std::string("Sports"));
    QCOMPARE(stored.ReadString("Headline"), std::string("Concert"));
    QCOMPARE(stored.ReadString("SubHeadline"), std::string("Three orchestras"));
    QCOMPARE(stored.ReadString("HeaderFile"), std::string("Sports"));

    std::filesystem::remove(page);
    for (const auto& [name, value] : {std::pair{"Path", "[1998]"},
                                      {"Issue", "07"},
                                      {"Category", "Sports"},
                                      {"FileName", "Report"},
                                      {"Headline", "Concert"},
                                      {"SubHeadline", "Three orchestras"},
                                      {"HeaderFile", "Sports"},
                                      {"FooterFile", "Sports"}}) {
      QVERIFY(settings.SetJobField(name, value));
    }
    const auto no_browser = [](ExportSettings&, const std::string&) { return 0; };
    QCOMPARE(RunExportJob(settings, XT_JOB_EXPORT, no_browser), 0);
    QCOMPARE(ReadBytes(page), from_sheet);
  }

  void theMetaTagsPageIsThereOnlyWithUseMetaTags() {
    QCOMPARE(Find<QTabWidget>(sheet_, "pages")->count(), 1);
    QVERIFY(!sheet_->HasMetaTagsPage());
    sheet_->ShowMetaTagsPage(true);
    QCOMPARE(Find<QTabWidget>(sheet_, "pages")->count(), 2);
    QCOMPARE(Find<QTabWidget>(sheet_, "pages")->tabText(1), QString("Meta Tags"));
    sheet_->ShowMetaTagsPage(false);
    QCOMPARE(Find<QTabWidget>(sheet_, "pages")->count(), 1);
  }

 private:
  std::unique_ptr<WindowFixture> fixture_;
  QPointer<ExportSheet> sheet_;
  ExportPage* page_ = nullptr;
};

MARLIX_QT_TEST(ExportSheetTest);

}  // namespace
}  // namespace xt::test

#include "export_sheet_test.moc"
