#include "layouthost/host/box_renderer.h"

#include <QAbstractTextDocumentLayout>
#include <QColor>
#include <QImage>
#include <QPainter>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

#include "layouthost/host/packed_bitmap.h"
#include "platform/cp1252.h"

namespace layouthost {

namespace {

constexpr int kDotsPerMeter = kPixelsPerMeterAt72Dpi;  // one pixel per point at scale 1

QColor ColorOf(const layout::Document& document, int index, QColor fallback) {
  const layout::Color* color = document.FindColor(index);
  if (!color) return fallback;
  return QColor::fromRgb(color->red >> 8, color->green >> 8, color->blue >> 8);
}

void DrawPicture(QPainter& painter, const std::string& folder, const layout::Box& box) {
  const layout::PictureContent& picture = box.picture;
  if (picture.file.empty()) return;
  const std::string path =
      picture.file.front() == '/' || folder.empty() ? picture.file : folder + "/" + picture.file;
  QImage image(QString::fromStdString(path));
  if (image.isNull()) return;
  const QRectF target(picture.offset_x, picture.offset_y, image.width() * picture.scale_x,
                      image.height() * picture.scale_y);
  painter.drawImage(target, image);
}

QTextCharFormat CharFormat(const layout::Document& document, const layout::CharStyle& style) {
  QTextCharFormat format;
  const layout::Font* font = document.FindFont(style.font);
  if (font) format.setFontFamilies({QString::fromStdString(platform::Cp1252ToUtf8(font->name))});
  format.setFontPointSize(style.size);
  format.setFontWeight(style.style & 0x0001 ? QFont::Bold : QFont::Normal);
  format.setFontItalic(style.style & 0x0002);
  format.setFontUnderline(style.style & (0x0004 | 0x1000));
  format.setForeground(ColorOf(document, style.color, Qt::black));
  return format;
}

QTextBlockFormat BlockFormat(const layout::ParagraphStyle& paragraph) {
  QTextBlockFormat format;
  format.setLeftMargin(paragraph.left_indent);
  QList<QTextOption::Tab> tabs;
  for (const layout::TabStop& stop : paragraph.tabs) {
    const QTextOption::TabType type =
        stop.alignment == layout::kTabRight     ? QTextOption::RightTab
        : stop.alignment == layout::kTabCenter  ? QTextOption::CenterTab
        : stop.alignment == layout::kTabDecimal ? QTextOption::DelimiterTab
                                                : QTextOption::LeftTab;
    tabs.append(QTextOption::Tab(stop.position, type, QChar('.')));
  }
  format.setTabPositions(tabs);
  return format;
}

// Byte 13 starts a new block; the other break characters are line breaks inside a block.
QString DisplayText(const std::string& bytes) {
  QString text = QString::fromStdString(platform::Cp1252ToUtf8(bytes));
  for (QChar& c : text) {
    if (c == QChar(7) || c == QChar(11) || c == QChar(12)) c = QChar::LineSeparator;
  }
  return text;
}

void DrawText(QPainter& painter, const layout::Document& document, const layout::Box& box) {
  const layout::Story* story = document.FindStory(box.story);
  if (!story || box.text_start >= box.text_end) return;
  QImage* device = static_cast<QImage*>(painter.device());
  QTextDocument text;
  text.documentLayout()->setPaintDevice(device);
  text.setDocumentMargin(0);
  // Columns are pages of the document's layout, set side by side.
  const double width = box.bounds.right - box.bounds.left;
  const double height = box.bounds.bottom - box.bounds.top;
  int columns = box.columns;
  double column_width = (width - box.gutter * (columns - 1)) / columns;
  if (column_width < 1 || height < 1) {
    columns = 1;
    column_width = width;
  }
  text.setPageSize(QSizeF(column_width, std::max(height, 1.0)));
  QTextCursor cursor(&text);
  int paragraph = story->ParagraphAt(box.text_start);
  cursor.setBlockFormat(BlockFormat(story->Paragraph(paragraph)));
  for (int pos = box.text_start; pos < box.text_end;) {
    const layout::StyleSpan* span = story->SpanAt(pos);
    int next = std::min(box.text_end, span->start + span->length);
    const auto end_of_paragraph = story->text.find('\r', static_cast<std::size_t>(pos));
    if (end_of_paragraph != std::string::npos && static_cast<int>(end_of_paragraph) < next) {
      next = static_cast<int>(end_of_paragraph);
    }
    if (next == pos) {  // at a paragraph end
      cursor.insertBlock(BlockFormat(story->Paragraph(++paragraph)));
      ++pos;
      continue;
    }
    cursor.insertText(DisplayText(story->text.substr(pos, next - pos)),
                      CharFormat(document, span->style));
    pos = next;
  }
  for (int column = 0; column < columns; ++column) {
    const double page_top = column * height;
    painter.save();
    painter.translate(column * (column_width + box.gutter), -page_top);
    text.drawContents(&painter, QRectF(0, page_top, column_width, height));
    painter.restore();
  }
}

}  // namespace

std::vector<std::uint8_t> RenderBox(const layout::Document& document, const std::string& folder,
                                    const layout::Box& box, double scale, int width, int height) {
  if (width <= 0 || height <= 0 || width > kMaxRenderSide || height > kMaxRenderSide ||
      !(scale > 0)) {
    return {};
  }
  QImage image(width, height, QImage::Format_RGB888);
  image.setDotsPerMeterX(kDotsPerMeter);
  image.setDotsPerMeterY(kDotsPerMeter);
  image.fill(ColorOf(document, box.background, Qt::white));
  {
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.setClipRect(0, 0, width, height);
    painter.scale(scale, scale);
    painter.setClipRect(
        QRectF(0, 0, box.bounds.right - box.bounds.left, box.bounds.bottom - box.bounds.top),
        Qt::IntersectClip);
    if (box.kind == layout::BoxKind::kPicture) DrawPicture(painter, folder, box);
    if (box.kind == layout::BoxKind::kText) DrawText(painter, document, box);
  }
  return PackBitmap24(width, height, image.constBits(),
                      static_cast<std::size_t>(image.bytesPerLine()));
}

}  // namespace layouthost
