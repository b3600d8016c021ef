// The LZW coder against the classic hash-table coder it replaces: the same bytes for every
// kind of picture, and giflib reads every output back to the indices fed in.
#include "xt/picture/lzw_coder.h"

#include <gtest/gtest.h>

#include <random>

#include "tests/xt/picture_support.h"
#include "tests/xt/reference_lzw_coder.h"
#include "xt/picture/gif_writer.h"
#include "xt/picture/reduce_colors.h"

namespace {

using Pixels = std::vector<std::uint8_t>;

template <typename Coder>
Pixels Encode(const Pixels& pixels, int code_size, std::size_t row) {
  Pixels out;
  Coder coder(code_size, out);
  for (std::size_t i = 0; i < pixels.size(); i += row)
    coder.Add(pixels.data() + i, std::min(row, pixels.size() - i));
  coder.Finish();
  return out;
}

// A one-row GIF around LZW data, for giflib to read back.
Pixels WrapAsGif(const Pixels& lzw, int code_size, std::size_t width) {
  Pixels g = {'G',
              'I',
              'F',
              '8',
              '9',
              'a',
              std::uint8_t(width),
              std::uint8_t(width >> 8),
              1,
              0,
              static_cast<std::uint8_t>(0x80 | (code_size - 1)),
              0,
              0};
  g.resize(g.size() + 3 * (std::size_t{1} << code_size), 0);
  g.insert(g.end(), {0x2C, 0, 0, 0, 0, std::uint8_t(width), std::uint8_t(width >> 8), 1, 0, 0,
                     std::uint8_t(code_size)});
  g.insert(g.end(), lzw.begin(), lzw.end());
  g.insert(g.end(), {0, 0x3B});
  return g;
}

void ExpectSameAsClassic(const Pixels& pixels, int code_size, const std::string& name) {
  SCOPED_TRACE(name);
  for (std::size_t row : {std::size_t{1}, std::size_t{7}, std::size_t{1000}, pixels.size() + 1}) {
    const Pixels ours = Encode<xt::LzwCoder>(pixels, code_size, row);
    ASSERT_EQ(ours, Encode<picture_test::ReferenceLzwCoder>(pixels, code_size, row)) << row;
  }
  if (pixels.empty() || pixels.size() > 0xFFFF) return;
  const auto decoded = picture_test::DecodeWithGiflib(
      WrapAsGif(Encode<xt::LzwCoder>(pixels, code_size, 64), code_size, pixels.size()));
  ASSERT_TRUE(decoded);
  EXPECT_EQ(decoded->indices, pixels);
}

int TimesClassicForgetsZeroZero(const Pixels& pixels, int code_size) {
  Pixels out;
  picture_test::ReferenceLzwCoder reference(code_size, out);
  reference.Add(pixels.data(), pixels.size());
  return reference.zero_zero_forgotten();
}

Pixels Random(std::size_t n, const Pixels& alphabet, unsigned seed) {
  std::mt19937 random(seed);
  Pixels out(n);
  for (auto& p : out)
    p = alphabet[random() % alphabet.size()];
  return out;
}

// Pixel 16 after 1 takes the classic slot 0, so "0 0" lands on slot 5002. "156 after 5" and
// "157 after 21" share the primary slot 2501, whose probe goes to 5002 next: the classic
// coder stores "157 after 21" over "0 0" and sends "0 0" again as two codes.
const Pixels kForgetsZeroZero = {16, 1, 0, 0, 5, 156, 21, 157, 0, 0};

TEST(LzwCoder, ForgetsTheStringZeroZeroWhereTheClassicCoderDoes) {
  ExpectSameAsClassic(kForgetsZeroZero, 8, "forgets 0 0");
  // Without the string that takes slot 0 first, "0 0" is kept: eleven 9-bit codes instead
  // of twelve, one byte less.
  Pixels kept = kForgetsZeroZero;
  kept[0] = 17;
  ExpectSameAsClassic(kept, 8, "keeps 0 0");
  EXPECT_EQ(Encode<xt::LzwCoder>(kForgetsZeroZero, 8, 64).size(),
            Encode<xt::LzwCoder>(kept, 8, 64).size() + 1);
  Pixels twice = kForgetsZeroZero;
  twice.insert(twice.end(), kForgetsZeroZero.begin(), kForgetsZeroZero.end());
  twice.insert(twice.end(), 300, 0);
  ExpectSameAsClassic(twice, 8, "forgets and learns 0 0 again");
}

// Long stretches of many colours, where the coder runs its steps in batches, broken now and
// then by the pattern above: "0 0" is forgotten in many table generations, in the middle of
// such stretches, and the strings made in a batch must land in the classic layout as if
// placed one by one.
TEST(LzwCoder, FollowsTheClassicLayoutThroughLongStretches) {
  std::mt19937 random(11);
  Pixels pixels;
  int colour = 128;
  while (pixels.size() < 400000) {
    if (random() % 400 == 0) {
      pixels.insert(pixels.end(), kForgetsZeroZero.begin(), kForgetsZeroZero.end());
    } else {
      colour = std::clamp(colour + static_cast<int>(random() % 9) - 4, 1, 255);
      pixels.push_back(static_cast<std::uint8_t>(colour));
    }
  }
  EXPECT_GT(TimesClassicForgetsZeroZero(pixels, 8), 20);
  ExpectSameAsClassic(pixels, 8, "random walk with the pattern");
}

TEST(LzwCoder, MatchesTheClassicCoderOnPixelsRichInZeros) {
  // Few symbols, zeros and the pixels whose strings take the classic slot 0 among them, so
  // that the classic probes often meet key 0.
  const Pixels alphabet = {0, 0, 0, 1, 16, 2, 32, 3, 48, 5, 156, 21, 157};
  for (unsigned seed = 0; seed < 40; ++seed)
    ExpectSameAsClassic(Random(20000 + seed * 997, alphabet, seed), 8, std::to_string(seed));
  const Pixels small = {0, 0, 0, 1, 2, 3};
  for (unsigned seed = 0; seed < 10; ++seed)
    ExpectSameAsClassic(Random(30000, small, seed), 2, "code size 2");
}

TEST(LzwCoder, MatchesTheClassicCoderAtEveryCodeSize) {
  for (int code_size = 2; code_size <= 8; ++code_size) {
    Pixels alphabet;
    for (int p = 0; p < (1 << code_size); ++p)
      alphabet.push_back(static_cast<std::uint8_t>(p));
    ExpectSameAsClassic(Random(60000, alphabet, 3), code_size, "noise");
    ExpectSameAsClassic(Pixels(70000, static_cast<std::uint8_t>(alphabet.back())), code_size,
                        "one colour");
  }
  ExpectSameAsClassic({}, 8, "empty");
  ExpectSameAsClassic({7}, 8, "one pixel");
}

// The coder's table has a row for each pixel value the code size allows; a larger value must
// not reach past it (AddressSanitizer watches this in the sanitizer build). Zero-free
// stretches let the table fill before "0 0" is made, so that the classic coder puts it off
// slot 0 and later forgets it; most zeros come as larger values.
TEST(LzwCoder, DropsPixelBitsAboveTheCodeSize) {
  for (int code_size : {2, 3, 5}) {
    SCOPED_TRACE(code_size);
    std::mt19937 random(static_cast<unsigned>(code_size));
    const unsigned values = 1u << code_size;
    const Pixels zeros = {0, std::uint8_t(values), std::uint8_t(values * 3)};
    Pixels wide;
    for (int stretch = 0; stretch < 20; ++stretch) {
      for (int i = 0; i < 5000; ++i)
        wide.push_back(static_cast<std::uint8_t>(1 + random() % (values - 1) + values * (i & 1)));
      for (int i = 0; i < 3000; ++i) {
        const unsigned pixel = random() % values;
        wide.push_back(pixel == 0 ? zeros[random() % zeros.size()] : std::uint8_t(pixel | 128));
      }
    }
    Pixels masked = wide;
    for (auto& p : masked)
      p = static_cast<std::uint8_t>(p & (values - 1));
    EXPECT_GT(TimesClassicForgetsZeroZero(masked, code_size), 5);
    for (std::size_t row : {std::size_t{7}, std::size_t{1000}})
      EXPECT_EQ(Encode<xt::LzwCoder>(wide, code_size, row),
                Encode<picture_test::ReferenceLzwCoder>(masked, code_size, row));
  }
}

TEST(LzwCoder, MatchesTheClassicCoderOnReducedPhotographs) {
  for (unsigned seed : {1u, 2u, 3u}) {
    std::mt19937 random(seed);
    std::normal_distribution<double> noise(0, 5);
    auto wave = [&](int x, int y, double f) {
      return static_cast<std::uint8_t>(std::clamp(
          128 + 70 * std::sin(x / f) * std::cos(y / (f + 9)) + noise(random), 0.0, 255.0));
    };
    const auto photo = picture_test::MakeBitmap24(301, 203, [&](int x, int y) {
      return picture_test::Rgb{wave(x, y, 23), wave(x, y, 31), wave(x, y, 47)};
    });
    const auto reduced = xt::ReduceColors(photo);
    ASSERT_TRUE(reduced);
    const auto view = xt::ViewBitmap(*reduced);
    for (bool interlaced : {false, true}) {
      Pixels pixels;
      for (int r : xt::GifRowOrder(view->height, interlaced))
        pixels.insert(pixels.end(), view->TopRow(r), view->TopRow(r) + view->width);
      ExpectSameAsClassic(pixels, 8, interlaced ? "interlaced" : "plain");
    }
  }
}

}  // namespace
