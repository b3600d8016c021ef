// Saves pictures of the indexer's windows for docs/screenshots: the main window over a scanned
// collection, every preferences page, the folder dialog and the run dialogs.
//
// usage: indexer_screenshots OUTDIR COLLECTION.mlx
// The settings come from XDG_CONFIG_HOME, which the calling script points at a private folder.
#include <QApplication>
#include <QPixmap>
#include <QTabWidget>
#include <QTimer>
#include <cstdio>

#include "indexer/gui/about_box.h"
#include "indexer/gui/collection_view.h"
#include "indexer/gui/folder_dialog.h"
#include "indexer/gui/index_type_dialog.h"
#include "indexer/gui/main_window.h"
#include "indexer/gui/prefs/category_editor.h"
#include "indexer/gui/prefs/custom_list_editor.h"
#include "indexer/gui/prefs/preference_record.h"
#include "indexer/gui/prefs/preferences_sheet.h"
#include "indexer/gui/progress_dialog.h"
#include "indexer/gui/project_document.h"
#include "indexer/gui/scanner_dialog.h"
#include "indexer/gui/splash_dialog.h"
#include "platform/config_folder.h"

namespace {

using namespace indexer::gui;

QString outFolder;

bool Save(QWidget& widget, const QString& name) {
  widget.show();
  for (int i = 0; i < 5; ++i)
    QApplication::processEvents();
  const QString path = outFolder + QStringLiteral("/indexer-%1.png").arg(name);
  const bool saved = widget.grab().save(path);
  std::printf("%s %s\n", saved ? "wrote" : "FAILED", qPrintable(path));
  widget.hide();
  return saved;
}

bool MainWindowPictures(ProjectDocument& document, MainWindow& window, const QString& collection) {
  window.view()->messageSink = [](QMessageBox::Icon, const QString&, const QString&) {};
  window.setGeometry(80, 80, 760, 540);
  bool ok = Save(window, QStringLiteral("main-empty"));
  document.openFile(collection.toStdString());
  ok &= Save(window, QStringLiteral("main"));
  return ok;
}

bool PreferencePictures(ProjectDocument& document) {
  PreferencesSheet sheet(QStringLiteral("Prefences settings"), nullptr,
                         PreferencesSheet::kGeneralPage, document.engine());
  const char* names[] = {"alarm", "category", "expert", "frames", "general", "layout", "variables"};
  bool ok = true;
  for (int page = 0; page < sheet.tabs()->count(); ++page) {
    sheet.tabs()->setCurrentIndex(page);
    ok &= Save(sheet, QStringLiteral("prefs-%1").arg(QLatin1String(names[page])));
  }
  sheet.reject();
  return ok;
}

bool DialogPictures(const QString& collection, indexer::IndexEngine& engine) {
  bool ok = true;
  FolderRequest request{QStringLiteral("Select a folder to be indexed..."),
                        collection.section(QLatin1Char('/'), 0, -2)};
  FolderDialog folder(nullptr);
  folder.setRequest(&request);
  folder.resize(560, 460);
  ok &= Save(folder, QStringLiteral("folder-dialog"));

  ProgressDialog progress(nullptr);
  progress.start(QStringLiteral("Scanning..."));
  progress.setFile(QStringLiteral("Harbour festival: the tall ships come back"));
  ok &= Save(progress, QStringLiteral("progress"));

  IndexTypeDialog type(nullptr);
  ok &= Save(type, QStringLiteral("index-type"));

  ScannerDialog scanner({indexer::kArchiveScannerName}, nullptr);
  ok &= Save(scanner, QStringLiteral("select-scanner"));

  indexer::PreferenceRecord record = indexer::ReadPreferenceRecord(engine);
  CustomListEditor list(record.issueLayout, nullptr);
  ok &= Save(list, QStringLiteral("custom-list"));
  CategoryEditor category(QStringLiteral("Culture"),
                          QStringLiteral("<H2><IMG SRC=\"../../GIFs/Culture.gif\" "
                                         "ALT=\"Culture\"></H2>"),
                          nullptr);
  ok &= Save(category, QStringLiteral("category-editor"));

  AboutBox about(nullptr);
  ok &= Save(about, QStringLiteral("about"));
  SplashDialog splash(nullptr);
  ok &= Save(splash, QStringLiteral("splash"));
  return ok;
}

}  // namespace

int main(int argc, char** argv) {
  QApplication application(argc, argv);
  if (argc != 3) {
    std::fprintf(stderr, "usage: indexer_screenshots OUTDIR COLLECTION.mlx\n");
    return 2;
  }
  outFolder = QString::fromLocal8Bit(argv[1]);
  const QString collection = QString::fromLocal8Bit(argv[2]);
  ProjectDocument document(platform::ConfigFile("indexer.ini"));
  MainWindow window(document, platform::ConfigFile("indexer.ini"));
  bool ok = MainWindowPictures(document, window, collection);
  ok &= PreferencePictures(document);
  ok &= DialogPictures(collection, document.engine());
  return ok ? 0 : 1;
}
