#include "xt/picture/jpeg_writer.h"

#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <memory>

#include <jerror.h>

#include "platform/file_closer.h"
#include "platform/file_replacement.h"
#include "xt/picture/jpeg_error_handler.h"

namespace xt {
namespace {

constexpr int kJpegComponents = 3;

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

struct Picture {
  int width;
  int height;
  JpegPixelOrder order;
  const JpegRowSource& next_row;
};

int Compress(Compression& c, const Picture& picture, std::FILE* file, bool progressive) {
  if (setjmp(c.errors.recovery) != 0) return c.errors.pub.msg_code;
  jpeg_compress_struct& cinfo = c.cinfo;
  cinfo.err = InstallJpegErrorHandler(c.errors);
  jpeg_create_compress(&cinfo);
  c.created = true;

  cinfo.image_width = static_cast<JDIMENSION>(picture.width);
  cinfo.image_height = static_cast<JDIMENSION>(picture.height);
  cinfo.input_components = kJpegComponents;
  // The rows are read in their own byte order, never rearranged first.
  cinfo.in_color_space = picture.order == JpegPixelOrder::kBlueGreenRed ? JCS_EXT_BGR : JCS_EXT_RGB;
  jpeg_set_defaults(&cinfo);
  jpeg_default_colorspace(&cinfo);
  if (progressive) jpeg_simple_progression(&cinfo);
  jpeg_stdio_dest(&cinfo, file);
  jpeg_start_compress(&cinfo, TRUE);
  while (cinfo.next_scanline < cinfo.image_height) {
    const std::uint8_t* next = picture.next_row();
    if (next == nullptr) return JERR_INPUT_EOF;
    JSAMPROW row = const_cast<JSAMPROW>(next);
    jpeg_write_scanlines(&cinfo, &row, 1);
  }
  jpeg_finish_compress(&cinfo);
  return 0;
}

}  // namespace

JpegResult WriteJpegRows(int width, int height, JpegPixelOrder order, const JpegRowSource& next_row,
                         const std::string& path, bool progressive) {
  // A file cut short by an error would look like a picture to a browser: the new file
  // replaces the old one only when complete.
  platform::FileReplacement replacement(path);
  JpegResult result;
  result.file = replacement.Open();
  if (!result.file.ok()) return result;
  platform::UniqueFile file(::fdopen(::dup(replacement.descriptor()), "wb"));
  if (!file) {
    result.file = platform::Status::FromErrno(platform::kFileOpenFailed, path, errno);
    return result;
  }
  {
    Compression compression;
    result.libjpeg_code =
        Compress(compression, Picture{width, height, order, next_row}, file.get(), progressive);
  }
  if (std::fclose(file.release()) != 0 && result.libjpeg_code == 0) {
    result.file = platform::Status::FromErrno(platform::kFileWriteFailed, path, errno);
  }
  if (result.ok()) result.file = replacement.Commit();
  return result;
}

JpegResult WriteJpegFile(std::span<const std::uint8_t> picture, const std::string& path,
                         bool progressive) {
  const std::optional<BitmapView> view = ViewBitmap(picture);
  if (!view || view->bit_count != 24) return JpegResult{{}, JERR_BAD_IN_COLORSPACE};
  // Rows are stored bottom-up; the JPEG starts with the top row.
  int top_row = 0;
  const JpegRowSource rows = [&] { return view->TopRow(top_row++); };
  return WriteJpegRows(view->width, view->height, JpegPixelOrder::kBlueGreenRed, rows, path,
                       progressive);
}

}  // namespace xt
