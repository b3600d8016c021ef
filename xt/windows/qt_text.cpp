#include "xt/windows/qt_text.h"

#include "platform/cp1252.h"

namespace xt::windows {

QString FromCp1252(std::string_view text) {
  return QString::fromStdString(platform::Cp1252ToUtf8(text));
}

std::string ToCp1252(const QString& text) {
  std::string bytes;
  for (const QChar c : text) {
    const auto one = platform::Utf8ToCp1252(QString(c).toStdString());
    bytes += one && one->size() == 1 ? *one : std::string("?");
  }
  return bytes;
}

}  // namespace xt::windows
