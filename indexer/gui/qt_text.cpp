#include "indexer/gui/qt_text.h"

#include "platform/cp1252.h"

namespace indexer::gui {

QString FromCp1252(std::string_view text) {
  return QString::fromStdString(platform::Cp1252ToUtf8(text));
}

std::string ToCp1252(const QString& text) {
  if (auto whole = platform::Utf8ToCp1252(text.toStdString())) return *whole;
  std::string bytes;
  for (const QChar c : text) {
    const auto one = platform::Utf8ToCp1252(QString(c).toStdString());
    bytes += one ? *one : std::string("?");
  }
  return bytes;
}

QString FromLocalPath(const std::string& path) {
  return QString::fromStdString(path);
}

std::string ToLocalPath(const QString& path) {
  return path.toStdString();
}

}  // namespace indexer::gui
