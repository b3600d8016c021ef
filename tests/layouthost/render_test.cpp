#include <gtest/gtest.h>

#include <filesystem>

#include <QColor>
#include <QImage>

#include "layouthost/document/layout_document_json.h"
#include "layouthost/host/box_renderer.h"
#include "layouthost/host/layout_host.h"
#include "layouthost/host/packed_bitmap.h"
#include "layouthost/host/served_tables.h"
#include "qt_application.h"

namespace layouthost {
namespace {

std::uint32_t Read32(const std::vector<std::uint8_t>& bytes, std::size_t at) {
  return bytes[at] | bytes[at + 1] << 8 | bytes[at + 2] << 16 |
         static_cast<std::uint32_t>(bytes[at + 3]) << 24;
}

// The colour at (x, y) counted from the top left of a packed bottom-up bitmap.
QColor PixelAt(const std::vector<std::uint8_t>& bitmap, int x, int y) {
  const int width = static_cast<int>(Read32(bitmap, 4));
  const int height = static_cast<int>(Read32(bitmap, 8));
  const std::size_t at = kBitmapHeaderSize + (height - 1 - y) * PackedRowStride(width) +
                         3 * static_cast<std::size_t>(x);
  return QColor(bitmap[at + 2], bitmap[at + 1], bitmap[at]);
}

TEST(PackedBitmapTest, HeaderAndBottomUpBgrRows) {
  const std::uint8_t rgb[] = {1, 2, 3, 4,  5,  6,  // top row
                              7, 8, 9, 10, 11, 12};
  const auto bitmap = PackBitmap24(2, 2, rgb, 6);
  ASSERT_EQ(bitmap.size(), 40u + 2 * 8);
  EXPECT_EQ(Read32(bitmap, 0), 40u);
  EXPECT_EQ(Read32(bitmap, 4), 2u);
  EXPECT_EQ(Read32(bitmap, 8), 2u);
  EXPECT_EQ(bitmap[12] | bitmap[13] << 8, 1);
  EXPECT_EQ(bitmap[14] | bitmap[15] << 8, 24);
  EXPECT_EQ(Read32(bitmap, 16), 0u);
  EXPECT_EQ(Read32(bitmap, 20), 16u);
  const std::vector<std::uint8_t> rows(bitmap.begin() + 40, bitmap.end());
  EXPECT_EQ(rows, (std::vector<std::uint8_t>{9, 8, 7, 12, 11, 10, 0, 0,  // bottom row first
                                             3, 2, 1, 6, 5, 4, 0, 0}));
}

class RenderTest : public testing::Test {
 protected:
  void SetUp() override {
    test::EnsureGuiApplication();
    folder_ =
        std::filesystem::temp_directory_path() / ("layouthost_render_" + std::to_string(getpid()));
    std::filesystem::create_directories(folder_);
    // 20 x 10 pixels: left half red, right half blue.
    QImage image(20, 10, QImage::Format_RGB888);
    image.fill(Qt::red);
    for (int y = 0; y < 10; ++y) {
      for (int x = 10; x < 20; ++x)
        image.setPixelColor(x, y, Qt::blue);
    }
    ASSERT_TRUE(image.save(QString::fromStdString((folder_ / "two.png").string())));
    ASSERT_TRUE(image.save(QString::fromStdString((folder_ / "two.bmp").string())));
    auto loaded = layout::ParseDocument(R"({
      "fonts": [{"id": 1, "name": "DejaVu Sans"}],
      "colors": [{"index": 1, "name": "Black", "rgb": [0, 0, 0]},
                 {"index": 2, "name": "Green", "rgb": [0, 65535, 0]}],
      "stories": [{"id": 1, "runs": [{"text": "MMMM MMMM\rMMMM", "font": 1, "size": 20}]}],
      "pages": [{"boxes": [
        {"id": 1, "kind": "picture", "bounds": [100, 100, 140, 160], "background": 2,
         "picture": {"file": "two.png", "offset": [10, 5], "scale": [2, 2]}},
        {"id": 2, "kind": "picture", "bounds": [0, 0, 30, 30],
         "picture": {"file": "two.bmp", "offset": [-10, 0]}},
        {"id": 3, "kind": "text", "bounds": [0, 0, 60, 200], "story": 1, "background": 2},
        {"id": 4, "kind": "text", "bounds": [0, 0, 30, 200], "story": 1, "columns": 2,
         "gutter": 20}
      ]}]})");
    ASSERT_TRUE(loaded.document) << loaded.error;
    document_ = *loaded.document;
  }
  void TearDown() override { std::filesystem::remove_all(folder_); }

  std::vector<std::uint8_t> Render(int id, double scale, int width, int height) {
    return RenderBox(document_, folder_.string(), *document_.FindBox(id), scale, width, height);
  }

  std::filesystem::path folder_;
  layout::Document document_;
};

TEST_F(RenderTest, PictureBoxAtOffsetAndScaleOnItsBackground) {
  const auto bitmap = Render(1, 1.0, 60, 40);
  ASSERT_FALSE(bitmap.empty());
  EXPECT_EQ(PixelAt(bitmap, 2, 2), QColor(0, 255, 0));    // background, left of the picture
  EXPECT_EQ(PixelAt(bitmap, 15, 10), QColor(255, 0, 0));  // picture's red half, doubled
  EXPECT_EQ(PixelAt(bitmap, 45, 20), QColor(0, 0, 255));  // blue half ends at 10 + 40
  EXPECT_EQ(PixelAt(bitmap, 52, 20), QColor(0, 255, 0));
  EXPECT_EQ(PixelAt(bitmap, 15, 30), QColor(0, 255, 0));  // below it: 5 + 20
}

TEST_F(RenderTest, ScaleShrinksEverything) {
  const auto bitmap = Render(1, 0.5, 30, 20);
  ASSERT_EQ(Read32(bitmap, 4), 30u);
  EXPECT_EQ(PixelAt(bitmap, 1, 1), QColor(0, 255, 0));
  EXPECT_EQ(PixelAt(bitmap, 8, 5), QColor(255, 0, 0));
  EXPECT_EQ(PixelAt(bitmap, 22, 5), QColor(0, 0, 255));
}

TEST_F(RenderTest, PictureIsClippedToTheBoxOnWhiteWithoutBackground) {
  const auto bitmap = Render(2, 1.0, 30, 30);
  EXPECT_EQ(PixelAt(bitmap, 0, 0), QColor(0, 0, 255));  // the red half lies left of the box
  EXPECT_EQ(PixelAt(bitmap, 9, 9), QColor(0, 0, 255));
  EXPECT_EQ(PixelAt(bitmap, 12, 5), QColor(255, 255, 255));
  EXPECT_EQ(PixelAt(bitmap, 5, 15), QColor(255, 255, 255));
}

TEST_F(RenderTest, TextBoxShowsDarkTextOnItsBackground) {
  const auto bitmap = Render(3, 1.0, 200, 60);
  ASSERT_FALSE(bitmap.empty());
  auto dark_in = [&](int top, int bottom, int left, int right) {
    int count = 0;
    for (int y = top; y < bottom; ++y) {
      for (int x = left; x < right; ++x)
        count += PixelAt(bitmap, x, y).lightness() < 60;
    }
    return count;
  };
  EXPECT_GT(dark_in(0, 25, 0, 60), 50);    // first line, first word
  EXPECT_GT(dark_in(25, 50, 0, 60), 50);   // second paragraph on its own line
  EXPECT_EQ(dark_in(25, 50, 70, 200), 0);  // nothing right of "MMMM" on that line
  EXPECT_EQ(dark_in(0, 60, 150, 200), 0);
  EXPECT_EQ(PixelAt(bitmap, 190, 55), QColor(0, 255, 0));
}

TEST_F(RenderTest, TextFlowsIntoTheNextColumn) {
  // Two columns of 90 points, 20 apart; one 20-point line fits a 30-point column.
  const auto bitmap = Render(4, 1.0, 200, 30);
  auto dark_in = [&](int left, int right) {
    int count = 0;
    for (int y = 0; y < 30; ++y) {
      for (int x = left; x < right; ++x)
        count += PixelAt(bitmap, x, y).lightness() < 60;
    }
    return count;
  };
  EXPECT_GT(dark_in(0, 90), 50);
  EXPECT_EQ(dark_in(90, 110), 0);  // the gutter
  EXPECT_GT(dark_in(110, 200), 50);
}

TEST_F(RenderTest, UndrawableSizesGiveNothing) {
  EXPECT_TRUE(Render(1, 1.0, 0, 10).empty());
  EXPECT_TRUE(Render(1, 1.0, 10, -1).empty());
  EXPECT_TRUE(Render(1, 0.0, 10, 10).empty());
  EXPECT_TRUE(Render(1, 1.0, kMaxRenderSide + 1, 10).empty());
}

TEST_F(RenderTest, PictureTableRendersIntoAHandleAndNamesTheImportedFile) {
  LayoutHost host(document_, folder_.string());
  const XtPictureTable picture = PictureTable();
  const XtShortRect pixels{0, 0, 20, 30};
  const XtFixedRect bounds{};
  XtHandle handle = picture.render_box(1, &bounds, 0x8000, &pixels, XT_RENDER_A, XT_RENDER_B, 0, 0);
  ASSERT_NE(handle, nullptr);
  const auto& bytes = handle->bytes;
  EXPECT_EQ(Read32(bytes, 4), 30u);
  EXPECT_EQ(Read32(bytes, 8), 20u);
  EXPECT_EQ(PixelAt(bytes, 8, 5), QColor(255, 0, 0));
  MemoryTable().dispose_handle(handle);
  EXPECT_EQ(host.handles().live_count(), 0u);

  char name[16];
  EXPECT_EQ(picture.imported_file_name(1, name, sizeof name), 7);
  EXPECT_STREQ(name, "two.png");
  EXPECT_EQ(picture.imported_file_name(3, name, sizeof name), 0);
  EXPECT_STREQ(name, "");
}

}  // namespace
}  // namespace layouthost
