// Colours as HTML writes them: six lower-case hexadecimal digits, red first.
#pragma once

#include <string>

#include "hostapi/xt_host_api.h"

namespace xt {

// Each 16-bit component contributes its high byte: white is "ffffff".
std::string ColorText(const XtRgb& rgb);

}  // namespace xt
