#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <random>

#include "tests/xt/picture_support.h"
#include "xt/picture/bitmap_files.h"
#include "xt/picture/gif_preview.h"
#include "xt/picture/gif_writer.h"
#include "xt/picture/jpeg_preview.h"
#include "xt/picture/jpeg_writer.h"
#include "xt/picture/lzw_coder.h"

namespace {

namespace fs = std::filesystem;
using picture_test::DecodeWithGiflib;
using picture_test::MakeBitmap24;
using picture_test::MakeBitmap8;
using picture_test::Rgb;

// Our preview must show what giflib shows: same size, colours and indices.
void ExpectSameAsGiflib(const std::vector<std::uint8_t>& file, const std::string& name) {
  SCOPED_TRACE(name);
  const auto reference = DecodeWithGiflib(file);
  ASSERT_TRUE(reference);
  const xt::GifPreview preview = xt::DecodeGifPreviewData(file);
  ASSERT_EQ(preview.error, xt::kGifPreviewOk);
  const auto view = xt::ViewBitmap(preview.bitmap);
  ASSERT_TRUE(view);
  ASSERT_EQ(view->width, reference->width);
  ASSERT_EQ(view->height, reference->height);
  EXPECT_EQ(view->header.clr_used, 256u);
  for (std::size_t i = 0; i < reference->colors.size(); ++i)
    EXPECT_EQ(picture_test::TableColor(preview.bitmap, i), reference->colors[i]) << i;
  int differing = 0;
  for (int y = 0; y < view->height; ++y) {
    for (int x = 0; x < view->width; ++x)
      differing += view->TopRow(y)[x] != reference->indices[y * view->width + x];
  }
  EXPECT_EQ(differing, 0);
}

// GIF files some Debian packages install (Tk's images, documentation figures, icons).
std::vector<fs::path> DebianGifs() {
  std::vector<fs::path> found;
  for (const char* folder :
       {"/usr/share/tcltk", "/usr/share/doc/libxslt1-dev", "/usr/share/doc/cscope",
        "/usr/share/doc/cmake-data", "/usr/share/qt6/doc/global"}) {
    std::error_code error;
    for (fs::recursive_directory_iterator it(folder, error), end; !error && it != end;
         it.increment(error)) {
      if (it->path().extension() == ".gif") found.push_back(it->path());
    }
  }
  return found;
}

TEST(GifPreview, DebianPackagedFilesDecodeAsGiflibDecodesThem) {
  const auto files = DebianGifs();
  if (files.empty()) GTEST_SKIP() << "no packaged GIF files installed";
  for (const fs::path& path : files)
    ExpectSameAsGiflib(*xt::ReadWholeFile(path), path.string());
}

// Pictures ImageMagick writes in the forms the preview meets: GIF87a, interlaced, transparent,
// two colours, large.
TEST(GifPreview, ImageMagickFilesDecodeAsGiflibDecodesThem) {
  if (std::system("command -v convert >/dev/null 2>&1") != 0) GTEST_SKIP() << "no ImageMagick";
  const fs::path folder = fs::temp_directory_path() / ("marlix-gifs-" + std::to_string(::getpid()));
  fs::create_directories(folder);
  struct Picture {
    const char* name;
    const char* options;
    const char* format;  // ImageMagick's output prefix
  };
  const Picture pictures[] = {
      {"gif87.gif", "-size 120x90 gradient:red-blue -colors 64", "GIF87:"},
      {"interlaced.gif", "-size 333x111 plasma:fractal -colors 200 -interlace GIF", ""},
      {"interlaced3.gif", "-size 7x3 gradient:white-black -colors 8 -interlace GIF", ""},
      {"transparent.gif",
       "-size 64x64 xc:white -fill red -draw 'circle 32,32 32,10' -transparent white", ""},
      {"two.gif", "-size 50x40 pattern:checkerboard -monochrome", ""},
      {"large.gif",
       "-size 1024x768 gradient:navy-orange -attenuate 0.4 +noise Gaussian -colors 256", ""},
  };
  for (const Picture& p : pictures) {
    const std::string command =
        std::string("convert -seed 5 ") + p.options + " " + p.format + (folder / p.name).string();
    ASSERT_EQ(std::system(command.c_str()), 0) << command;
    ExpectSameAsGiflib(*xt::ReadWholeFile(folder / p.name), p.name);
  }
  fs::remove_all(folder);
}

TEST(GifPreview, ReadsBackEveryFileTheWriterMakes) {
  std::mt19937 random(3);
  for (int height : {1, 2, 3, 4, 5, 9, 17}) {
    for (bool interlaced : {false, true}) {
      const auto dib = MakeBitmap24(11, height, [&](int, int) {
        return Rgb{std::uint8_t(random()), std::uint8_t(random()), std::uint8_t(random())};
      });
      const auto gif = xt::EncodeGif(dib, interlaced, true);
      ASSERT_TRUE(gif);
      ExpectSameAsGiflib(*gif, std::to_string(height) + (interlaced ? "i" : ""));
    }
  }
}

// A GIF of `width` x `height` with the given global table size and LZW data.
std::vector<std::uint8_t> HandmadeGif(int width, int height, int color_bits, bool interlaced,
                                      const std::vector<std::uint8_t>& lzw_blocks,
                                      int code_size = -1) {
  std::vector<std::uint8_t> g = {
      'G', 'I', 'F', '8', '9', 'a', 1, 0, 1, 0, static_cast<std::uint8_t>(0x80 | (color_bits - 1)),
      0,   0};
  for (int i = 0; i < (1 << color_bits); ++i)
    g.insert(g.end(), {std::uint8_t(i), std::uint8_t(i), std::uint8_t(i)});
  g.insert(g.end(),
           {0x2C, 0, 0, 0, 0, std::uint8_t(width), std::uint8_t(width >> 8), std::uint8_t(height),
            std::uint8_t(height >> 8), std::uint8_t(interlaced ? 0x40 : 0)});
  g.push_back(static_cast<std::uint8_t>(code_size < 0 ? std::max(color_bits, 2) : code_size));
  g.insert(g.end(), lzw_blocks.begin(), lzw_blocks.end());
  g.insert(g.end(), {0, 0x3B});
  return g;
}

// LZW data for rows of pixels given in file order, ending with an end code.
std::vector<std::uint8_t> Lzw(const std::vector<std::vector<std::uint8_t>>& rows, int code_size) {
  std::vector<std::uint8_t> out;
  xt::LzwCoder coder(code_size, out);
  for (const auto& row : rows)
    coder.Add(row.data(), row.size());
  coder.Finish();
  return out;
}

std::vector<std::vector<std::uint8_t>> PreviewRows(const xt::PackedBitmap& bitmap) {
  const auto view = xt::ViewBitmap(bitmap);
  std::vector<std::vector<std::uint8_t>> rows;
  for (int y = 0; y < view->height; ++y)
    rows.emplace_back(view->TopRow(y), view->TopRow(y) + view->width);
  return rows;
}

TEST(GifPreview, InterlacedRowsFillTheRowsBelowUntilLaterPassesCome) {
  using Rows = std::vector<std::vector<std::uint8_t>>;
  const std::vector<std::uint8_t> r0{1, 1}, r4{4, 4}, r2{2, 2}, r1{7, 7}, r3{3, 3};
  // Data of the first row only: every row shows it.
  auto one = xt::DecodeGifPreviewData(HandmadeGif(2, 5, 4, true, Lzw({r0}, 4)));
  ASSERT_EQ(one.error, xt::kGifPreviewOk);
  EXPECT_EQ(PreviewRows(one.bitmap), (Rows{r0, r0, r0, r0, r0}));
  // After pass 2 row 2 also stands in for row 3.
  auto three = xt::DecodeGifPreviewData(HandmadeGif(2, 5, 4, true, Lzw({r0, r4, r2}, 4)));
  EXPECT_EQ(PreviewRows(three.bitmap), (Rows{r0, r0, r2, r2, r4}));
  auto all = xt::DecodeGifPreviewData(HandmadeGif(2, 5, 4, true, Lzw({r0, r4, r2, r1, r3}, 4)));
  EXPECT_EQ(PreviewRows(all.bitmap), (Rows{r0, r1, r2, r3, r4}));
  // A row cut short by the end code spreads only what it has.
  auto partial = xt::DecodeGifPreviewData(HandmadeGif(2, 5, 4, true, Lzw({{5}}, 4)));
  EXPECT_EQ(PreviewRows(partial.bitmap), (Rows{{5, 0}, {5, 0}, {5, 0}, {5, 0}, {5, 0}}));
}

TEST(GifPreview, LongerDataKeepsWritingTheLastRow) {
  auto gif = xt::DecodeGifPreviewData(HandmadeGif(2, 2, 2, false, Lzw({{1, 1, 2, 2, 3, 0}}, 2)));
  ASSERT_EQ(gif.error, xt::kGifPreviewOk);
  EXPECT_EQ(PreviewRows(gif.bitmap), (std::vector<std::vector<std::uint8_t>>{{1, 1}, {3, 0}}));
}

// Data that goes on past the picture's last pixel wraps onto the last row in file order,
// from its first column, also when one long string crosses the end.
TEST(GifPreview, DataPastTheEndWrapsOntoTheLastRowInFileOrder) {
  std::mt19937 random(9);
  const int width = 7, height = 6, total = width * height;
  for (bool interlaced : {false, true}) {
    for (int extra : {1, 6, 17, 60}) {
      std::vector<std::uint8_t> pixels(static_cast<std::size_t>(total + extra));
      for (auto& p : pixels)  // mostly ones, so that strings grow long
        p = random() % 4 == 0 ? static_cast<std::uint8_t>(random() % 4) : 1;
      const std::vector<int> order = xt::GifRowOrder(height, interlaced);
      std::vector<std::vector<std::uint8_t>> expected(static_cast<std::size_t>(height));
      for (int j = 0; j < height; ++j)
        expected[order[j]].assign(pixels.begin() + j * width, pixels.begin() + (j + 1) * width);
      for (int k = total; k < total + extra; ++k)
        expected[order.back()][(k - total) % width] = pixels[k];
      const auto preview =
          xt::DecodeGifPreviewData(HandmadeGif(width, height, 2, interlaced, Lzw({pixels}, 2)));
      ASSERT_EQ(preview.error, xt::kGifPreviewOk);
      EXPECT_EQ(PreviewRows(preview.bitmap), expected) << interlaced << " " << extra;
    }
  }
}

TEST(GifPreview, TwoColourFileDecodesWithCodeSizeTwo) {
  const auto file = HandmadeGif(3, 1, 1, false, Lzw({{1, 0, 1}}, 2));
  const auto preview = xt::DecodeGifPreviewData(file);
  ASSERT_EQ(preview.error, xt::kGifPreviewOk);
  EXPECT_EQ(PreviewRows(preview.bitmap)[0], (std::vector<std::uint8_t>{1, 0, 1}));
  EXPECT_EQ(picture_test::TableColor(preview.bitmap, 1), (Rgb{1, 1, 1}));
  ExpectSameAsGiflib(file, "two colours");
  // The code size byte 1 does not match the widened colour bits.
  EXPECT_EQ(xt::DecodeGifPreviewData(HandmadeGif(3, 1, 1, false, Lzw({{1, 0, 1}}, 2), 1)).error,
            xt::kGifBadCodeSize);
}

// Codes written at the widths a decoder expects, with no clear code after the first: the
// table fills up and later codes are read at 12 bits without new entries.
std::vector<std::uint8_t> CodesWithoutClear(const std::vector<int>& codes, int code_size) {
  std::vector<std::uint8_t> data;
  std::uint32_t accumulator = 0;
  int bits = 0, width = code_size + 1, next = (1 << code_size) + 2;
  bool first = true;
  for (int code : codes) {
    accumulator |= static_cast<std::uint32_t>(code) << bits;
    bits += width;
    while (bits >= 8) {
      data.push_back(static_cast<std::uint8_t>(accumulator));
      accumulator >>= 8;
      bits -= 8;
    }
    if (code == (1 << code_size)) continue;
    if (!first && next < 4096 && ++next == (1 << width) && width < 12) ++width;
    first = false;
  }
  if (bits > 0) data.push_back(static_cast<std::uint8_t>(accumulator));
  std::vector<std::uint8_t> blocks;
  for (std::size_t i = 0; i < data.size(); i += 255) {
    const std::size_t n = std::min<std::size_t>(255, data.size() - i);
    blocks.push_back(static_cast<std::uint8_t>(n));
    blocks.insert(blocks.end(), data.begin() + i, data.begin() + i + n);
  }
  return blocks;
}

TEST(GifPreview, FullTableWithoutClearCodeKeepsDecoding) {
  std::vector<int> codes = {4};
  for (int i = 0; i < 5000; ++i)
    codes.push_back(i % 3);
  codes.push_back(5);
  const auto file = HandmadeGif(100, 50, 2, false, CodesWithoutClear(codes, 2));
  const auto preview = xt::DecodeGifPreviewData(file);
  ASSERT_EQ(preview.error, xt::kGifPreviewOk);
  EXPECT_EQ(PreviewRows(preview.bitmap)[49][99], 4999 % 3);
  ExpectSameAsGiflib(file, "full table");
}

TEST(GifPreview, ErrorCodes) {
  const auto good = HandmadeGif(2, 1, 2, false, Lzw({{1, 2}}, 2));
  auto changed = [&](std::size_t at, std::uint8_t value) {
    auto g = good;
    g[at] = value;
    return xt::DecodeGifPreviewData(g).error;
  };
  EXPECT_EQ(xt::DecodeGifPreviewData(good).error, xt::kGifPreviewOk);
  EXPECT_EQ(changed(0, 'J'), xt::kGifNotGif);
  EXPECT_EQ(changed(4, '8'), xt::kGifBadVersion);
  EXPECT_EQ(changed(10, 0x01), xt::kGifNoGlobalColors);
  EXPECT_EQ(changed(13 + 12 + 10, 3), xt::kGifBadCodeSize);
  for (std::size_t cut = 0; cut < good.size() - 2; ++cut) {
    const std::vector<std::uint8_t> head(good.begin(), good.begin() + cut);
    EXPECT_NE(xt::DecodeGifPreviewData(head).error, xt::kGifPreviewOk) << cut;
  }
  EXPECT_EQ(xt::DecodeGifPreviewData(std::vector<std::uint8_t>(good.begin(), good.end() - 5)).error,
            xt::kGifDataEnds);
  // Clear code, then code 7 while the next free code is 6.
  EXPECT_EQ(xt::DecodeGifPreviewData(HandmadeGif(2, 1, 2, false, {2, 0x3C, 0x00})).error,
            xt::kGifBadCode);
  auto wide = HandmadeGif(3097, 1, 2, false, Lzw({{0}}, 2));
  EXPECT_EQ(xt::DecodeGifPreviewData(wide).error, xt::kGifTooWide);
  EXPECT_EQ(xt::DecodeGifPreviewData(
                HandmadeGif(3096, 1, 2, false, Lzw({std::vector<std::uint8_t>(3096, 1)}, 2)))
                .error,
            xt::kGifPreviewOk);
}

TEST(GifPreview, OnlyLocalColourTablesIsRefused) {
  auto gif = HandmadeGif(2, 1, 2, false, Lzw({{1, 2}}, 2));
  gif[10] = 0x01;  // no global table, but its bytes stay as a stand-in for a local one
  EXPECT_EQ(xt::DecodeGifPreviewData(gif).error, xt::kGifNoGlobalColors);
}

TEST(GifPreview, SkipsExtensionsBeforeTheImage) {
  auto gif = HandmadeGif(2, 1, 2, false, Lzw({{1, 2}}, 2));
  const std::size_t image = 13 + 12;
  // A comment, and a graphic control extension without transparency whose delay is 44.
  const std::vector<std::uint8_t> before = {0x21, 0xF9, 4, 0,   0x2C, 0,   0, 0,
                                            0x21, 0xFE, 3, 'a', 0x2C, 'b', 0};
  gif.insert(gif.begin() + image, before.begin(), before.end());
  const auto preview = xt::DecodeGifPreviewData(gif);
  ASSERT_EQ(preview.error, xt::kGifPreviewOk);
  EXPECT_EQ(PreviewRows(preview.bitmap)[0], (std::vector<std::uint8_t>{1, 2}));
}

TEST(GifPreview, PathThatCannotBeReadGivesNothing) {
  EXPECT_FALSE(xt::DecodeGifPreview("/nonexistent/marlix.gif"));
}

class JpegPreviewTest : public testing::Test {
 protected:
  std::string Path(const std::string& name) const {
    return (fs::temp_directory_path() / ("marlix-preview-" + std::to_string(::getpid()) + name))
        .string();
  }
  picture_test::CapturedJpegMessages messages_;
};

TEST_F(JpegPreviewTest, WidthFiveGivesRowsOfSixteenBytesTopRowLast) {
  const auto dib = MakeBitmap24(5, 4, [](int, int y) {
    return y < 2 ? Rgb{250, 0, 0} : Rgb{0, 0, 250};
  });
  const std::string path = Path("w5.jpg");
  ASSERT_TRUE(xt::WriteJpegFile(dib, path, false).ok());
  xt::PackedBitmap bitmap;
  ASSERT_TRUE(xt::DecodeJpegPreview(path, bitmap));
  fs::remove(path);
  const auto view = xt::ViewBitmap(bitmap);
  ASSERT_TRUE(view);
  EXPECT_EQ(view->bit_count, 24);
  EXPECT_EQ(view->stride, 16u);
  EXPECT_EQ(view->header.size_image, 64u);
  EXPECT_EQ(bitmap.size(), 40u + 64);
  EXPECT_GT(view->TopRow(0)[2], 180);  // red in blue-green-red order, on top
  EXPECT_GT(view->TopRow(3)[0], 180);
  EXPECT_EQ(view->TopRow(0)[15], 0);  // padding
}

TEST_F(JpegPreviewTest, GreyJpegBecomesThreeEqualComponents) {
  const std::string path = Path("grey.jpg");
  if (std::system(
          ("convert -size 9x3 xc:gray50 -colorspace Gray " + path + " 2>/dev/null").c_str()) != 0)
    GTEST_SKIP() << "no ImageMagick";
  xt::PackedBitmap bitmap;
  ASSERT_TRUE(xt::DecodeJpegPreview(path, bitmap));
  fs::remove(path);
  const auto view = xt::ViewBitmap(bitmap);
  ASSERT_TRUE(view);
  const std::uint8_t* p = view->TopRow(1) + 3 * 8;
  EXPECT_EQ(p[0], p[1]);
  EXPECT_EQ(p[1], p[2]);
  EXPECT_NEAR(p[0], 128, 3);
}

TEST_F(JpegPreviewTest, BrokenDataShowsTheMessageAndGivesNothing) {
  xt::PackedBitmap bitmap;
  const std::vector<std::uint8_t> not_jpeg = {'G', 'I', 'F', '8', '9', 'a'};
  EXPECT_FALSE(xt::DecodeJpegPreviewData(not_jpeg, bitmap));
  EXPECT_TRUE(bitmap.empty());
  EXPECT_EQ(messages_.texts().size(), 1u);
  EXPECT_FALSE(xt::DecodeJpegPreview("/nonexistent/marlix.jpg", bitmap));
  EXPECT_EQ(messages_.texts().size(), 1u);
}

TEST(BitmapFiles, PpmAndBmpGiveTheSamePackedBitmap) {
  const std::string folder =
      fs::temp_directory_path() / ("marlix-ppm-" + std::to_string(::getpid()));
  fs::create_directories(folder);
  const std::string head = "P6\n# made by hand\n2 2\n255\n";
  std::vector<std::uint8_t> ppm(head.begin(), head.end());
  ppm.insert(ppm.end(), {255, 0, 0, 0, 255, 0, 0, 0, 255, 9, 9, 9});
  ASSERT_TRUE(xt::WriteWholeFile(folder + "/a.ppm", ppm).ok());
  const auto bitmap = xt::LoadPicture(folder + "/a.ppm");
  ASSERT_TRUE(bitmap);
  const auto view = xt::ViewBitmap(*bitmap);
  EXPECT_EQ(view->TopRow(0)[2], 255);  // red
  EXPECT_EQ(view->TopRow(1)[0], 255);  // blue
  EXPECT_EQ(view->TopRow(1)[3], 9);
  EXPECT_EQ(view->TopRow(1)[6], 0);  // padding

  const auto bmp = xt::BmpFileBytes(*bitmap);
  ASSERT_TRUE(xt::WriteWholeFile(folder + "/a.bmp", bmp).ok());
  EXPECT_EQ(xt::LoadPicture(folder + "/a.bmp"), bitmap);
  EXPECT_FALSE(xt::ParseBmp(std::vector<std::uint8_t>(bmp.begin(), bmp.end() - 1)));

  ppm.pop_back();
  ASSERT_TRUE(xt::WriteWholeFile(folder + "/short.ppm", ppm).ok());
  EXPECT_FALSE(xt::LoadPicture(folder + "/short.ppm"));
  fs::remove_all(folder);
}

}  // namespace
