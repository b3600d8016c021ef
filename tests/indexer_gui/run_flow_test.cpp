// The runs through the windows: folder, scanner, index type, progress and Cancel, the outline,
// the messages, opening a collection, writing the index, printing and the link check.
#include <QAction>
#include <QFile>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPrinter>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "indexer/engine/archive_scanner.h"
#include "indexer/engine/component_registry.h"
#include "indexer/gui/collection_view.h"
#include "indexer/gui/folder_dialog.h"
#include "indexer/gui/index_type_dialog.h"
#include "indexer/gui/main_window.h"
#include "indexer/gui/progress_dialog.h"
#include "indexer/gui/project_document.h"
#include "indexer/gui/scanner_dialog.h"
#include "indexer/store/settings_keys.h"
#include "tests/indexer_gui/gui_test_support.h"

namespace indexer::gui {
namespace {

using testing::WhenShown;

std::string ReadBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

struct Message {
  QMessageBox::Icon icon;
  QString title;
  QString text;
};

// A window over a document in a private config folder, recording its messages.
class Session {
 public:
  Session() : document(config.file("indexer.ini")), window(document, config.file("indexer.ini")) {
    window.view()->messageSink = [this](QMessageBox::Icon icon, const QString& title,
                                        const QString& text) {
      messages.push_back({icon, title, text});
    };
    document.pageOpener = [this](const std::string& path) { opened.push_back(path); };
    setFlag(kOpenIndex, false);
    setFlag(kInformOK, true);
  }
  void setFlag(SettingId id, bool on) { document.engine().preferences().SetBool(id, on); }
  QStringList messageTexts() const {
    QStringList texts;
    for (const Message& message : messages)
      texts << message.text;
    return texts;
  }

  testing::ConfigSandbox config;
  ProjectDocument document;
  MainWindow window;
  std::vector<Message> messages;
  std::vector<std::string> opened;
};

// Answers the folder dialog with `folder` and the index type dialog with the issue button.
void AnswerScanDialogs(const std::string& folder) {
  WhenShown<FolderDialog>([folder](FolderDialog* dialog) {
    QCOMPARE(dialog->windowTitle(), QStringLiteral("Select a folder to be indexed..."));
    dialog->pathEdit()->setText(QString::fromStdString(folder));
    dialog->accept();
  });
  WhenShown<IndexTypeDialog>(
      [](IndexTypeDialog* dialog) { QTest::mouseClick(dialog->issueButton(), Qt::LeftButton); });
}

class RunFlowTest : public QObject {
  Q_OBJECT

 private:
  QTemporaryDir archive_;

 private slots:
  void scanShowsTheOutline() {
    Session session;
    const std::string issue =
        testing::MakeIssue(archive_.path().toStdString() + "/a", {"Culture", "News"}, 2);
    AnswerScanDialogs(issue);
    session.document.newScan();
    QCOMPARE(session.document.statusWord(), std::uint16_t{16});
    QCOMPARE(session.document.collectionPath(), issue + "/index.mlx");
    QVERIFY(session.window.view()->holdsCollection());
    const auto& lines = session.window.view()->lines();
    QVERIFY(lines.size() >= 6);
    QCOMPARE(lines[0].level, 2);
    QCOMPARE(lines[0].text, QStringLiteral("Culture"));
    QCOMPARE(lines[1].text, QStringLiteral("Culture article 0"));
    QCOMPARE(lines[1].y - lines[0].y, QFontMetrics(CollectionView::FontFor(2)).height());
    QCOMPARE(session.messageTexts(), QStringList{QStringLiteral("Scanning complete.")});
    QCOMPARE(session.messages[0].icon, QMessageBox::Information);
    QVERIFY(session.window.windowTitle().startsWith(QString::fromStdString(issue)));
    QCOMPARE(session.document.defaultPath(), issue);
    QCOMPARE(session.document.recentFiles().value(0), QString::fromStdString(issue + "/index.mlx"));
    QVERIFY(session.window.action(QStringLiteral("Create Index..."))->isEnabled());
  }

  void scanningCompleteOnlyWithInformOK() {
    Session session;
    session.setFlag(kInformOK, false);
    const std::string issue =
        testing::MakeIssue(archive_.path().toStdString() + "/b", {"Sports"}, 1);
    AnswerScanDialogs(issue);
    session.document.newScan();
    QCOMPARE(session.document.statusWord(), std::uint16_t{16});
    QVERIFY(session.messages.empty());
    QVERIFY(!session.window.view()->lines().empty());
  }

  void cancellingTheFolderDialogChangesNothing() {
    Session session;
    WhenShown<FolderDialog>([](FolderDialog* dialog) { dialog->reject(); });
    session.document.newScan();
    QCOMPARE(session.document.statusWord(), std::uint16_t{0});
    QVERIFY(session.messages.empty());
    QVERIFY(!session.window.view()->holdsCollection());
  }

  void cancellingTheIndexTypeEndsQuietly() {
    Session session;
    const std::string issue = testing::MakeIssue(archive_.path().toStdString() + "/c", {"News"}, 1);
    WhenShown<FolderDialog>([issue](FolderDialog* dialog) {
      dialog->pathEdit()->setText(QString::fromStdString(issue));
      dialog->accept();
    });
    WhenShown<IndexTypeDialog>([](IndexTypeDialog* dialog) { dialog->reject(); });
    session.document.newScan();
    QCOMPARE(session.document.statusWord(), std::uint16_t{7});
    QVERIFY(session.messages.empty());
    QVERIFY(!session.document.engine().progressDialog()->isVisible());
  }

  void cancelStopsALargeScanAndKeepsTheEarlierCollection() {
    Session session;
    session.setFlag(kInformOK, false);
    const std::string issue =
        testing::MakeIssue(archive_.path().toStdString() + "/large", {"Culture", "News"}, 1500);
    AnswerScanDialogs(issue);
    session.document.newScan();
    QCOMPARE(session.document.statusWord(), std::uint16_t{16});
    const std::string earlier = ReadBytes(issue + "/index.mlx");

    AnswerScanDialogs(issue);
    int filesWhenCancelled = 0;
    WhenShown<ProgressDialog>(
        [&filesWhenCancelled](ProgressDialog* progress) {
          filesWhenCancelled = progress->fileCount();
          progress->reject();
        },
        [](ProgressDialog* progress) { return progress->fileCount() >= 20; });
    session.document.newScan();
    QCOMPARE(session.document.statusWord(), std::uint16_t{7});
    ProgressDialog* progress = session.document.engine().progressDialog();
    QVERIFY(progress->fileCount() < 3000);
    QVERIFY(progress->fileCount() <= filesWhenCancelled + 1);
    QVERIFY(!progress->isVisible());
    QCOMPARE(ReadBytes(issue + "/index.mlx"), earlier);
  }

  void aFolderNoScannerTakesIsRefused() {
    Session session;
    const std::string missing = archive_.path().toStdString() + "/no/such/folder";
    WhenShown<FolderDialog>([missing](FolderDialog* dialog) {
      dialog->pathEdit()->setText(QString::fromStdString(missing));
      dialog->accept();
    });
    QString shown;
    QString title;
    WhenShown<QMessageBox>([&shown, &title](QMessageBox* box) {
      shown = box->text();
      title = box->windowTitle();
      box->accept();
    });
    session.document.newScan();
    QCOMPARE(shown, QStringLiteral("No matching Scanner found."));
    QCOMPARE(title, QStringLiteral("Error..."));
    QCOMPARE(session.document.statusWord(), std::uint16_t{0});
    QVERIFY(!std::filesystem::exists(missing));
  }

  void recentFilesReopenACollection() {
    const std::string issue = testing::MakeIssue(archive_.path().toStdString() + "/h", {"News"}, 1);
    Session session;
    AnswerScanDialogs(issue);
    session.document.newScan();
    session.window.view()->closeCollection();
    QAction* recent = session.window.action(QStringLiteral("Recent1"));
    QVERIFY(recent->isVisible());
    QVERIFY(recent->text().endsWith(QString::fromStdString(issue + "/index.mlx")));
    recent->trigger();
    QVERIFY(session.window.view()->holdsCollection());
    QVERIFY(!session.window.view()->lines().empty());
    QVERIFY(!session.window.action(QStringLiteral("Recent2"))->isVisible());
  }

  void scannerDialogClosesByItselfWithOneCandidate() {
    ScannerDialog one({kArchiveScannerName}, nullptr);
    QCOMPARE(one.exec(), int{QDialog::Accepted});
    QCOMPARE(one.chosen(), std::string(kArchiveScannerName));

    ScannerDialog two({"First", "Second"}, nullptr);
    WhenShown<ScannerDialog>([](ScannerDialog* dialog) {
      dialog->list()->setCurrentRow(1);
      dialog->accept();
    });
    QCOMPARE(two.exec(), int{QDialog::Accepted});
    QCOMPARE(two.chosen(), std::string("Second"));
  }

  void openingACollection() {
    Session session;
    const std::string issue = testing::MakeIssue(archive_.path().toStdString() + "/d", {"News"}, 2);
    AnswerScanDialogs(issue);
    session.document.newScan();
    const auto scanned = session.window.view()->lines().size();

    Session reopened;
    reopened.document.openFile(issue + "/index.mlx");
    QCOMPARE(reopened.document.statusWord(), std::uint16_t{16});
    QCOMPARE(reopened.window.view()->lines().size(), scanned);
    reopened.document.openFile(issue + "/index.mlx");  // twice shows the same outline
    QCOMPARE(reopened.window.view()->lines().size(), scanned);

    Session capitals;
    capitals.document.openFile(issue + "/INDEX.MLX");
    QCOMPARE(capitals.document.statusWord(), std::uint16_t{0});
    QCOMPARE(capitals.document.sourcePath(), issue + "/INDEX.MLX");
    QVERIFY(!capitals.window.view()->holdsCollection());
  }

  void aBrokenCollectionReportsStatusSix() {
    Session session;
    const std::string bad = archive_.path().toStdString() + "/bad.mlx";
    std::ofstream(bad) << "not a collection";
    session.document.openFile(bad);
    QCOMPARE(session.document.statusWord(), std::uint16_t{6});
    QVERIFY(session.messageTexts().contains(
        QStringLiteral("Error by creating of\ndrag and drop struct!")));
    QVERIFY(session.window.view()->lines().empty());
  }

  void createIndexWritesAndOpensThePage() {
    Session session;
    const std::string issue =
        testing::MakeIssue(archive_.path().toStdString() + "/e", {"Culture", "News"}, 2);
    AnswerScanDialogs(issue);
    session.document.newScan();
    session.setFlag(kOpenIndex, true);
    session.setFlag(kCreateDOSEnding, true);
    session.window.action(QStringLiteral("Create Index..."))->trigger();
    QCOMPARE(session.document.statusWord(), std::uint16_t{17});
    QVERIFY(session.messageTexts().contains(QStringLiteral("Creating index complete.")));
    QVERIFY(std::filesystem::exists(issue + "/index.htm"));
    QCOMPARE(session.opened, std::vector<std::string>{issue + "/index.htm"});
  }

  void brokenLinksAreListed() {
    Session session;
    const std::string issue = testing::MakeIssue(archive_.path().toStdString() + "/f", {"News"}, 1);
    testing::WritePage(issue + "/News/Broken/Broken.html", "Broken page", {},
                       "<IMG SRC=\"missing.gif\"><A HREF=\"../NewsPage0/NewsPage0.html\">ok</A>"
                       "<A HREF=\"../Gone/Gone.html#top\">gone</A>"
                       "<A HREF=\"http://example.com/x.html\">remote</A>");
    AnswerScanDialogs(issue);
    session.document.newScan();
    session.setFlag(kCheckLinks, true);
    session.messages.clear();
    session.document.createIndex();
    QCOMPARE(session.document.statusWord(), std::uint16_t{17});
    QCOMPARE(session.messages.size(), std::size_t{2});
    const QString report = session.messages[1].text;
    QVERIFY(report.contains(QStringLiteral("missing.gif")));
    QVERIFY(report.contains(QStringLiteral("../Gone/Gone.html#top")));
    QVERIFY(!report.contains(QStringLiteral("NewsPage0.html")));
    QVERIFY(!report.contains(QStringLiteral("example.com")));
  }

  void printsTheOutlineToPdf() {
    Session session;
    const std::string issue =
        testing::MakeIssue(archive_.path().toStdString() + "/g", {"Culture", "News"}, 40);
    AnswerScanDialogs(issue);
    session.document.newScan();
    const QString pdf = archive_.path() + QStringLiteral("/outline.pdf");
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(pdf);
    printer.setPdfVersion(QPagedPaintDevice::PdfVersion_1_4);
    session.window.view()->print(&printer);
    QFile file(pdf);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    QVERIFY(bytes.startsWith("%PDF"));
    // 2 groups, 80 descriptions and 80 subdescriptions do not fit one page.
    QVERIFY(bytes.count("/Type /Page\n") + bytes.count("/Type /Page ") +
                bytes.count("/Type /Page>") >=
            2);
  }
};

const testing::RegisterTest<RunFlowTest> registered;

}  // namespace
}  // namespace indexer::gui

#include "run_flow_test.moc"
