#include "xt/picture/jpeg_writer.h"

#include <cstdio>
#include <memory>

#include <jerror.h>

#include "xt/picture/jpeg_error_handler.h"

namespace xt {
namespace {

constexpr int kJpegComponents = 3;

struct FileCloser {
  void operator()(std::FILE* f) const { std::fclose(f); }
};
using File = std::unique_ptr<std::FILE, FileCloser>;

// Everything the compression touches lives here, outside the frame that calls setjmp, so that
// the jump back leaves no object half-updated.
struct Compression {
  JpegErrorHandler errors;
  jpeg_compress_struct cinfo;
  bool created = false;
  ~Compression() {
    if (created) jpeg_destroy_compress(&cinfo);
  }
};

int Compress(Compression& c, const BitmapView& view, std::FILE* file, bool progressive) {
  if (setjmp(c.errors.recovery) != 0) return c.errors.pub.msg_code;
  jpeg_compress_struct& cinfo = c.cinfo;
  cinfo.err = InstallJpegErrorHandler(c.errors);
  jpeg_create_compress(&cinfo);
  c.created = true;

  cinfo.image_width = static_cast<JDIMENSION>(view.width);
  cinfo.image_height = static_cast<JDIMENSION>(view.height);
  cinfo.input_components = kJpegComponents;
  cinfo.in_color_space = JCS_EXT_BGR;  // the captured rows' byte order, read as they are
  jpeg_set_defaults(&cinfo);
  jpeg_default_colorspace(&cinfo);
  if (progressive) jpeg_simple_progression(&cinfo);
  jpeg_stdio_dest(&cinfo, file);
  jpeg_start_compress(&cinfo, TRUE);
  while (cinfo.next_scanline < cinfo.image_height) {
    // Rows are stored bottom-up; the JPEG starts with the top row.
    JSAMPROW row = const_cast<JSAMPROW>(view.TopRow(static_cast<int>(cinfo.next_scanline)));
    jpeg_write_scanlines(&cinfo, &row, 1);
  }
  jpeg_finish_compress(&cinfo);
  return kJpegWritten;
}

}  // namespace

int WriteJpegFile(std::span<const std::uint8_t> picture, const std::string& path,
                  bool progressive) {
  const std::optional<BitmapView> view = ViewBitmap(picture);
  if (!view || view->bit_count != 24) return JERR_BAD_IN_COLORSPACE;
  File file(std::fopen(path.c_str(), "wb"));
  if (!file) return kJpegCannotOpen;
  int result = kJpegWritten;
  {
    Compression compression;
    result = Compress(compression, *view, file.get(), progressive);
  }
  if (std::fclose(file.release()) != 0 && result == kJpegWritten) result = JERR_FILE_WRITE;
  // A file cut short by an error would look like a picture to a browser; it goes.
  if (result != kJpegWritten) std::remove(path.c_str());
  return result;
}

}  // namespace xt
