// layouthost_screenshots: opens layouthost's window on a document, opens the plug-in's windows
// one after the other through its menus, and saves a picture of each into a folder. Run by
// scripts/screenshots.sh with the offscreen platform and a scratch configuration folder.
#include <QApplication>
#include <QDialog>
#include <QRegularExpression>
#include <QScrollArea>
#include <QTabWidget>
#include <QTimer>
#include <cstdio>
#include <functional>

#include "layouthost/document/layout_document.h"
#include "layouthost/window/document_view.h"
#include "layouthost/window/main_window.h"
#include "layouthost/window/story_panel.h"

namespace {

QString out_folder;

void Save(QWidget* widget, const QString& name) {
  const QString path = out_folder + "/layouthost-" + name + ".png";
  if (!widget || !widget->grab().save(path)) {
    std::fprintf(stderr, "layouthost_screenshots: could not save %s\n", qPrintable(path));
    return;
  }
  std::printf("%s\n", qPrintable(path));
}

QWidget* TopLevel(const QString& title) {
  for (QWidget* widget : QApplication::topLevelWidgets()) {
    if (widget->isVisible() && widget->windowTitle() == title) return widget;
  }
  return nullptr;
}

void SaveEveryTab(QWidget* sheet, const QString& prefix) {
  auto* tabs = sheet ? sheet->findChild<QTabWidget*>("pages") : nullptr;
  if (!tabs) return;
  for (int index = 0; index < tabs->count(); ++index) {
    tabs->setCurrentIndex(index);
    QString name = tabs->tabText(index).toLower();
    name.replace("&&", "and").replace(QRegularExpression("[^a-z0-9]+"), "-");
    Save(sheet, prefix + "-" + QString::number(index + 1) + "-" + name);
  }
}

// Selects box `box` as a click with Ctrl would, and a range of its story.
void SelectTextBox(layouthost::MainWindow& window, int box, int start, int end) {
  layout::Document* document = window.host().document();
  document->current = box;
  document->selection = {box};
  if (layout::Box* found = document->FindBox(box)) {
    if (layout::Story* story = document->FindStory(found->story)) {
      story->selection_start = start;
      story->selection_end = end;
    }
  }
  window.view()->update();
  window.story_panel()->ShowCurrent(document);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) {
    std::fprintf(stderr, "usage: layouthost_screenshots DOCUMENT OUTPUT_FOLDER [PLUGIN]\n");
    return 2;
  }
  QApplication application(argc, argv);
  out_folder = QString::fromLocal8Bit(argv[2]);
  layouthost::MainWindow window(argc > 3 ? argv[3] : "");
  window.resize(1100, 780);
  window.show();
  Save(TopLevel("Marlix XT"), "startup");
  if (!window.OpenDocument(QString::fromLocal8Bit(argv[1]))) return 1;
  SelectTextBox(window, 1, 0, 30);
  window.view()->SetZoom(0.9);
  QApplication::processEvents();
  Save(&window, "window");

  window.RunPluginItem("Open Marlix Export");
  QApplication::processEvents();
  QWidget* sheet = TopLevel("Marlix Export");
  SaveEveryTab(sheet, "export-sheet");

  QTimer::singleShot(200, [] {
    QWidget* preferences = TopLevel("Marlix XT Properties");
    SaveEveryTab(preferences, "preferences");
    if (auto* dialog = qobject_cast<QDialog*>(preferences)) dialog->reject();
  });
  window.RunPluginItem("Marlix XT ...");
  window.RunPluginItem("Hide Marlix Tools");
  return 0;
}
