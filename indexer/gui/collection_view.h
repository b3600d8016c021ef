// The main window's view: the collection as an indented outline in three fonts, the messages
// with which runs end, and printing. Only the visible lines are drawn, so a large collection
// scrolls as smoothly as a small one.
#pragma once

#include <QAbstractScrollArea>
#include <QFont>
#include <QMessageBox>
#include <QString>
#include <functional>
#include <vector>

#include "indexer/engine/index_runs.h"
#include "indexer/engine/outline.h"

class QPainter;
class QPrinter;

namespace indexer::gui {

class ProjectDocument;

class CollectionView : public QAbstractScrollArea {
  Q_OBJECT

 public:
  struct Line {
    int level;
    QString text;
    int y;  // top, in view pixels
  };

  CollectionView(ProjectDocument& document, QWidget* parent);

  bool holdsCollection() const { return holdsCollection_; }
  const std::vector<Line>& lines() const { return lines_; }
  QSize contentSize() const { return contentSize_; }
  static QFont FontFor(int level);

  // Shows a message box; tests put their own in.
  std::function<void(QMessageBox::Icon, const QString& title, const QString& text)> messageSink;

  // The document's update hint: a status word of the runs.
  void onUpdate(std::uint16_t statusWord);
  // File, Close: empties the outline.
  void closeCollection();
  // Draws the outline on the printer's pages, as many as it needs.
  void print(QPrinter* printer) const;
  // A heading and lines to read, such as the broken links of a writing run; long lists are cut.
  void showNotice(const QString& heading, const QStringList& lines);

 signals:
  void holdingChanged(bool holds);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;

 private:
  void loadCollection();
  void layoutLines(const std::vector<OutlineLine>& outline);
  int widestLine() const;
  void updateScrollBars();
  void message(const StatusMessage& message);
  void setHolding(bool holds);

  ProjectDocument& document_;
  Outline outline_;
  std::vector<Line> lines_;
  QSize contentSize_;
  bool holdsCollection_ = false;
};

}  // namespace indexer::gui
