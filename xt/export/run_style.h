// How the text converter reads a run's looks: bold, italic and underline from the style word or,
// when the word is empty, from the font's name; and the heading level that a size calls for.
#pragma once

#include <array>
#include <cstdint>
#include <string_view>

#include "hostapi/xt_host_api.h"

namespace xt {

// The style bits the converter turns into tags.
inline constexpr std::uint32_t kTaggedStyles =
    XT_STYLE_BOLD | XT_STYLE_ITALIC | XT_STYLE_UNDERLINE | XT_STYLE_WORD_UNDERLINE;

// The run's style flags (kTaggedStyles bits): the style word when it is not zero; otherwise bold
// for a font named "...Bold/Black/Heavy/Demi...", else italic for "...Ital/Oblique...".
std::uint32_t RunStyleFlags(std::uint16_t style_word, std::string_view font_name);

// 1 to 6: the first level whose threshold is set and at most `size`; 0: no heading.
int HeadingLevel(const std::array<XtFixed, 6>& thresholds, XtFixed size);

}  // namespace xt
