// JpegErrorHandler: libjpeg's standard error manager with its message output and error exit
// replaced. Messages go to the message sink (stderr until the plug-in points it at the host's
// message box, "JPEG Error"); an error jumps back to the recovery point of the call that is
// driving the library, with the message code as the value. Shared by the JPEG writer, the colour
// quantizer and the JPEG preview.
#pragma once

#include <csetjmp>
#include <cstdio>

#include <jpeglib.h>

namespace xt {

constexpr const char* kJpegErrorTitle = "JPEG Error";

// Receives each formatted libjpeg message.
using JpegMessageSink = void (*)(const char* text);

// Sets where messages go; nullptr restores stderr.
void SetJpegMessageSink(JpegMessageSink sink);

struct JpegErrorHandler {
  jpeg_error_mgr pub;
  std::jmp_buf recovery;
};

// Fills `handler` with the library defaults and the two replaced operations; returns the
// manager to store in a compression or decompression object's `err`. The caller sets the
// recovery point with setjmp(handler.recovery) before creating the object.
jpeg_error_mgr* InstallJpegErrorHandler(JpegErrorHandler& handler);

}  // namespace xt
