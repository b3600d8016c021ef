#include "platform/cp1252.h"

#include <gtest/gtest.h>

#include <string>

namespace platform {
namespace {

TEST(Cp1252Test, AsciiAndLatinOneConvert) {
  EXPECT_EQ(Cp1252ToUtf8("plain <A>"), "plain <A>");
  EXPECT_EQ(Cp1252ToUtf8("\xE4\xF6\xFC\xDF\xA0"), "äöüß\u00A0");
  EXPECT_EQ(Utf8ToCp1252("äöüß"), std::optional<std::string>("\xE4\xF6\xFC\xDF"));
}

TEST(Cp1252Test, TheHighControlRangeUsesTheWindowsTable) {
  EXPECT_EQ(Cp1252ToUtf8("\x80\x85\x93\x94\x99\x9F"), "€…“”™Ÿ");
  EXPECT_EQ(Utf8ToCp1252("€…“”™Ÿ"), std::optional<std::string>("\x80\x85\x93\x94\x99\x9F"));
  EXPECT_EQ(Utf8ToCp1252("\u0080"), std::nullopt);  // 0x80 is the euro sign here
}

TEST(Cp1252Test, EveryByteSurvivesARoundTrip) {
  std::string all;
  for (int byte = 0; byte < 256; ++byte)
    all += static_cast<char>(byte);
  EXPECT_EQ(Utf8ToCp1252(Cp1252ToUtf8(all)), all);
}

TEST(Cp1252Test, UnrepresentableOrMalformedUtf8IsRefused) {
  EXPECT_EQ(Utf8ToCp1252("中"), std::nullopt);
  EXPECT_EQ(Utf8ToCp1252("\xF0\x9F\x98\x80"), std::nullopt);  // emoji
  EXPECT_EQ(Utf8ToCp1252("\xC3"), std::nullopt);              // cut short
  EXPECT_EQ(Utf8ToCp1252("\xC3\x28"), std::nullopt);          // bad continuation
  EXPECT_EQ(Utf8ToCp1252("\xC0\xAE"), std::nullopt);          // overlong
  EXPECT_EQ(Utf8ToCp1252("\xED\xA0\x80"), std::nullopt);      // surrogate
  EXPECT_EQ(Utf8ToCp1252("\xFF"), std::nullopt);
  EXPECT_EQ(Utf8ToCp1252(""), std::optional<std::string>(""));
}

TEST(Cp1252Test, MessageTextMarksWhatWindows1252CannotHold) {
  EXPECT_EQ(Utf8ToCp1252ForMessage("Caf\u00e9/\u4e2d.htm"), "Caf\xE9/?.htm");
  EXPECT_EQ(Utf8ToCp1252ForMessage("a\xFF\xC3"), "a??");
  EXPECT_EQ(Utf8ToCp1252ForMessage("\xF0\x9F\x98\x80!"), "?!");
}

}  // namespace
}  // namespace platform
