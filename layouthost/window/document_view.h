// The pages of the open document with their boxes drawn as the export renders them, at a zoom
// factor. A click makes a box current (a member of a group selects the group; with Ctrl the box
// itself), Shift-click adds or removes an item, and dragging on the empty page draws a rubber
// band that selects the items inside it.
#pragma once

#include <QImage>
#include <QPoint>
#include <QWidget>
#include <map>
#include <optional>
#include <string>

#include "layouthost/document/layout_document.h"

class QRubberBand;

namespace layouthost {

class DocumentView : public QWidget {
  Q_OBJECT

 public:
  // A page where no box reaches further: US Letter, in points.
  static constexpr double kPageWidth = 612;
  static constexpr double kPageHeight = 792;
  static constexpr int kMargin = 24;

  explicit DocumentView(QWidget* parent);

  // The document shown (null: none) and the folder its picture paths start from.
  void SetDocument(layout::Document* document, std::string folder);
  void SetZoom(double zoom);
  double zoom() const { return zoom_; }
  // Draws every box afresh (the document changed).
  void Redraw();

  // Where a point of a page (points from its top left corner) lies in the widget.
  QPoint WidgetPoint(int page, double x, double y) const;

  QSize sizeHint() const override;

 signals:
  void SelectionChanged();

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;

 private:
  struct PagePoint {
    int page;
    double x, y;
  };
  QSizeF PageSize() const;
  QRectF PageRect(int page) const;
  std::optional<PagePoint> PointOf(QPoint position) const;
  QRectF BoxRect(const layout::Box& box) const;
  const QImage& Rendering(const layout::Box& box);
  void PaintPage(QPainter& painter, int page);
  void PaintSelection(QPainter& painter);
  void Click(const PagePoint& point, Qt::KeyboardModifiers modifiers);

  layout::Document* document_ = nullptr;
  std::string folder_;
  double zoom_ = 1.0;
  std::map<int, QImage> renderings_;  // by box id, at the current zoom
  QRubberBand* band_;
  std::optional<QPoint> band_start_;
  int band_page_ = 0;
};

}  // namespace layouthost
