// The picture step of a page: the HTML of one picture box (or of a text box exported as a
// picture) and its picture file beside the page.
#pragma once

#include "hostapi/xt_host_api.h"

namespace xt {

class ExportSettings;

// Writes the picture of `box` into the page; `as_text_box` is set for a text box of export
// kind 1. Returns true when the picture was written in image-and-caption mode, in which case
// the kind of the previous element stays as the step left it.
bool ExportPictureBox(ExportSettings& settings, XtBox box, bool as_text_box);

}  // namespace xt
