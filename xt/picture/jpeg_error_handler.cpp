#include "xt/picture/jpeg_error_handler.h"

#include "xt/host/host_tables.h"

namespace xt {
namespace {

// The host shows the box; without a host (tools, tests) the message goes to stderr.
void ShowJpegMessage(j_common_ptr cinfo) {
  char text[JMSG_LENGTH_MAX];
  (*cinfo->err->format_message)(cinfo, text);
  if (Host().windows.message_box != nullptr) {
    Host().windows.message_box(text, 0);
  } else {
    std::fprintf(stderr, "%s: %s\n", kJpegErrorTitle, text);
  }
}

[[noreturn]] void JumpToRecoveryPoint(j_common_ptr cinfo) {
  (*cinfo->err->output_message)(cinfo);
  auto* handler = reinterpret_cast<JpegErrorHandler*>(cinfo->err);
  std::longjmp(handler->recovery, handler->pub.msg_code != 0 ? handler->pub.msg_code : 1);
}

}  // namespace

jpeg_error_mgr* InstallJpegErrorHandler(JpegErrorHandler& handler) {
  jpeg_std_error(&handler.pub);
  handler.pub.output_message = ShowJpegMessage;
  handler.pub.error_exit = JumpToRecoveryPoint;
  return &handler.pub;
}

}  // namespace xt
