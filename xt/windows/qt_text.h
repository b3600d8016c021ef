// Windows-1252 text of the plug-in as Qt shows and edits it.
#pragma once

#include <QString>
#include <string>
#include <string_view>

namespace xt::windows {

QString FromCp1252(std::string_view text);
// A character Windows-1252 cannot hold becomes "?".
std::string ToCp1252(const QString& text);

}  // namespace xt::windows
