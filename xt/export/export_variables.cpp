#include "xt/export/export_variables.h"

#include <cstdio>

#include "xt/export/archive_layout.h"
#include "xt/export/export_settings.h"

namespace xt {
namespace {

// Any other DateType means today.
constexpr int kDateTypeOffset = 1;
constexpr int kDateTypeFixed = 2;  // and every larger value

std::tm LocalTime(std::time_t moment) {
  std::tm parts{};
  localtime_r(&moment, &parts);
  return parts;
}

}  // namespace

int ReplaceAll(std::string& text, std::string_view what, std::string_view by) {
  if (what.empty()) return 0;
  int count = 0;
  std::size_t at = 0;
  while ((at = text.find(what, at)) != std::string::npos) {
    text.replace(at, what.size(), by);
    at += by.size();
    ++count;
  }
  return count;
}

std::string ExpandLineBreaks(std::string_view text) {
  std::string out(text);
  ReplaceAll(out, "\\n", "\r\n");
  return out;
}

std::string ToHtmlText(const ExportSettings& settings, std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (const char c : text)
    out += settings.character_table[static_cast<std::uint8_t>(c)];
  return out;
}

std::string ExportDate(const ExportSettings& settings, std::time_t now) {
  if (settings.DateType >= kDateTypeFixed) return settings.ReadString("FixedDate");
  if (settings.DateType == kDateTypeOffset) {
    now += static_cast<std::time_t>(settings.DateOffset) * kSecondsPerDay;
  }
  const std::tm date = LocalTime(now);
  char text[32];
  std::snprintf(text, sizeof text, "%04d:%02d:%02d", date.tm_year + 1900, date.tm_mon + 1,
                date.tm_mday);
  return text;
}

void ReplaceVariables(ExportSettings& settings, std::string& text) {
  ReplaceAll(text, "$HOME:", RelativeRootPrefix(settings));

  const std::string& title = settings.Headline.empty() ? settings.FileName : settings.Headline;
  ReplaceAll(text, "$TITLE:", ExpandLineBreaks(ToHtmlText(settings, title)));

  const std::time_t now = settings.now();
  ReplaceAll(text, "$DATE:", ToHtmlText(settings, ExportDate(settings, now)));

  const std::tm time = LocalTime(now);
  char clock[32];
  std::snprintf(clock, sizeof clock, "%02d:%02d:%02d", time.tm_hour, time.tm_min, time.tm_sec);
  ReplaceAll(text, "$TIME:", clock);
}

}  // namespace xt
