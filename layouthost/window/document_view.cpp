#include "layouthost/window/document_view.h"

#include <QMouseEvent>
#include <QPainter>
#include <QRubberBand>
#include <algorithm>
#include <cmath>
#include <cstring>

#include "layouthost/host/box_renderer.h"
#include "layouthost/host/packed_bitmap.h"
#include "layouthost/window/selection_rules.h"

namespace layouthost {
namespace {

constexpr double kSmallestZoom = 0.1;
constexpr double kLargestZoom = 8.0;
const QColor kDesk(0x8a, 0x8f, 0x96);
const QColor kBoxFrame(0xb0, 0xb4, 0xba);
const QColor kSelected(0x1e, 0x64, 0xc8);

std::int32_t Le32(const std::uint8_t* p) {
  return static_cast<std::int32_t>(p[0] | p[1] << 8 | p[2] << 16 |
                                   static_cast<std::uint32_t>(p[3]) << 24);
}

// The packed 24-bit bottom-up bitmap of a rendering as a QImage.
QImage ImageOf(const std::vector<std::uint8_t>& bitmap) {
  if (bitmap.size() < kBitmapHeaderSize) return {};
  const int width = Le32(bitmap.data() + 4);
  const int height = Le32(bitmap.data() + 8);
  const std::size_t stride = PackedRowStride(width);
  if (width <= 0 || height <= 0 || bitmap.size() < kBitmapHeaderSize + stride * height) return {};
  QImage image(width, height, QImage::Format_RGB888);
  for (int row = 0; row < height; ++row) {
    const std::uint8_t* source = bitmap.data() + kBitmapHeaderSize + stride * (height - 1 - row);
    std::uint8_t* target = image.scanLine(row);
    for (int x = 0; x < width; ++x) {
      target[3 * x] = source[3 * x + 2];
      target[3 * x + 1] = source[3 * x + 1];
      target[3 * x + 2] = source[3 * x];
    }
  }
  return image;
}

}  // namespace

DocumentView::DocumentView(QWidget* parent)
    : QWidget(parent), band_(new QRubberBand(QRubberBand::Rectangle, this)) {
  setObjectName("documentView");
  setAutoFillBackground(true);
  QPalette desk = palette();
  desk.setColor(QPalette::Window, kDesk);
  setPalette(desk);
}

void DocumentView::SetDocument(layout::Document* document, std::string folder) {
  document_ = document;
  folder_ = std::move(folder);
  Redraw();
}

void DocumentView::SetZoom(double zoom) {
  zoom_ = std::clamp(zoom, kSmallestZoom, kLargestZoom);
  Redraw();
}

void DocumentView::Redraw() {
  renderings_.clear();
  updateGeometry();
  resize(sizeHint());
  update();
}

QSizeF DocumentView::PageSize() const {
  double width = kPageWidth;
  double height = kPageHeight;
  if (document_) {
    for (const layout::Box& box : document_->boxes) {
      width = std::max(width, box.bounds.right);
      height = std::max(height, box.bounds.bottom);
    }
  }
  return {width, height};
}

QSize DocumentView::sizeHint() const {
  const QSizeF page = PageSize() * zoom_;
  const int pages = document_ ? std::max(document_->page_count, 1) : 0;
  return {static_cast<int>(std::ceil(page.width())) + 2 * kMargin,
          static_cast<int>(std::ceil(page.height() * pages)) + (pages + 1) * kMargin};
}

QRectF DocumentView::PageRect(int page) const {
  const QSizeF size = PageSize() * zoom_;
  return {static_cast<double>(kMargin), kMargin + page * (size.height() + kMargin), size.width(),
          size.height()};
}

QPoint DocumentView::WidgetPoint(int page, double x, double y) const {
  const QRectF rect = PageRect(page);
  return QPointF(rect.left() + x * zoom_, rect.top() + y * zoom_).toPoint();
}

std::optional<DocumentView::PagePoint> DocumentView::PointOf(QPoint position) const {
  if (!document_) return std::nullopt;
  for (int page = 0; page < document_->page_count; ++page) {
    const QRectF rect = PageRect(page);
    if (rect.contains(position)) {
      return PagePoint{page, (position.x() - rect.left()) / zoom_,
                       (position.y() - rect.top()) / zoom_};
    }
  }
  return std::nullopt;
}

QRectF DocumentView::BoxRect(const layout::Box& box) const {
  const QRectF page = PageRect(box.page);
  const layout::Rect& r = box.bounds;
  return {page.left() + r.left * zoom_, page.top() + r.top * zoom_, (r.right - r.left) * zoom_,
          (r.bottom - r.top) * zoom_};
}

const QImage& DocumentView::Rendering(const layout::Box& box) {
  auto found = renderings_.find(box.id);
  if (found != renderings_.end()) return found->second;
  const QRectF rect = BoxRect(box);
  const int width = std::min(static_cast<int>(std::lround(rect.width())), kMaxRenderSide);
  const int height = std::min(static_cast<int>(std::lround(rect.height())), kMaxRenderSide);
  QImage image;
  if (width > 0 && height > 0 && box.kind != layout::BoxKind::kOther) {
    image = ImageOf(RenderBox(*document_, folder_, box, zoom_, width, height));
  }
  return renderings_.emplace(box.id, std::move(image)).first->second;
}

void DocumentView::paintEvent(QPaintEvent*) {
  if (!document_) return;
  QPainter painter(this);
  for (int page = 0; page < document_->page_count; ++page)
    PaintPage(painter, page);
  PaintSelection(painter);
}

void DocumentView::PaintPage(QPainter& painter, int page) {
  const QRectF rect = PageRect(page);
  painter.fillRect(rect.translated(3, 3), QColor(0, 0, 0, 60));
  painter.fillRect(rect, Qt::white);
  for (const layout::Box& box : document_->boxes) {
    if (box.page != page || box.kind == layout::BoxKind::kGroup) continue;
    const QRectF where = BoxRect(box);
    const QImage& image = Rendering(box);
    if (!image.isNull()) painter.drawImage(where.topLeft(), image);
    painter.setPen(QPen(kBoxFrame, 0));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(where);
  }
}

void DocumentView::PaintSelection(QPainter& painter) {
  for (int item : document_->selection) {
    const layout::Box* box = document_->FindBox(item);
    if (!box) continue;
    const QRectF where = BoxRect(*box).adjusted(-1, -1, 1, 1);
    QPen pen(kSelected, item == document_->current ? 2 : 1);
    if (box->kind == layout::BoxKind::kGroup) pen.setStyle(Qt::DashLine);
    painter.setPen(pen);
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(where);
    painter.setBrush(kSelected);
    for (const QPointF corner :
         {where.topLeft(), where.topRight(), where.bottomLeft(), where.bottomRight()}) {
      painter.drawRect(QRectF(corner - QPointF(3, 3), QSizeF(6, 6)));
    }
  }
}

void DocumentView::mousePressEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) return;
  const auto point = PointOf(event->position().toPoint());
  if (!point) return;
  if (BoxAt(*document_, point->page, point->x, point->y) != 0) {
    Click(*point, event->modifiers());
    return;
  }
  band_start_ = event->position().toPoint();
  band_page_ = point->page;
  band_->setGeometry(QRect(*band_start_, QSize()));
  band_->show();
}

void DocumentView::Click(const PagePoint& point, Qt::KeyboardModifiers modifiers) {
  const int box = BoxAt(*document_, point.page, point.x, point.y);
  const int item = ItemForClick(*document_, box, modifiers & Qt::ControlModifier);
  if (modifiers & Qt::ShiftModifier) {
    std::vector<int> items = Toggled(document_->selection, item);
    // The clicked item becomes current when it joined the selection.
    if (std::find(items.begin(), items.end(), item) != items.end()) {
      std::erase(items, item);
      items.insert(items.begin(), item);
    }
    Select(*document_, items);
  } else {
    Select(*document_, {item});
  }
  update();
  emit SelectionChanged();
}

void DocumentView::mouseMoveEvent(QMouseEvent* event) {
  if (band_start_) {
    band_->setGeometry(QRect(*band_start_, event->position().toPoint()).normalized());
  }
}

void DocumentView::mouseReleaseEvent(QMouseEvent* event) {
  if (!band_start_ || event->button() != Qt::LeftButton) return;
  band_->hide();
  const QRectF page = PageRect(band_page_);
  const QRectF area = QRectF(QRect(*band_start_, event->position().toPoint()).normalized())
                          .translated(-page.topLeft());
  band_start_.reset();
  const layout::Rect inside{area.top() / zoom_, area.left() / zoom_, area.bottom() / zoom_,
                            area.right() / zoom_};
  std::vector<int> items = ItemsInside(*document_, band_page_, inside);
  if (event->modifiers() & Qt::ShiftModifier) {
    for (int item : items)
      document_->selection = Toggled(document_->selection, item);
    items = document_->selection;
  }
  Select(*document_, items);
  update();
  emit SelectionChanged();
}

}  // namespace layouthost
