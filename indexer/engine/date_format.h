// The date and time texts of the index variables "$DATE:" and "$TIME:": the C library's
// locale forms "%x" and "%X", a date some days from now, or a date text the user typed.
// The clock is a parameter so that a writing run (and a test) can fix "now".
#pragma once

#include <cstddef>
#include <cstdint>
#include <ctime>
#include <functional>
#include <string>

#include "indexer/store/settings_keys.h"

namespace indexer {

// Room for one formatted date or time, terminating NUL included.
constexpr std::size_t kDateTextCapacity = 32;
constexpr std::time_t kSecondsPerDay = 86400;

using Clock = std::function<std::time_t()>;

// The current time of the system clock.
std::time_t SystemNow();

// What "$DATE:" becomes: DateFormat (kCurrentDateFormat, kOffsetDateFormat or
// kCustomDateFormat; any other value behaves as the first), DateOffset (days, may be negative)
// and DateCustom.
struct DateSettings {
  std::uint16_t format = kCurrentDateFormat;
  std::int16_t offsetDays = 0;
  std::string custom;
};

// `when` as local time through strftime; empty when the result does not fit the capacity.
std::string FormatLocalTime(const char* format, std::time_t when);

// "$TIME:": the locale's time ("%X").
std::string TimeText(std::time_t now);

// "$DATE:" by the settings.
std::string DateText(const DateSettings& settings, std::time_t now);

}  // namespace indexer
