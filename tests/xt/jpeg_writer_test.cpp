#include "xt/picture/jpeg_writer.h"

#include <gtest/gtest.h>
#include <jerror.h>
#include <jpeglib.h>

#include <cstdio>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "tests/xt/picture_support.h"
#include "xt/picture/bitmap_files.h"
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

  picture_test::CapturedJpegMessages messages_;
  std::filesystem::path folder_;
};

// Top half red, bottom half blue, a green right edge.
Rgb Halves(int x, int y, int width, int height) {
  if (x == width - 1) return {0, 255, 0};
  return y < height / 2 ? Rgb{255, 0, 0} : Rgb{0, 0, 255};
}

TEST_F(JpegWriterTest, BaselineFileHasTheSizeAndStartsWithTheTopRow) {
  const auto dib = MakeBitmap24(37, 24, [](int x, int y) { return Halves(x, y, 37, 24); });
  ASSERT_TRUE(xt::WriteJpegFile(dib, Path("a.jpg"), false).ok());
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
  EXPECT_TRUE(messages_.texts().empty());
}

TEST_F(JpegWriterTest, ProgressiveRequestWritesAProgressiveFile) {
  const auto dib = MakeBitmap24(64, 48, [](int x, int y) { return Halves(x, y, 64, 48); });
  ASSERT_TRUE(xt::WriteJpegFile(dib, Path("p.jpg"), true).ok());
  const DecodedJpeg jpeg = DecodeWithLibjpeg(Path("p.jpg"));
  EXPECT_TRUE(jpeg.progressive);
  EXPECT_EQ(jpeg.width, 64);
  EXPECT_GT(jpeg.rgb[0], 200);
}

TEST_F(JpegWriterTest, UnwritablePlaceIsAFileFailureWithoutMessage) {
  const auto dib = MakeBitmap24(4, 4, [](int, int) { return Rgb{1, 2, 3}; });
  const xt::JpegResult result = xt::WriteJpegFile(dib, Path("missing/a.jpg"), false);
  EXPECT_FALSE(result.ok());
  EXPECT_EQ(result.libjpeg_code, 0);  // kept apart from libjpeg's codes
  EXPECT_EQ(result.file.path(), Path("missing/a.jpg"));
  EXPECT_EQ(result.file.system_error(), ENOENT);
  EXPECT_TRUE(messages_.texts().empty());
}

TEST_F(JpegWriterTest, AFailedPictureLeavesTheOldFile) {
  const auto good = MakeBitmap24(8, 8, [](int, int) { return Rgb{9, 9, 9}; });
  ASSERT_TRUE(xt::WriteJpegFile(good, Path("a.jpg"), false).ok());
  const auto before = std::filesystem::file_size(Path("a.jpg"));
  const auto dib = MakeBitmap24(70000, 1, [](int, int) { return Rgb{1, 2, 3}; });
  EXPECT_EQ(xt::WriteJpegFile(dib, Path("a.jpg"), false).libjpeg_code, JERR_IMAGE_TOO_BIG);
  EXPECT_EQ(std::filesystem::file_size(Path("a.jpg")), before);
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder_),
                          std::filesystem::directory_iterator()),
            1);
}

TEST_F(JpegWriterTest, LibraryErrorIsShownReturnedAndLeavesNoFile) {
  // Wider than a JPEG can be: libjpeg stops when compression starts.
  const auto dib = MakeBitmap24(70000, 1, [](int, int) { return Rgb{1, 2, 3}; });
  const xt::JpegResult wide = xt::WriteJpegFile(dib, Path("wide.jpg"), false);
  EXPECT_EQ(wide.libjpeg_code, JERR_IMAGE_TOO_BIG);
  EXPECT_TRUE(wide.file.ok());
  ASSERT_EQ(messages_.texts().size(), 1u);
  EXPECT_NE(messages_.texts()[0].find("65500"), std::string::npos);
  EXPECT_FALSE(std::filesystem::exists(Path("wide.jpg")));
  // The next picture is written as usual after the jump back.
  const auto small = MakeBitmap24(8, 8, [](int, int) { return Rgb{9, 9, 9}; });
  EXPECT_TRUE(xt::WriteJpegFile(small, Path("ok.jpg"), false).ok());
}

TEST_F(JpegWriterTest, OnlyTrueColourBitmapsAreWritten) {
  const auto dib = picture_test::MakeBitmap8(4, 4, {}, 0, [](int, int) { return 0; });
  EXPECT_EQ(xt::WriteJpegFile(dib, Path("i.jpg"), false).libjpeg_code, JERR_BAD_IN_COLORSPACE);
  EXPECT_FALSE(std::filesystem::exists(Path("i.jpg")));
}

// A binary PPM of the picture, top row first, red-green-blue.
std::vector<std::uint8_t> PpmBytes(int width, int height,
                                   const std::function<Rgb(int, int)>& pixel) {
  const std::string head =
      "P6\n" + std::to_string(width) + " " + std::to_string(height) + "\n255\n";
  std::vector<std::uint8_t> ppm(head.begin(), head.end());
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      const Rgb c = pixel(x, y);
      ppm.insert(ppm.end(), {c.r, c.g, c.b});
    }
  }
  return ppm;
}

Rgb Gradient(int x, int y) {
  return {static_cast<std::uint8_t>(x * 3), static_cast<std::uint8_t>(y * 5),
          static_cast<std::uint8_t>(x ^ y)};
}

TEST_F(JpegWriterTest, RowsStraightFromAPpmGiveTheBytesOfTheLoadedBitmap) {
  // 45 x 40 rows, so that read-ahead blocks and MCU rows do not line up with the picture.
  constexpr int kWidth = 45;
  constexpr int kHeight = 40;
  ASSERT_TRUE(xt::WriteWholeFile(Path("a.ppm"), PpmBytes(kWidth, kHeight, Gradient)).ok());
  const auto bitmap = xt::LoadPicture(Path("a.ppm"));
  ASSERT_TRUE(bitmap);
  for (const bool progressive : {false, true}) {
    SCOPED_TRACE(progressive);
    ASSERT_TRUE(xt::WriteJpegFile(*bitmap, Path("from-bitmap.jpg"), progressive).ok());
    xt::PpmReader ppm;
    ASSERT_TRUE(ppm.Open(Path("a.ppm")));
    EXPECT_EQ(ppm.width(), kWidth);
    EXPECT_EQ(ppm.height(), kHeight);
    int rows = 0;
    const xt::JpegRowSource next_row = [&] {
      ++rows;
      return ppm.NextRow();
    };
    ASSERT_TRUE(xt::WriteJpegRows(kWidth, kHeight, xt::JpegPixelOrder::kRedGreenBlue, next_row,
                                  Path("from-rows.jpg"), progressive)
                    .ok());
    EXPECT_EQ(rows, kHeight);
    EXPECT_EQ(ppm.NextRow(), nullptr);
    const auto expected = xt::ReadWholeFile(Path("from-bitmap.jpg"));
    const auto written = xt::ReadWholeFile(Path("from-rows.jpg"));
    ASSERT_TRUE(expected && written);
    EXPECT_EQ(*written, *expected);
  }
}

TEST_F(JpegWriterTest, SourceThatRunsDryStopsAndLeavesNoFile) {
  const std::vector<std::uint8_t> row(3 * 16, 200);
  int left = 5;
  const xt::JpegRowSource next_row = [&]() -> const std::uint8_t* {
    return left-- > 0 ? row.data() : nullptr;
  };
  EXPECT_EQ(
      xt::WriteJpegRows(16, 16, xt::JpegPixelOrder::kRedGreenBlue, next_row, Path("dry.jpg"), false)
          .libjpeg_code,
      JERR_INPUT_EOF);
  EXPECT_FALSE(std::filesystem::exists(Path("dry.jpg")));
}

TEST_F(JpegWriterTest, PpmReaderGivesRowsTopFirstAndRefusesShortFiles) {
  auto ppm_bytes = PpmBytes(3, 2, Gradient);
  ASSERT_TRUE(xt::WriteWholeFile(Path("a.ppm"), ppm_bytes).ok());
  xt::PpmReader reader;
  ASSERT_TRUE(reader.Open(Path("a.ppm")));
  EXPECT_EQ(reader.row_bytes(), 9u);
  std::vector<std::uint8_t> row(reader.row_bytes());
  ASSERT_TRUE(reader.ReadRow(row.data()));
  const Rgb top_right = Gradient(2, 0);
  EXPECT_EQ(std::vector<std::uint8_t>(row.begin() + 6, row.end()),
            (std::vector<std::uint8_t>{top_right.r, top_right.g, top_right.b}));
  ASSERT_TRUE(reader.ReadRow(row.data()));
  EXPECT_EQ(row[1], Gradient(0, 1).g);
  EXPECT_FALSE(reader.ReadRow(row.data()));

  ppm_bytes.pop_back();  // one byte short: refused before any row is read
  ASSERT_TRUE(xt::WriteWholeFile(Path("short.ppm"), ppm_bytes).ok());
  EXPECT_FALSE(reader.Open(Path("short.ppm")));
  EXPECT_EQ(reader.NextRow(), nullptr);
  const std::string deep = "P6 1 1 65535 " + std::string(6, '\0');
  ASSERT_TRUE(
      xt::WriteWholeFile(Path("deep.ppm"), std::vector<std::uint8_t>(deep.begin(), deep.end()))
          .ok());
  EXPECT_FALSE(reader.Open(Path("deep.ppm")));  // 16-bit samples are not read
  EXPECT_FALSE(reader.Open(Path("missing.ppm")));
}

}  // namespace
