// The converter's building blocks: the character table, colour text, styles from font names,
// heading levels and the page chunk writer's line breaking.
#include <gtest/gtest.h>

#include <string>

#include "tests/xt/fake_host.h"
#include "xt/export/character_table.h"
#include "xt/export/color_text.h"
#include "xt/export/page_chunk_writer.h"
#include "xt/export/run_style.h"

namespace xt {
namespace {

using test::Fix;

TEST(CharacterTableTest, ControlBytesVanishExceptLineBreaks) {
  const CharacterTable table;
  for (int byte = 0; byte < 32; ++byte) {
    if (byte == 7 || byte == 10 || byte == 13) continue;
    EXPECT_EQ(table[static_cast<std::uint8_t>(byte)], "") << byte;
  }
  EXPECT_EQ(table[7], "<br>\r\n");
  EXPECT_EQ(table[10], "<p>\r\n");
  EXPECT_EQ(table[13], "<p>\r\n");
}

TEST(CharacterTableTest, MarkupCharactersAndSpecialSpacesAreEntities) {
  const CharacterTable table;
  EXPECT_EQ(table['"'], "&quot;");
  EXPECT_EQ(table['&'], "&amp;");
  EXPECT_EQ(table['<'], "&lt;");
  EXPECT_EQ(table['>'], "&gt;");
  EXPECT_EQ(table[160], "&nbsp;");
  EXPECT_EQ(table[173], "&shy;");
  EXPECT_EQ(table[' '], " ");
  EXPECT_EQ(table['\''], "'");
  EXPECT_EQ(table[128], "\x80");
  EXPECT_EQ(table[191], "\xBF");
}

TEST(CharacterTableTest, LatinLettersBecomeTheirNamedEntities) {
  const CharacterTable table;
  EXPECT_EQ(table[192], "&Agrave;");
  EXPECT_EQ(table[194], "&Acirc;");
  EXPECT_EQ(table[198], "&AElig;");
  EXPECT_EQ(table[208], "&ETH;");
  EXPECT_EQ(table[214], "&Ouml;");
  EXPECT_EQ(table[215], "\xD7");
  EXPECT_EQ(table[216], "&Oslash;");
  EXPECT_EQ(table[222], "&THORN;");
  EXPECT_EQ(table[223], "&szlig;");
  EXPECT_EQ(table[228], "&auml;");
  EXPECT_EQ(table[247], "\xF7");
  EXPECT_EQ(table[248], "&oslash;");
  EXPECT_EQ(table[255], "&yuml;");
  for (int byte = 192; byte < 256; ++byte) {
    if (byte == 215 || byte == 247) continue;
    const std::string& entry = table[static_cast<std::uint8_t>(byte)];
    EXPECT_TRUE(entry.size() > 3 && entry.front() == '&' && entry.back() == ';') << byte;
  }
}

TEST(ColorTextTest, HighBytesAsLowerCaseHexRedFirst) {
  EXPECT_EQ(ColorText({0xFFFF, 0xFFFF, 0xFFFF}), "ffffff");
  EXPECT_EQ(ColorText({0, 0, 0}), "000000");
  EXPECT_EQ(ColorText({0x0A00, 0x00FF, 0xBCDE}), "0a00bc");
}

TEST(RunStyleTest, StyleWordWins) {
  EXPECT_EQ(RunStyleFlags(XT_STYLE_ITALIC, "Futura Bold"), XT_STYLE_ITALIC);
  EXPECT_EQ(RunStyleFlags(XT_STYLE_UNDERLINE | 0x0040, "Futura"), XT_STYLE_UNDERLINE);
}

TEST(RunStyleTest, FontNamesGiveBoldBeforeItalic) {
  EXPECT_EQ(RunStyleFlags(0, "Futura Bold Oblique"), XT_STYLE_BOLD);
  EXPECT_EQ(RunStyleFlags(0, "Helvetica HEAVY"), XT_STYLE_BOLD);
  EXPECT_EQ(RunStyleFlags(0, "Garamond DemiBold"), XT_STYLE_BOLD);
  EXPECT_EQ(RunStyleFlags(0, "Arial Black"), XT_STYLE_BOLD);
  EXPECT_EQ(RunStyleFlags(0, "Times Italic"), XT_STYLE_ITALIC);
  EXPECT_EQ(RunStyleFlags(0, "Futura Oblique"), XT_STYLE_ITALIC);
  EXPECT_EQ(RunStyleFlags(0, "Optima"), 0u);
  EXPECT_EQ(RunStyleFlags(0, ""), 0u);
}

TEST(RunStyleTest, HeadingLevelIsTheFirstSetThresholdReached) {
  const std::array<XtFixed, 6> defaults = {Fix(16), Fix(15), Fix(14), 0, 0, 0};
  EXPECT_EQ(HeadingLevel(defaults, Fix(24)), 1);
  EXPECT_EQ(HeadingLevel(defaults, Fix(16)), 1);
  EXPECT_EQ(HeadingLevel(defaults, Fix(15.5)), 2);
  EXPECT_EQ(HeadingLevel(defaults, Fix(14)), 3);
  EXPECT_EQ(HeadingLevel(defaults, Fix(13.9)), 0);
  EXPECT_EQ(HeadingLevel({0, 0, 0, 0, 0, 0}, Fix(72)), 0);
  EXPECT_EQ(HeadingLevel({0, 0, 0, Fix(10), Fix(12), 0}, Fix(11)), 4);
}

// The chunk as the page receives it.
std::string BreakChunk(std::string_view chunk, std::int32_t& column) {
  const std::size_t cut = LineBreakPosition(chunk, column);
  std::string out(chunk);
  if (cut != kNoLineBreak) out.insert(cut, "\r\n");
  return out;
}

TEST(BreakChunkTest, ShortLinesAreWrittenWholeAndCounted) {
  std::int32_t column = 80;
  EXPECT_EQ(BreakChunk("one two", column), "one two");
  EXPECT_EQ(column, 87);
}

TEST(BreakChunkTest, ALongLineBreaksAtTheChunksFirstBlank) {
  std::int32_t column = 81;
  EXPECT_EQ(BreakChunk("one two three", column), "one\r\n two three");
  EXPECT_EQ(column, 13);
  column = 81;
  EXPECT_EQ(BreakChunk("a\tb c", column), "a\r\n\tb c");
  column = 81;
  EXPECT_EQ(BreakChunk(" FACE=\"x\"", column), "\r\n FACE=\"x\"");
}

TEST(BreakChunkTest, AChunkWithoutBlanksIsFollowedByTheBreak) {
  std::int32_t column = 200;
  EXPECT_EQ(BreakChunk("</STRONG>", column), "</STRONG>\r\n");
  EXPECT_EQ(column, 9);
}

TEST(BreakChunkTest, LineFeedsSetTheCounterToWhatFollowsTheLast) {
  std::int32_t column = 5;
  EXPECT_EQ(BreakChunk("a\r\nbc\r\ndef", column), "a\r\nbc\r\ndef");
  EXPECT_EQ(column, 3);
  column = 90;
  EXPECT_EQ(BreakChunk("<p>\r\n", column), "<p>\r\n\r\n");
  EXPECT_EQ(column, 0);
  column = 10;
  EXPECT_EQ(BreakChunk("\nxy", column), "\nxy");
  EXPECT_EQ(column, 13) << "a line feed as the first byte does not count";
}

}  // namespace
}  // namespace xt
