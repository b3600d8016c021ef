// The indexer's window: time from the program's start to the main window's first paint, time to
// open a collection of 100,000 records and show it as an outline, and the time to paint one
// screenful while scrolling through it (the view draws only the visible lines).
#include <benchmark/benchmark.h>

#include <QAbstractScrollArea>
#include <QApplication>
#include <QElapsedTimer>
#include <QScrollBar>
#include <QTemporaryDir>
#include <chrono>
#include <memory>
#include <string>

#include "indexer/engine/article_record.h"
#include "indexer/engine/index_collection.h"
#include "indexer/engine/outline.h"
#include "indexer/gui/collection_view.h"
#include "indexer/gui/main_window.h"
#include "indexer/gui/project_document.h"
#include "indexer/store/category_table.h"

namespace {

using indexer::gui::CollectionView;
using indexer::gui::MainWindow;
using indexer::gui::ProjectDocument;

constexpr std::uint32_t kLargeCollection = 100000;

QElapsedTimer programStart;

// Waits until the widget has been painted once.
class PaintWatch : public QObject {
 public:
  explicit PaintWatch(QWidget* widget) { widget->installEventFilter(this); }
  bool painted = false;

 protected:
  bool eventFilter(QObject*, QEvent* event) override {
    if (event->type() == QEvent::Paint) painted = true;
    return false;
  }
};

void WaitForPaint(PaintWatch& watch) {
  while (!watch.painted)
    QApplication::processEvents(QEventLoop::AllEvents, 5);
}

// 100,000 records in 20 categories, ten articles of five parts per description.
std::string MakeLargeCollection(const QTemporaryDir& folder) {
  const std::string path = folder.path().toStdString() + "/index.mlx";
  indexer::IndexCollection collection(path);
  collection.open("w+b");
  collection.setHeader(indexer::kIssueIndex, true, false);
  for (std::uint32_t n = 0; n < kLargeCollection; ++n) {
    const std::string category = "Category" + std::to_string(n / 5000);
    indexer::ArticleRecord record("1998", "01", category, "/archive/page.html", "page.html",
                                  "Article number " + std::to_string(n / 5),
                                  "Part " + std::to_string(n % 5));
    collection.appendRecord(record);
  }
  collection.close();
  return path;
}

struct Window {
  Window() : document(profile()), window(document, profile()) {
    window.view()->messageSink = [](QMessageBox::Icon, const QString&, const QString&) {};
    window.resize(800, 600);
  }
  std::string profile() const { return config.path().toStdString() + "/indexer.ini"; }

  QTemporaryDir config;
  ProjectDocument document;
  MainWindow window;
};

void BM_FirstPaintFromStart(benchmark::State& state) {
  for (auto _ : state) {
    Window session;
    PaintWatch watch(session.window.view()->viewport());
    session.window.show();
    WaitForPaint(watch);
    state.SetIterationTime(programStart.nsecsElapsed() / 1e9);
    state.counters["first_paint_ms"] = programStart.nsecsElapsed() / 1e6;
    programStart.restart();
  }
}
BENCHMARK(BM_FirstPaintFromStart)->Iterations(1)->UseManualTime()->Unit(benchmark::kMillisecond);

void BM_OpenLargeCollection(benchmark::State& state) {
  QTemporaryDir folder;
  const std::string path = MakeLargeCollection(folder);
  Window session;
  session.window.show();
  QApplication::processEvents();
  for (auto _ : state) {
    PaintWatch watch(session.window.view()->viewport());
    const auto start = std::chrono::steady_clock::now();
    session.document.openFile(path);
    WaitForPaint(watch);
    state.SetIterationTime(
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
  }
  state.counters["lines"] = static_cast<double>(session.window.view()->lines().size());
}
BENCHMARK(BM_OpenLargeCollection)->Iterations(3)->UseManualTime()->Unit(benchmark::kMillisecond);

// The part of opening that has nothing to do with the window: reading the records into lines.
void BM_LoadOutlineOnly(benchmark::State& state) {
  QTemporaryDir folder;
  const std::string path = MakeLargeCollection(folder);
  indexer::CategoryTable categories;
  for (auto _ : state) {
    indexer::Outline outline;
    outline.load(path, categories);
    benchmark::DoNotOptimize(outline.lines().size());
  }
}
BENCHMARK(BM_LoadOutlineOnly)->Iterations(3)->Unit(benchmark::kMillisecond);

void BM_ScrollOneScreenful(benchmark::State& state) {
  QTemporaryDir folder;
  const std::string path = MakeLargeCollection(folder);
  Window session;
  session.window.show();
  session.document.openFile(path);
  QApplication::processEvents();
  QScrollBar* bar = session.window.view()->verticalScrollBar();
  int position = 0;
  for (auto _ : state) {
    PaintWatch watch(session.window.view()->viewport());
    const auto start = std::chrono::steady_clock::now();
    position = (position + bar->pageStep()) % std::max(1, bar->maximum());
    bar->setValue(position);
    session.window.view()->viewport()->repaint();
    WaitForPaint(watch);
    state.SetIterationTime(
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
  }
}
BENCHMARK(BM_ScrollOneScreenful)->Iterations(200)->UseManualTime()->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv) {
  programStart.start();
  // The settings files of a fresh installation, not the user's.
  const QTemporaryDir config;
  qputenv("XDG_CONFIG_HOME", config.path().toUtf8());
  QApplication application(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
