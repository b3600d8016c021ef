#include "xt/export/picture_step.h"

#include "xt/export/page_writer.h"

namespace xt {

// Pictures are not exported yet: a picture contributes only its leading line break.
bool ExportPictureBox(ExportSettings& settings, XtBox /*box*/, bool /*as_text_box*/) {
  WriteText(settings, "\r\n");
  return false;
}

}  // namespace xt
