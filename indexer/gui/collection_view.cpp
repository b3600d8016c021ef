#include "indexer/gui/collection_view.h"

#include <QPaintEvent>
#include <QPainter>
#include <QPrinter>
#include <QScrollBar>
#include <algorithm>

#include "indexer/engine/index_runs.h"
#include "indexer/gui/project_document.h"
#include "indexer/gui/qt_text.h"
#include "indexer/store/settings_keys.h"

namespace indexer::gui {
namespace {

constexpr int kTopMargin = 10;
constexpr int kWidthMargin = 50;
// The longest texts of a level that are measured for the width of the outline.
constexpr std::size_t kMeasuredLines = 64;
// Lines of a notice beyond this many are counted, not shown.
constexpr int kNoticeLineLimit = 30;
// The screen resolution the outline's sizes are given in; print pages scale from it.
constexpr double kScreenDpi = 96.0;

int IndentFor(int level) {
  return level == kGroupLevel ? 10 : level == kDescriptionLevel ? 30 : 50;
}

int LineHeight(int level) {
  return QFontMetrics(CollectionView::FontFor(level)).height();
}

void DrawLine(QPainter& painter, const CollectionView::Line& line, int y) {
  painter.setFont(CollectionView::FontFor(line.level));
  const QFontMetrics metrics(painter.font());
  painter.drawText(IndentFor(line.level), y + metrics.ascent(), line.text);
}

}  // namespace

CollectionView::CollectionView(ProjectDocument& document, QWidget* parent)
    : QAbstractScrollArea(parent), document_(document), contentSize_(100, 100) {
  viewport()->setAutoFillBackground(true);
  QPalette colours = viewport()->palette();
  colours.setColor(QPalette::Base, Qt::white);
  colours.setColor(QPalette::Window, Qt::white);
  colours.setColor(QPalette::Text, Qt::black);
  viewport()->setPalette(colours);
  viewport()->setBackgroundRole(QPalette::Base);
  messageSink = [this](QMessageBox::Icon icon, const QString& title, const QString& text) {
    QMessageBox box(icon, title, text, QMessageBox::Ok, this);
    box.exec();
  };
  updateScrollBars();
}

QFont CollectionView::FontFor(int level) {
  QFont font(QStringLiteral("Arial"));
  font.setPixelSize(level == kGroupLevel ? 20 : 15);
  font.setBold(level != kSubdescriptionLevel);
  return font;
}

void CollectionView::onUpdate(std::uint16_t statusWord) {
  if (statusWord == kStatusScanComplete) setHolding(true);
  if (const auto text = MessageForStatus(statusWord)) message(*text);
  if (statusWord == kStatusScanComplete) loadCollection();
  viewport()->update();
}

void CollectionView::closeCollection() {
  outline_.clear();
  lines_.clear();
  contentSize_ = QSize(100, 100);
  setHolding(false);
  updateScrollBars();
  viewport()->update();
}

void CollectionView::loadCollection() {
  lines_.clear();
  if (outline_.load(document_.collectionPath(), document_.engine().categories()) != kNoErr) {
    layoutLines({});
    document_.reportStatus(kStatusViewLoadFailed);
    return;
  }
  layoutLines(outline_.lines());
}

void CollectionView::layoutLines(const std::vector<OutlineLine>& outline) {
  lines_.clear();
  lines_.reserve(outline.size());
  const int heights[] = {LineHeight(0), LineHeight(1), LineHeight(2)};
  int y = kTopMargin;
  for (const OutlineLine& line : outline) {
    lines_.push_back({line.level, FromCp1252(line.text), y});
    y += heights[line.level];
  }
  contentSize_ = QSize(widestLine() + kWidthMargin, y);
  updateScrollBars();
}

// Measuring every line of a large collection would cost more than the rest of its display, and
// the texts are cut to a few dozen characters: only the longest texts of each level can be the
// widest, so only they are measured.
int CollectionView::widestLine() const {
  int width = 0;
  for (int level = kSubdescriptionLevel; level <= kGroupLevel; ++level) {
    std::vector<const Line*> candidates;
    for (const Line& line : lines_) {
      if (line.level == level) candidates.push_back(&line);
    }
    const auto longer = [](const Line* a, const Line* b) {
      return a->text.size() > b->text.size();
    };
    const std::size_t measured = std::min<std::size_t>(candidates.size(), kMeasuredLines);
    std::partial_sort(candidates.begin(), candidates.begin() + measured, candidates.end(), longer);
    const QFontMetrics metrics(FontFor(level));
    for (std::size_t i = 0; i < measured; ++i)
      width = std::max(width, IndentFor(level) + metrics.horizontalAdvance(candidates[i]->text));
  }
  return width;
}

void CollectionView::updateScrollBars() {
  const QSize page = viewport()->size();
  horizontalScrollBar()->setRange(0, std::max(0, contentSize_.width() - page.width()));
  horizontalScrollBar()->setPageStep(page.width());
  verticalScrollBar()->setRange(0, std::max(0, contentSize_.height() - page.height()));
  verticalScrollBar()->setPageStep(page.height());
  verticalScrollBar()->setSingleStep(LineHeight(kDescriptionLevel));
}

void CollectionView::resizeEvent(QResizeEvent* event) {
  QAbstractScrollArea::resizeEvent(event);
  updateScrollBars();
}

void CollectionView::paintEvent(QPaintEvent* event) {
  QPainter painter(viewport());
  painter.fillRect(event->rect(), Qt::white);
  painter.setPen(Qt::black);
  const int top = verticalScrollBar()->value() + event->rect().top();
  const int bottom = verticalScrollBar()->value() + event->rect().bottom();
  painter.translate(-horizontalScrollBar()->value(), -verticalScrollBar()->value());
  // The first line that may reach into the area: the one before the first starting below top.
  auto first = std::upper_bound(lines_.begin(), lines_.end(), top,
                                [](int y, const Line& line) { return y < line.y; });
  if (first != lines_.begin()) --first;
  for (auto line = first; line != lines_.end() && line->y <= bottom; ++line)
    DrawLine(painter, *line, line->y);
}

void CollectionView::print(QPrinter* printer) const {
  QPainter painter(printer);
  if (!painter.isActive()) return;
  const double scale = printer->resolution() / kScreenDpi;
  painter.scale(scale, scale);
  const int pageHeight = static_cast<int>(
      printer->pageLayout().paintRectPixels(printer->resolution()).height() / scale);
  int pageTop = 0;
  for (const Line& line : lines_) {
    const int bottom = line.y + LineHeight(line.level) - pageTop;
    if (bottom > pageHeight) {
      printer->newPage();
      pageTop = line.y - kTopMargin;
    }
    DrawLine(painter, line, line.y - pageTop);
  }
}

void CollectionView::showNotice(const QString& heading, const QStringList& lines) {
  QStringList shown = lines.mid(0, kNoticeLineLimit);
  if (lines.size() > kNoticeLineLimit)
    shown.append(tr("... and %1 more").arg(lines.size() - kNoticeLineLimit));
  messageSink(QMessageBox::Warning, tr("Error"),
              heading + QLatin1Char('\n') + shown.join(QLatin1Char('\n')));
}

void CollectionView::message(const StatusMessage& message) {
  const bool wanted = document_.setting(message.error ? kInformErrors : kInformOK);
  if (!wanted) return;
  messageSink(message.error ? QMessageBox::Warning : QMessageBox::Information,
              FromCp1252(message.title), FromCp1252(message.text));
}

void CollectionView::setHolding(bool holds) {
  holdsCollection_ = holds;
  emit holdingChanged(holds);
}

}  // namespace indexer::gui
