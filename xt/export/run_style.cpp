#include "xt/export/run_style.h"

#include <algorithm>
#include <cctype>
#include <string>

namespace xt {
namespace {

// Checked in this order; the first hit decides.
constexpr std::string_view kBoldWords[] = {"bold", "black", "heavy", "demi"};
constexpr std::string_view kItalicWords[] = {"ital", "oblique"};

bool ContainsAny(const std::string& lower_name, const auto& words) {
  return std::any_of(std::begin(words), std::end(words), [&](std::string_view word) {
    return lower_name.find(word) != std::string::npos;
  });
}

}  // namespace

std::uint32_t RunStyleFlags(std::uint16_t style_word, std::string_view font_name) {
  if (style_word != 0) return style_word & kTaggedStyles;
  std::string lower(font_name);
  for (char& c : lower)
    c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  if (ContainsAny(lower, kBoldWords)) return XT_STYLE_BOLD;
  if (ContainsAny(lower, kItalicWords)) return XT_STYLE_ITALIC;
  return 0;
}

int HeadingLevel(const std::array<XtFixed, 6>& thresholds, XtFixed size) {
  for (std::size_t i = 0; i < thresholds.size(); ++i) {
    if (thresholds[i] != 0 && thresholds[i] <= size) return static_cast<int>(i) + 1;
  }
  return 0;
}

}  // namespace xt
