// The picture code beside giflib on the same data: LZW coding of 8-bit indices against
// EGifPutLine (and against the classic hash-table coder it replaced, whose bytes it must
// reproduce), and the GIF preview decoder against DGifSlurp. The picture is the PPM named by
// PICTURE_BENCH_PPM (pictures_bench.sh makes photographs), else a synthetic 1024 x 768 one.
#include <benchmark/benchmark.h>
#include <gif_lib.h>
#include <jpeglib.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <random>
#include <stdexcept>

#include "tests/xt/reference_lzw_coder.h"
#include "xt/picture/bitmap_files.h"
#include "xt/picture/gif_preview.h"
#include "xt/picture/gif_writer.h"
#include "xt/picture/jpeg_writer.h"
#include "xt/picture/lzw_coder.h"
#include "xt/picture/reduce_colors.h"

namespace {

constexpr int kSyntheticWidth = 1024;
constexpr int kSyntheticHeight = 768;

// Smooth waves and noise, standing in for a photograph.
xt::PackedBitmap SyntheticPhoto() {
  xt::BitmapInfoHeader header;
  header.width = kSyntheticWidth;
  header.height = kSyntheticHeight;
  header.bit_count = 24;
  xt::PackedBitmap dib = xt::NewPackedBitmap(header, 0);
  std::mt19937 random(1);
  std::normal_distribution<double> noise(0, 6);
  const std::size_t stride = xt::DibRowStride(24, kSyntheticWidth);
  for (int y = 0; y < kSyntheticHeight; ++y) {
    std::uint8_t* row = dib.data() + xt::kBitmapInfoHeaderSize + stride * y;
    for (int x = 0; x < kSyntheticWidth; ++x) {
      for (int c = 0; c < 3; ++c) {
        const double v = 128 + 60 * std::sin(x / (40.0 + 13 * c)) +
                         50 * std::cos(y / (33.0 + 7 * c)) + noise(random);
        row[3 * x + c] = static_cast<std::uint8_t>(std::clamp(v, 0.0, 255.0));
      }
    }
  }
  return dib;
}

const xt::PackedBitmap& Photo() {
  static const xt::PackedBitmap photo = [] {
    if (const char* path = std::getenv("PICTURE_BENCH_PPM")) {
      if (auto loaded = xt::LoadPicture(path)) return *loaded;
      throw std::runtime_error(std::string("cannot read ") + path);
    }
    return SyntheticPhoto();
  }();
  return photo;
}

const xt::PackedBitmap& Reduced() {
  static const xt::PackedBitmap reduced = *xt::ReduceColors(Photo());
  return reduced;
}

// The 8-bit indices in the order a GIF file holds them, as the coders take them.
const std::vector<std::uint8_t>& Indices(bool interlaced = false) {
  static const auto make = [](bool laced) {
    const auto view = xt::ViewBitmap(Reduced());
    std::vector<std::uint8_t> out;
    for (int y : xt::GifRowOrder(view->height, laced))
      out.insert(out.end(), view->TopRow(y), view->TopRow(y) + view->width);
    return out;
  };
  static const std::vector<std::uint8_t> plain = make(false);
  static const std::vector<std::uint8_t> laced = make(true);
  return interlaced ? laced : plain;
}

int Width() {
  return xt::ViewBitmap(Reduced())->width;
}
int Height() {
  return xt::ViewBitmap(Reduced())->height;
}

template <typename Coder>
std::vector<std::uint8_t> Encode(const std::vector<std::uint8_t>& indices) {
  std::vector<std::uint8_t> out;
  Coder coder(8, out);
  for (int y = 0; y < Height(); ++y)
    coder.Add(indices.data() + std::size_t(y) * Width(), Width());
  coder.Finish();
  return out;
}

template <typename Coder>
void BM_Lzw(benchmark::State& state) {
  const auto& indices = Indices();
  std::size_t bytes = 0;
  for (auto _ : state) {
    const std::vector<std::uint8_t> out = Encode<Coder>(indices);
    bytes = out.size();
    benchmark::DoNotOptimize(out.data());
  }
  state.counters["bytes"] = static_cast<double>(bytes);
  state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(indices.size()));
}
void BM_LzwCoder(benchmark::State& state) {
  BM_Lzw<xt::LzwCoder>(state);
}
BENCHMARK(BM_LzwCoder)->Unit(benchmark::kMillisecond);
void BM_LzwClassic(benchmark::State& state) {
  BM_Lzw<picture_test::ReferenceLzwCoder>(state);
}
BENCHMARK(BM_LzwClassic)->Unit(benchmark::kMillisecond);

// Byte for byte against the classic coder, plain (0) and interlaced (1): "same" is 1 when
// the outputs are identical.
void BM_LzwSameAsClassic(benchmark::State& state) {
  const auto& indices = Indices(state.range(0) != 0);
  bool same = false;
  for (auto _ : state)
    same = Encode<xt::LzwCoder>(indices) == Encode<picture_test::ReferenceLzwCoder>(indices);
  state.counters["same"] = same ? 1 : 0;
  if (!same) state.SkipWithError("output differs from the classic coder");
}
BENCHMARK(BM_LzwSameAsClassic)->Arg(0)->Arg(1)->Iterations(1)->Unit(benchmark::kMillisecond);

int WriteToVector(GifFileType* gif, const GifByteType* data, int n) {
  auto* out = static_cast<std::vector<std::uint8_t>*>(gif->UserData);
  out->insert(out->end(), data, data + n);
  return n;
}

// giflib's encoder on the indices, which it may change (it masks them to the depth); the
// size of the image data, without the trailer but with the block terminator.
std::size_t EncodeWithGiflib(std::vector<std::uint8_t>& indices) {
  std::vector<std::uint8_t> out;
  int error = 0;
  GifFileType* gif = EGifOpen(&out, WriteToVector, &error);
  ColorMapObject* map = GifMakeMapObject(256, nullptr);
  EGifPutScreenDesc(gif, Width(), Height(), 8, 0, map);
  EGifPutImageDesc(gif, 0, 0, Width(), Height(), false, nullptr);
  const std::size_t header = out.size();
  for (int y = 0; y < Height(); ++y)
    EGifPutLine(gif, indices.data() + std::size_t(y) * Width(), Width());
  GifFreeMapObject(map);
  EGifCloseFile(gif, &error);
  benchmark::DoNotOptimize(out.data());
  return out.size() - header - 2;
}

void BM_GiflibPutLine(benchmark::State& state) {
  auto indices = Indices();
  std::size_t bytes = 0;
  for (auto _ : state)
    bytes = EncodeWithGiflib(indices);
  state.counters["bytes"] = static_cast<double>(bytes);
  state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(indices.size()));
}
BENCHMARK(BM_GiflibPutLine)->Unit(benchmark::kMillisecond);

// The coder and giflib in turns, each iteration timing both, so that a machine whose speed
// drifts during the run (a shared host) slows both alike. "speedup" is the median of the
// iterations' giflib time over the coder's.
void BM_LzwPairedWithGiflib(benchmark::State& state) {
  auto indices = Indices();
  std::vector<double> speedups;
  using Clock = std::chrono::steady_clock;
  for (auto _ : state) {
    const auto start = Clock::now();
    EncodeWithGiflib(indices);
    const auto middle = Clock::now();
    const std::vector<std::uint8_t> out = Encode<xt::LzwCoder>(indices);
    benchmark::DoNotOptimize(out.data());
    const auto end = Clock::now();
    speedups.push_back(std::chrono::duration<double>(middle - start).count() /
                       std::chrono::duration<double>(end - middle).count());
  }
  std::nth_element(speedups.begin(), speedups.begin() + speedups.size() / 2, speedups.end());
  state.counters["speedup"] = speedups[speedups.size() / 2];
}
BENCHMARK(BM_LzwPairedWithGiflib)->Unit(benchmark::kMillisecond);

const std::vector<std::uint8_t>& GifFile(bool interlaced) {
  static const std::vector<std::uint8_t> plain = *xt::EncodeGif(Reduced(), false, false);
  static const std::vector<std::uint8_t> laced = *xt::EncodeGif(Reduced(), true, false);
  return interlaced ? laced : plain;
}

void BM_DecodeGifPreview(benchmark::State& state) {
  const auto& file = GifFile(state.range(0) != 0);
  for (auto _ : state) {
    xt::GifPreview preview = xt::DecodeGifPreviewData(file);
    if (preview.error != xt::kGifPreviewOk) state.SkipWithError("preview failed");
    benchmark::DoNotOptimize(preview.bitmap.data());
  }
}
BENCHMARK(BM_DecodeGifPreview)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

struct MemoryInput {
  const std::vector<std::uint8_t>* data;
  std::size_t pos;
};

int ReadFromVector(GifFileType* gif, GifByteType* out, int n) {
  auto* in = static_cast<MemoryInput*>(gif->UserData);
  const std::size_t count = std::min<std::size_t>(n, in->data->size() - in->pos);
  std::memcpy(out, in->data->data() + in->pos, count);
  in->pos += count;
  return static_cast<int>(count);
}

void BM_GiflibSlurp(benchmark::State& state) {
  const auto& file = GifFile(state.range(0) != 0);
  for (auto _ : state) {
    MemoryInput input{&file, 0};
    int error = 0;
    GifFileType* gif = DGifOpen(&input, ReadFromVector, &error);
    if (DGifSlurp(gif) != GIF_OK) state.SkipWithError("giflib failed");
    benchmark::DoNotOptimize(gif->SavedImages[0].RasterBits);
    DGifCloseFile(gif, &error);
  }
}
BENCHMARK(BM_GiflibSlurp)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// The JPEG writer against libjpeg driven as cjpeg drives it (top-down red-green-blue rows
// from memory), both writing to /dev/null: what the writer adds to the library's work.
void BM_WriteJpegFile(benchmark::State& state) {
  for (auto _ : state) {
    if (!xt::WriteJpegFile(Photo(), "/dev/null", state.range(0) != 0).ok())
      state.SkipWithError("writer failed");
  }
}
BENCHMARK(BM_WriteJpegFile)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

void BM_LibjpegRgb(benchmark::State& state) {
  const auto view = xt::ViewBitmap(Photo());
  std::vector<std::uint8_t> rgb;
  for (int y = 0; y < view->height; ++y) {
    const std::uint8_t* row = view->TopRow(y);
    for (int x = 0; x < view->width; ++x)
      rgb.insert(rgb.end(), {row[3 * x + 2], row[3 * x + 1], row[3 * x]});
  }
  for (auto _ : state) {
    std::FILE* out = std::fopen("/dev/null", "wb");
    jpeg_compress_struct cinfo;
    jpeg_error_mgr errors;
    cinfo.err = jpeg_std_error(&errors);
    jpeg_create_compress(&cinfo);
    cinfo.image_width = static_cast<JDIMENSION>(view->width);
    cinfo.image_height = static_cast<JDIMENSION>(view->height);
    cinfo.input_components = 3;
    cinfo.in_color_space = JCS_RGB;
    jpeg_set_defaults(&cinfo);
    if (state.range(0) != 0) jpeg_simple_progression(&cinfo);
    jpeg_stdio_dest(&cinfo, out);
    jpeg_start_compress(&cinfo, TRUE);
    while (cinfo.next_scanline < cinfo.image_height) {
      JSAMPROW row = rgb.data() + std::size_t(cinfo.next_scanline) * view->width * 3;
      jpeg_write_scanlines(&cinfo, &row, 1);
    }
    jpeg_finish_compress(&cinfo);
    jpeg_destroy_compress(&cinfo);
    std::fclose(out);
  }
}
BENCHMARK(BM_LibjpegRgb)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

void BM_ReduceColors(benchmark::State& state) {
  for (auto _ : state)
    benchmark::DoNotOptimize(xt::ReduceColors(Photo()));
}
BENCHMARK(BM_ReduceColors)->Unit(benchmark::kMillisecond);

void BM_EncodeGif(benchmark::State& state) {
  for (auto _ : state)
    benchmark::DoNotOptimize(xt::EncodeGif(Photo(), false, false));
}
BENCHMARK(BM_EncodeGif)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
