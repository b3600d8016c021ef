// The main window's rectangle in the profile: "Left", "Top", "Width", "Height" of "Settings".
#pragma once

#include <QRect>
#include <optional>
#include <string>

namespace indexer::gui {

// A stored rectangle is used only when it is plainly a real window: left and top above 0, wider
// than 300 and higher than 200 pixels.
bool IsRestorableRect(const QRect& rect);

// The stored rectangle when it passes the test above.
std::optional<QRect> ReadWindowRect(const std::string& profile);
void WriteWindowRect(const std::string& profile, const QRect& rect);

}  // namespace indexer::gui
