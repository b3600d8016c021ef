#include "xt/picture/jpeg_error_handler.h"

namespace xt {
namespace {

void PrintJpegMessage(const char* text) {
  std::fprintf(stderr, "%s: %s\n", kJpegErrorTitle, text);
}

JpegMessageSink message_sink = PrintJpegMessage;

void ShowJpegMessage(j_common_ptr cinfo) {
  char text[JMSG_LENGTH_MAX];
  (*cinfo->err->format_message)(cinfo, text);
  message_sink(text);
}

[[noreturn]] void JumpToRecoveryPoint(j_common_ptr cinfo) {
  (*cinfo->err->output_message)(cinfo);
  auto* handler = reinterpret_cast<JpegErrorHandler*>(cinfo->err);
  std::longjmp(handler->recovery, handler->pub.msg_code != 0 ? handler->pub.msg_code : 1);
}

}  // namespace

void SetJpegMessageSink(JpegMessageSink sink) {
  message_sink = sink != nullptr ? sink : PrintJpegMessage;
}

jpeg_error_mgr* InstallJpegErrorHandler(JpegErrorHandler& handler) {
  jpeg_std_error(&handler.pub);
  handler.pub.output_message = ShowJpegMessage;
  handler.pub.error_exit = JumpToRecoveryPoint;
  return &handler.pub;
}

}  // namespace xt
