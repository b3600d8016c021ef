// The variables of the configured snippets ($HOME:, $TITLE:, $DATE:, $TIME:), replaced when a
// snippet is written into a page, so that none of them reaches the archive.
#pragma once

#include <ctime>
#include <string>
#include <string_view>

namespace xt {

class ExportSettings;

inline constexpr std::time_t kSecondsPerDay = 86400;

// Replaces every `what` by `by`, left to right, without searching the inserted text again.
// Returns the number of replacements.
int ReplaceAll(std::string& text, std::string_view what, std::string_view by);

// Replaces "$HOME:", "$TITLE:", "$DATE:" and "$TIME:" in this order, reading the clock once.
void ReplaceVariables(ExportSettings& settings, std::string& text);

// Each two-character sequence "\n" (backslash, n) becomes CR LF.
std::string ExpandLineBreaks(std::string_view text);

// `text` with every byte replaced by its entry in the settings' character table.
std::string ToHtmlText(const ExportSettings& settings, std::string_view text);

// The "$DATE:" text for the moment `now` (before character conversion).
std::string ExportDate(const ExportSettings& settings, std::time_t now);

}  // namespace xt
