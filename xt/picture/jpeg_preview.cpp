#include "xt/picture/jpeg_preview.h"

#include <cstdio>
#include <memory>

#include "platform/file_closer.h"
#include "xt/picture/jpeg_error_handler.h"

namespace xt {
namespace {

struct Decompression {
  JpegErrorHandler errors;
  jpeg_decompress_struct cinfo;
  bool created = false;
  ~Decompression() {
    if (created) jpeg_destroy_decompress(&cinfo);
  }
};

// Fills `out`; everything that survives the jump back lives outside this frame.
bool Decompress(Decompression& d, std::FILE* file, std::span<const std::uint8_t> data,
                PackedBitmap& out) {
  if (setjmp(d.errors.recovery) != 0) return false;
  jpeg_decompress_struct& cinfo = d.cinfo;
  cinfo.err = InstallJpegErrorHandler(d.errors);
  jpeg_create_decompress(&cinfo);
  d.created = true;
  // Without backing store, a picture that needs more memory than this is an error.
  cinfo.mem->max_memory_to_use = static_cast<long>(kMaxJpegPreviewBytes);
  if (file != nullptr) {
    jpeg_stdio_src(&cinfo, file);
  } else {
    jpeg_mem_src(&cinfo, data.data(), static_cast<unsigned long>(data.size()));
  }
  jpeg_read_header(&cinfo, TRUE);
  cinfo.out_color_space = JCS_EXT_BGR;  // the bitmap's byte order, also for grey pictures
  jpeg_calc_output_dimensions(&cinfo);
  const std::uint64_t bytes =
      static_cast<std::uint64_t>(DibRowStride(24, static_cast<int>(cinfo.output_width))) *
      cinfo.output_height;
  if (bytes > kMaxJpegPreviewBytes) return false;
  jpeg_start_decompress(&cinfo);

  BitmapInfoHeader header;
  header.width = static_cast<std::int32_t>(cinfo.output_width);
  header.height = static_cast<std::int32_t>(cinfo.output_height);
  header.bit_count = 24;
  out = NewPackedBitmap(header, 0);
  std::uint8_t* bits = out.data() + kBitmapInfoHeaderSize;
  const std::size_t stride = DibRowStride(24, header.width);
  while (cinfo.output_scanline < cinfo.output_height) {
    const JDIMENSION s = cinfo.output_scanline;
    JSAMPROW row = bits + static_cast<std::size_t>(cinfo.output_height - 1 - s) * stride;
    jpeg_read_scanlines(&cinfo, &row, 1);
  }
  jpeg_finish_decompress(&cinfo);
  return true;
}

bool Decode(std::FILE* file, std::span<const std::uint8_t> data, PackedBitmap& out) {
  PackedBitmap bitmap;
  bool ok = false;
  {
    Decompression decompression;
    ok = Decompress(decompression, file, data, bitmap);
  }
  if (ok) out = std::move(bitmap);
  return ok;
}

}  // namespace

bool DecodeJpegPreview(const std::string& path, PackedBitmap& out) {
  platform::UniqueFile file(std::fopen(path.c_str(), "rb"));
  if (!file) return false;
  return Decode(file.get(), {}, out);
}

bool DecodeJpegPreviewData(std::span<const std::uint8_t> data, PackedBitmap& out) {
  return Decode(nullptr, data, out);
}

}  // namespace xt
