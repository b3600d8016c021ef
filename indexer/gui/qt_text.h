// The edge between the indexer's Windows-1252 text and Qt's strings.
#pragma once

#include <QString>
#include <string>
#include <string_view>

namespace indexer::gui {

QString FromCp1252(std::string_view text);
// Characters Windows-1252 cannot hold become "?".
std::string ToCp1252(const QString& text);
// File names on disk are UTF-8.
QString FromLocalPath(const std::string& path);
std::string ToLocalPath(const QString& path);

}  // namespace indexer::gui
