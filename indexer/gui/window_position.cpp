#include "indexer/gui/window_position.h"

#include "platform/profile.h"

namespace indexer::gui {
namespace {

constexpr const char* kSection = "Settings";
constexpr int kMinimumWidth = 300;
constexpr int kMinimumHeight = 200;

}  // namespace

bool IsRestorableRect(const QRect& rect) {
  return rect.left() > 0 && rect.top() > 0 && rect.width() > kMinimumWidth &&
         rect.height() > kMinimumHeight;
}

std::optional<QRect> ReadWindowRect(const std::string& profile) {
  const QRect rect(platform::GetProfileInt(profile, kSection, "Left", 0),
                   platform::GetProfileInt(profile, kSection, "Top", 0),
                   platform::GetProfileInt(profile, kSection, "Width", 0),
                   platform::GetProfileInt(profile, kSection, "Height", 0));
  if (!IsRestorableRect(rect)) return std::nullopt;
  return rect;
}

void WriteWindowRect(const std::string& profile, const QRect& rect) {
  platform::WriteProfileInt(profile, kSection, "Left", rect.left());
  platform::WriteProfileInt(profile, kSection, "Top", rect.top());
  platform::WriteProfileInt(profile, kSection, "Width", rect.width());
  platform::WriteProfileInt(profile, kSection, "Height", rect.height());
}

}  // namespace indexer::gui
