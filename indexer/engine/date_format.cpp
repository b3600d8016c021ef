#include "indexer/engine/date_format.h"

namespace indexer {

std::time_t SystemNow() {
  return std::time(nullptr);
}

std::string FormatLocalTime(const char* format, std::time_t when) {
  std::tm local{};
  if (localtime_r(&when, &local) == nullptr) return {};
  char text[kDateTextCapacity];
  const std::size_t length = std::strftime(text, sizeof text, format, &local);
  return std::string(text, length);
}

std::string TimeText(std::time_t now) {
  return FormatLocalTime("%X", now);
}

std::string DateText(const DateSettings& settings, std::time_t now) {
  switch (settings.format) {
    case kOffsetDateFormat:
      return FormatLocalTime("%x", now + settings.offsetDays * kSecondsPerDay);
    case kCustomDateFormat:
      return settings.custom;
    default:
      return FormatLocalTime("%x", now);
  }
}

}  // namespace indexer
