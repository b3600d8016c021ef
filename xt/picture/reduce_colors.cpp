#include "xt/picture/reduce_colors.h"

#include <vector>

#include "xt/picture/jpeg_error_handler.h"

extern "C" {
#include <jpegint.h>  // the two-pass quantizer module and its interface
}

namespace xt {
namespace {

constexpr int kQuantizerComponents = 3;

// The decompression object only carries the quantizer; it never sees JPEG data.
struct Quantizer {
  JpegErrorHandler errors;
  jpeg_decompress_struct cinfo;
  bool created = false;
  ~Quantizer() {
    if (created) jpeg_destroy_decompress(&cinfo);
  }
};

struct Rows {
  std::vector<JSAMPROW> source;
  std::vector<JSAMPROW> target;
};

// Returns 0, or the libjpeg message code after an error.
int Quantize(Quantizer& q, const BitmapView& view, Rows& rows, int colors, std::uint8_t* table) {
  if (setjmp(q.errors.recovery) != 0) return q.errors.pub.msg_code;
  jpeg_decompress_struct& cinfo = q.cinfo;
  cinfo.err = InstallJpegErrorHandler(q.errors);
  jpeg_create_decompress(&cinfo);
  q.created = true;

  cinfo.dither_mode = JDITHER_NONE;
  cinfo.desired_number_of_colors = colors;
  cinfo.quantize_colors = TRUE;
  cinfo.two_pass_quantize = TRUE;
  cinfo.enable_2pass_quant = TRUE;      // makes the module allocate the colour map it fills
  cinfo.out_color_space = JCS_EXT_BGR;  // component 0 is blue: red and green keep their weights
  cinfo.out_color_components = kQuantizerComponents;
  cinfo.output_width = static_cast<JDIMENSION>(view.width);
  jinit_2pass_quantizer(&cinfo);

  const int height = view.height;
  (*cinfo.cquantize->start_pass)(&cinfo, TRUE);
  (*cinfo.cquantize->color_quantize)(&cinfo, rows.source.data(), nullptr, height);
  (*cinfo.cquantize->finish_pass)(&cinfo);

  (*cinfo.cquantize->start_pass)(&cinfo, FALSE);
  (*cinfo.cquantize->color_quantize)(&cinfo, rows.source.data(), rows.target.data(), height);
  (*cinfo.cquantize->finish_pass)(&cinfo);

  for (int i = 0; i < cinfo.actual_number_of_colors; ++i) {
    table[4 * i + 0] = cinfo.colormap[0][i];
    table[4 * i + 1] = cinfo.colormap[1][i];
    table[4 * i + 2] = cinfo.colormap[2][i];
  }
  return 0;
}

}  // namespace

std::optional<PackedBitmap> ReduceColors(std::span<const std::uint8_t> dib, int colors) {
  const std::optional<BitmapView> view = ViewBitmap(dib);
  if (!view || view->bit_count != 24 || colors < 1 || colors > kMaxReducedColors)
    return std::nullopt;

  BitmapInfoHeader header = view->header;
  header.bit_count = 8;
  header.clr_used = static_cast<std::uint32_t>(colors);
  PackedBitmap reduced = NewPackedBitmap(header, header.clr_used);
  const BitmapInfoHeader made = ReadInfoHeader(reduced.data());
  std::uint8_t* table = reduced.data() + kBitmapInfoHeaderSize;
  std::uint8_t* bits = reduced.data() + DibBitsOffset(made);
  const std::size_t stride = DibRowStride(8, view->width);

  Rows rows;
  rows.source.resize(view->height);
  rows.target.resize(view->height);
  for (int i = 0; i < view->height; ++i) {
    rows.source[i] = const_cast<JSAMPROW>(view->Row(i));
    rows.target[i] = bits + static_cast<std::size_t>(i) * stride;
  }
  Quantizer quantizer;
  if (Quantize(quantizer, *view, rows, colors, table) != 0) return std::nullopt;
  return reduced;
}

}  // namespace xt
