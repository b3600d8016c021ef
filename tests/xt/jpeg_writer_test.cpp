#include "xt/picture/jpeg_writer.h"

#include <gtest/gtest.h>
#include <jerror.h>
#include <jpeglib.h>

#include <cstdio>
#include <filesystem>

#include "tests/xt/fake_host.h"
#include "tests/xt/picture_support.h"
#include "xt/picture/gif_preview.h"

namespace {

using picture_test::MakeBitmap24;
using picture_test::Rgb;

struct DecodedJpeg {
  int width = 0;
  int height = 0;
  bool progressive = false;
  std::vector<std::uint8_t> rgb;  // top row first
};

DecodedJpeg DecodeWithLibjpeg(const std::string& path) {
  const auto file = xt::ReadWholeFile(path);
  jpeg_decompress_struct cinfo;
  jpeg_error_mgr errors;
  cinfo.err = jpeg_std_error(&errors);
  jpeg_create_decompress(&cinfo);
  jpeg_mem_src(&cinfo, file->data(), file->size());
  jpeg_read_header(&cinfo, TRUE);
  cinfo.out_color_space = JCS_RGB;
  jpeg_start_decompress(&cinfo);
  DecodedJpeg out;
  out.width = static_cast<int>(cinfo.output_width);
  out.height = static_cast<int>(cinfo.output_height);
  out.progressive = cinfo.progressive_mode;
  out.rgb.resize(static_cast<std::size_t>(out.width) * out.height * 3);
  while (cinfo.output_scanline < cinfo.output_height) {
    JSAMPROW row = out.rgb.data() + cinfo.output_scanline * out.width * 3;
    jpeg_read_scanlines(&cinfo, &row, 1);
  }
  jpeg_finish_decompress(&cinfo);
  jpeg_destroy_decompress(&cinfo);
  return out;
}

class JpegWriterTest : public testing::Test {
 protected:
  void SetUp() override {
    folder_ =
        std::filesystem::temp_directory_path() / ("marlix-jpeg-" + std::to_string(::getpid()));
    std::filesystem::create_directories(folder_);
  }
  void TearDown() override { std::filesystem::remove_all(folder_); }
  std::string Path(const char* name) const { return (folder_ / name).string(); }

  xt::test::FakeHost host_;
  std::filesystem::path folder_;
};

// Top half red, bottom half blue, a green right edge.
Rgb Halves(int x, int y, int width, int height) {
  if (x == width - 1) return {0, 255, 0};
  return y < height / 2 ? Rgb{255, 0, 0} : Rgb{0, 0, 255};
}

TEST_F(JpegWriterTest, BaselineFileHasTheSizeAndStartsWithTheTopRow) {
  const auto dib = MakeBitmap24(37, 24, [](int x, int y) { return Halves(x, y, 37, 24); });
  ASSERT_EQ(xt::WriteJpegFile(dib, Path("a.jpg"), false), xt::kJpegWritten);
  const DecodedJpeg jpeg = DecodeWithLibjpeg(Path("a.jpg"));
  EXPECT_EQ(jpeg.width, 37);  // 37 x 3 bytes leave 1 byte of padding per row
  EXPECT_EQ(jpeg.height, 24);
  EXPECT_FALSE(jpeg.progressive);
  auto at = [&](int x, int y) { return jpeg.rgb.data() + (y * 37 + x) * 3; };
  EXPECT_GT(at(10, 0)[0], 200);  // red on top
  EXPECT_LT(at(10, 0)[2], 50);
  EXPECT_GT(at(10, 23)[2], 200);  // blue at the bottom
  EXPECT_LT(at(10, 23)[0], 50);
  EXPECT_GT(at(36, 5)[1], 150);  // the right edge is the picture's, not the padding's
  EXPECT_TRUE(host_.Messages().empty());
}

TEST_F(JpegWriterTest, ProgressiveRequestWritesAProgressiveFile) {
  const auto dib = MakeBitmap24(64, 48, [](int x, int y) { return Halves(x, y, 64, 48); });
  ASSERT_EQ(xt::WriteJpegFile(dib, Path("p.jpg"), true), xt::kJpegWritten);
  const DecodedJpeg jpeg = DecodeWithLibjpeg(Path("p.jpg"));
  EXPECT_TRUE(jpeg.progressive);
  EXPECT_EQ(jpeg.width, 64);
  EXPECT_GT(jpeg.rgb[0], 200);
}

TEST_F(JpegWriterTest, UnwritablePlaceReturnsOneWithoutMessage) {
  const auto dib = MakeBitmap24(4, 4, [](int, int) { return Rgb{1, 2, 3}; });
  EXPECT_EQ(xt::WriteJpegFile(dib, Path("missing/a.jpg"), false), xt::kJpegCannotOpen);
  EXPECT_TRUE(host_.Messages().empty());
}

TEST_F(JpegWriterTest, LibraryErrorIsShownReturnedAndLeavesNoFile) {
  // Wider than a JPEG can be: libjpeg stops when compression starts.
  const auto dib = MakeBitmap24(70000, 1, [](int, int) { return Rgb{1, 2, 3}; });
  EXPECT_EQ(xt::WriteJpegFile(dib, Path("wide.jpg"), false), JERR_IMAGE_TOO_BIG);
  ASSERT_EQ(host_.Messages().size(), 1u);
  EXPECT_NE(host_.Messages()[0].text.find("65500"), std::string::npos);
  EXPECT_FALSE(std::filesystem::exists(Path("wide.jpg")));
  // The next picture is written as usual after the jump back.
  const auto small = MakeBitmap24(8, 8, [](int, int) { return Rgb{9, 9, 9}; });
  EXPECT_EQ(xt::WriteJpegFile(small, Path("ok.jpg"), false), xt::kJpegWritten);
}

TEST_F(JpegWriterTest, OnlyTrueColourBitmapsAreWritten) {
  const auto dib = picture_test::MakeBitmap8(4, 4, {}, 0, [](int, int) { return 0; });
  EXPECT_EQ(xt::WriteJpegFile(dib, Path("i.jpg"), false), JERR_BAD_IN_COLORSPACE);
  EXPECT_FALSE(std::filesystem::exists(Path("i.jpg")));
}

}  // namespace
