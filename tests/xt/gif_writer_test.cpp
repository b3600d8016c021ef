#include "xt/picture/gif_writer.h"

#include <gtest/gtest.h>

#include <random>

#include "tests/xt/picture_support.h"
#include "xt/picture/convert_dib_depth.h"
#include "xt/picture/lzw_coder.h"
#include "xt/picture/reduce_colors.h"

namespace {

using picture_test::DecodeWithGiflib;
using picture_test::MakeBitmap24;
using picture_test::MakeBitmap8;
using picture_test::Rgb;

const std::vector<Rgb> kGrey16 = [] {
  std::vector<Rgb> c;
  for (int i = 0; i < 16; ++i)
    c.push_back({std::uint8_t(i * 17), std::uint8_t(i * 17), std::uint8_t(i * 17)});
  return c;
}();

// A smooth picture with noise, like a photograph: many colours, few exact repeats.
xt::PackedBitmap Photo(int width, int height, unsigned seed = 7) {
  std::mt19937 random(seed);
  std::uniform_int_distribution<int> noise(-12, 12);
  auto clamp = [](int v) { return static_cast<std::uint8_t>(std::clamp(v, 0, 255)); };
  return MakeBitmap24(width, height, [&](int x, int y) {
    return Rgb{clamp(255 * x / width + noise(random)), clamp(255 * y / height + noise(random)),
               clamp(128 + noise(random) * 4)};
  });
}

// The indices of an 8-bit bitmap, top row first.
std::vector<std::uint8_t> TopDownIndices(const xt::PackedBitmap& dib) {
  const auto view = xt::ViewBitmap(dib);
  std::vector<std::uint8_t> out;
  for (int y = 0; y < view->height; ++y)
    out.insert(out.end(), view->TopRow(y), view->TopRow(y) + view->width);
  return out;
}

// Where the image's LZW data starts (its minimum code size byte) in a file we wrote.
std::size_t ImageDataOffset(const std::vector<std::uint8_t>& gif) {
  const int depth = (gif[10] & 7) + 1;
  std::size_t pos = 13 + 3 * (std::size_t{1} << depth);
  if (gif[pos] == 0x21) pos += 8;
  return pos + 10;
}

// Walks the codes of the image data as a decoder would, counting clear codes after the first
// and checking that the code after each of them is read at the initial width.
struct CodeScan {
  int clears_after_start = 0;
  bool ended_with_end_code = false;
  bool widths_restart = true;
};

CodeScan ScanCodes(const std::vector<std::uint8_t>& gif) {
  std::size_t pos = ImageDataOffset(gif);
  const int min_size = gif[pos++];
  std::vector<std::uint8_t> data;
  while (gif[pos] != 0) {
    data.insert(data.end(), gif.begin() + pos + 1, gif.begin() + pos + 1 + gif[pos]);
    pos += gif[pos] + 1;
  }
  CodeScan scan;
  const int clear = 1 << min_size;
  int width = min_size + 1, next = clear + 2, codes = 0;
  bool first_after_clear = true;
  std::size_t bit = 0;
  while (bit + width <= data.size() * 8) {
    int code = 0;
    for (int i = 0; i < width; ++i, ++bit)
      code |= ((data[bit / 8] >> (bit % 8)) & 1) << i;
    ++codes;
    if (code == clear) {
      if (codes > 1) ++scan.clears_after_start;
      width = min_size + 1;
      next = clear + 2;
      first_after_clear = true;
      continue;
    }
    if (code == clear + 1) {
      // Only the padding of the last byte may follow.
      scan.ended_with_end_code = data.size() * 8 - bit < 8;
      return scan;
    }
    if (code > next) scan.widths_restart = false;
    if (!first_after_clear && next < 4096 && ++next == (1 << width) && width < 12) ++width;
    first_after_clear = false;
  }
  return scan;
}

TEST(GifWriter, TinyTwoColourFileIsByteExact) {
  const auto dib = MakeBitmap8(1, 1, {{0, 0, 0}, {255, 255, 255}}, 2, [](int, int) { return 0; });
  const auto gif = xt::EncodeGif(dib, false, true);
  ASSERT_TRUE(gif);
  const std::vector<std::uint8_t> expected = {
      'G',  'I',  'F',  '8', '9', 'a', 1, 0, 1, 0, 0x80, 0, 0,  // screen: depth 1
      0,    0,    0,    255, 255, 255,                          // two colours
      0x21, 0xF9, 4,    1,   0,   0,   0, 0,                    // transparent index 0
      0x2C, 0,    0,    0,   0,   1,   0, 1, 0, 0,              // image descriptor
      2,                                                        // minimum code size
      2,    0x44, 0x01,  // clear (4), pixel 0, end (5) at 3 bits: 100 000 101
      0,    0x3B};
  EXPECT_EQ(*gif, expected);
}

TEST(GifWriter, ColourCountSetsDepthTableAndCodeSize) {
  struct Case {
    std::uint32_t clr_used;
    int packed;
    int table_entries;
    int code_size;
  };
  for (const Case& c : {Case{2, 0x80, 2, 2}, Case{3, 0xE3, 16, 4}, Case{16, 0xE3, 16, 4},
                        Case{17, 0xE7, 256, 8}, Case{0, 0xE7, 256, 8}, Case{1, 0x80, 2, 2}}) {
    SCOPED_TRACE(c.clr_used);
    const auto dib = MakeBitmap8(5, 3, kGrey16, c.clr_used, [](int x, int) { return x % 2; });
    const auto gif = xt::EncodeGif(dib, false, false);
    ASSERT_TRUE(gif);
    EXPECT_EQ((*gif)[10], c.packed);
    EXPECT_EQ((*gif)[13 + 3 * c.table_entries], 0x2C);
    EXPECT_EQ((*gif)[13 + 3 * c.table_entries + 10], c.code_size);
    const auto decoded = DecodeWithGiflib(*gif);
    ASSERT_TRUE(decoded);
    ASSERT_EQ(decoded->colors.size(), static_cast<std::size_t>(c.table_entries));
    const std::uint32_t used = c.clr_used == 0 ? 256 : c.clr_used;
    for (std::size_t i = 0; i < decoded->colors.size(); ++i)
      EXPECT_EQ(decoded->colors[i], i < used && i < 16 ? kGrey16[i] : Rgb{}) << i;
    EXPECT_EQ(decoded->indices, TopDownIndices(dib));
  }
}

TEST(GifWriter, TrueColourPictureGivesFullTableWithUnusedEntriesBlack) {
  const Rgb colours[3] = {{200, 16, 40}, {8, 120, 248}, {96, 224, 24}};
  const auto dib = MakeBitmap24(30, 20, [&](int x, int y) { return colours[(x / 10 + y) % 3]; });
  const auto gif = xt::EncodeGif(dib, false, false);
  ASSERT_TRUE(gif);
  EXPECT_EQ((*gif)[10], 0xE7);
  const auto decoded = DecodeWithGiflib(*gif);
  ASSERT_TRUE(decoded);
  ASSERT_EQ(decoded->colors.size(), 256u);
  int non_black = 0;
  for (const Rgb& c : decoded->colors)
    non_black += !(c == Rgb{});
  EXPECT_EQ(non_black, 3);
  // Median cut lands on the centre of the histogram cell of each colour.
  for (int y = 0; y < 20; ++y) {
    for (int x = 0; x < 30; ++x) {
      const Rgb want = colours[(x / 10 + y) % 3];
      const Rgb got = decoded->colors[decoded->indices[y * 30 + x]];
      EXPECT_NEAR(got.r, want.r, 4);
      EXPECT_NEAR(got.g, want.g, 2);
      EXPECT_NEAR(got.b, want.b, 4);
    }
  }
}

TEST(GifWriter, GiflibReadsBackTheReducedBitmapInEveryMode) {
  const auto photo = Photo(97, 61);
  const auto reduced = xt::ReduceColors(photo);
  ASSERT_TRUE(reduced);
  for (bool interlaced : {false, true}) {
    for (bool transparent : {false, true}) {
      SCOPED_TRACE(testing::Message() << interlaced << transparent);
      const auto gif = xt::EncodeGif(photo, interlaced, transparent);
      ASSERT_TRUE(gif);
      const auto decoded = DecodeWithGiflib(*gif);
      ASSERT_TRUE(decoded);
      EXPECT_EQ(decoded->width, 97);
      EXPECT_EQ(decoded->height, 61);
      EXPECT_EQ(decoded->interlaced, interlaced);
      EXPECT_EQ(decoded->indices, TopDownIndices(*reduced));
      for (std::size_t i = 0; i < 256; ++i)
        EXPECT_EQ(decoded->colors[i], picture_test::TableColor(*reduced, i));
      // The bottom-left pixel's colour is the transparent one.
      EXPECT_EQ(decoded->transparent, transparent ? decoded->indices[60 * 97] : -1);
    }
  }
}

TEST(GifWriter, FullTableSendsClearCodesAndRestartsTheWidth) {
  std::mt19937 random(11);
  std::vector<std::uint8_t> noise(200 * 150);
  for (auto& n : noise)
    n = static_cast<std::uint8_t>(random());
  const auto dib = MakeBitmap8(200, 150, {}, 0, [&](int x, int y) { return noise[y * 200 + x]; });
  for (bool interlaced : {false, true}) {
    const auto gif = xt::EncodeGif(dib, interlaced, false);
    ASSERT_TRUE(gif);
    const CodeScan scan = ScanCodes(*gif);
    EXPECT_GE(scan.clears_after_start, 5);
    EXPECT_TRUE(scan.widths_restart);
    EXPECT_TRUE(scan.ended_with_end_code);
    const auto decoded = DecodeWithGiflib(*gif);
    ASSERT_TRUE(decoded);
    EXPECT_EQ(decoded->indices, noise);
  }
}

TEST(GifWriter, EverySubBlockButTheLastIsFull) {
  const auto gif = xt::EncodeGif(Photo(64, 64), false, false);
  ASSERT_TRUE(gif);
  std::size_t pos = ImageDataOffset(*gif) + 1;
  std::vector<int> sizes;
  while ((*gif)[pos] != 0) {
    sizes.push_back((*gif)[pos]);
    pos += (*gif)[pos] + 1;
  }
  ASSERT_GT(sizes.size(), 2u);
  for (std::size_t i = 0; i + 1 < sizes.size(); ++i)
    EXPECT_EQ(sizes[i], 255);
  EXPECT_EQ(pos + 2, gif->size());
  EXPECT_EQ(gif->back(), 0x3B);
}

TEST(GifWriter, InterlacedRowOrder) {
  EXPECT_EQ(xt::GifRowOrder(3, true), (std::vector<int>{0, 2, 1}));
  EXPECT_EQ(xt::GifRowOrder(1, true), (std::vector<int>{0}));
  EXPECT_EQ(xt::GifRowOrder(10, true), (std::vector<int>{0, 8, 4, 2, 6, 1, 3, 5, 7, 9}));
  EXPECT_EQ(xt::GifRowOrder(3, false), (std::vector<int>{0, 1, 2}));
  for (int height = 1; height <= 12; ++height) {
    const auto dib =
        MakeBitmap8(3, height, kGrey16, 16, [](int x, int y) { return (x + 3 * y) % 16; });
    const auto decoded = DecodeWithGiflib(*xt::EncodeGif(dib, true, false));
    ASSERT_TRUE(decoded);
    EXPECT_EQ(decoded->indices, TopDownIndices(dib)) << height;
  }
}

TEST(GifWriter, IndicesBeyondASmallTableAreWrittenAsZero) {
  const auto dib = MakeBitmap8(4, 1, {{0, 0, 0}, {9, 9, 9}}, 2, [](int x, int) { return x * 60; });
  const auto decoded = DecodeWithGiflib(*xt::EncodeGif(dib, false, false));
  ASSERT_TRUE(decoded);
  EXPECT_EQ(decoded->indices, (std::vector<std::uint8_t>{0, 0, 0, 0}));
}

TEST(GifWriter, RefusesWhatIsNoPackedBitmap) {
  EXPECT_FALSE(xt::EncodeGif(std::vector<std::uint8_t>(20, 0), false, false));
  auto dib = Photo(4, 4);
  dib.resize(dib.size() - 1);  // one byte of the last row missing
  EXPECT_FALSE(xt::EncodeGif(dib, false, false));
  EXPECT_FALSE(
      xt::EncodeGif(MakeBitmap8(70000, 1, {}, 0, [](int, int) { return 0; }), false, false));
}

TEST(GifWriter, BitmapWithColourTableIsMappedNotQuantized) {
  // A 4-bit bitmap: its 16 colours stay as they are.
  xt::BitmapInfoHeader header;
  header.width = 5;
  header.height = 2;
  header.bit_count = 4;
  auto dib = xt::NewPackedBitmap(header, 16);
  for (int i = 0; i < 16; ++i)
    std::memset(dib.data() + 40 + 4 * i, i * 16, 3);
  std::uint8_t* bits = dib.data() + 40 + 64;
  bits[0] = 0x12, bits[1] = 0x34, bits[2] = 0x50;  // bottom row 1 2 3 4 5
  bits[4] = 0xFE, bits[5] = 0xDC, bits[6] = 0xB0;  // top row 15 14 13 12 11
  const auto decoded = DecodeWithGiflib(*xt::EncodeGif(dib, false, false));
  ASSERT_TRUE(decoded);
  EXPECT_EQ(decoded->colors.size(), 16u);
  EXPECT_EQ(decoded->indices, (std::vector<std::uint8_t>{15, 14, 13, 12, 11, 1, 2, 3, 4, 5}));
}

TEST(ConvertDibDepth, AcceptsOnlyUncompressedKnownDepthsOfTabledBitmaps) {
  const auto indexed = MakeBitmap8(3, 2, kGrey16, 16, [](int x, int y) { return x + 3 * y; });
  EXPECT_FALSE(xt::ConvertDibDepth(Photo(3, 2), 8, 0));  // no colour table
  EXPECT_FALSE(xt::ConvertDibDepth(indexed, 8, 1));
  EXPECT_FALSE(xt::ConvertDibDepth(indexed, 16, 0));
  EXPECT_FALSE(xt::ConvertDibDepth(indexed, 2, 0));

  const auto same = xt::ConvertDibDepth(indexed, xt::kKeepDepth, 0);
  ASSERT_TRUE(same);
  EXPECT_EQ(TopDownIndices(*same), TopDownIndices(indexed));

  const auto four = xt::ConvertDibDepth(indexed, 4, 0);
  ASSERT_TRUE(four);
  const auto view = xt::ViewBitmap(*four);
  ASSERT_TRUE(view);
  EXPECT_EQ(view->bit_count, 4);
  EXPECT_EQ(view->TopRow(0)[0], 0x01);
  EXPECT_EQ(view->TopRow(1)[1], 0x50);

  const auto one = xt::ConvertDibDepth(indexed, 1, 0);  // two entries: black and 17-grey
  ASSERT_TRUE(one);
  EXPECT_EQ(xt::ViewBitmap(*one)->TopRow(0)[0], 0x60);  // 0, 1, and 34 is nearest to 17

  const auto deep = xt::ConvertDibDepth(indexed, 24, 0);
  ASSERT_TRUE(deep);
  const std::uint8_t* row = xt::ViewBitmap(*deep)->TopRow(1);
  EXPECT_EQ(row[0], 3 * 17);
  EXPECT_EQ(row[8], 5 * 17);
}

TEST(ReduceColors, HeaderClaimsTheRequestedCountAndRowsArePadded) {
  const auto reduced = xt::ReduceColors(Photo(13, 7));
  ASSERT_TRUE(reduced);
  const auto view = xt::ViewBitmap(*reduced);
  ASSERT_TRUE(view);
  EXPECT_EQ(view->bit_count, 8);
  EXPECT_EQ(view->header.clr_used, 256u);
  EXPECT_EQ(view->header.size_image, 16u * 7);
  EXPECT_EQ(reduced->size(), 40u + 1024 + 16 * 7);
  EXPECT_FALSE(xt::ReduceColors(MakeBitmap8(2, 2, {}, 0, [](int, int) { return 0; })));
}

TEST(LzwCoder, EmptyInputGivesOnlyTheEndCode) {
  std::vector<std::uint8_t> out;
  xt::LzwCoder coder(2, out);
  coder.Finish();
  EXPECT_EQ(out, (std::vector<std::uint8_t>{1, 5}));
}

}  // namespace
