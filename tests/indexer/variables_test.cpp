#include <cstdlib>
#include <ctime>
#include <optional>
#include <string>

#include <gtest/gtest.h>

#include "indexer/engine/date_format.h"
#include "indexer/engine/index_variables.h"

namespace indexer {
namespace {

// Runs each test in UTC so that local dates and times are known; restores the zone after.
class VariablesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (const char* zone = std::getenv("TZ")) savedZone_ = zone;
    setenv("TZ", "UTC", 1);
    tzset();
  }
  void TearDown() override {
    if (savedZone_) {
      setenv("TZ", savedZone_->c_str(), 1);
    } else {
      unsetenv("TZ");
    }
    tzset();
  }

  // 2024-03-05 14:07:09 UTC, a Tuesday.
  static std::time_t FixedNow() {
    std::tm when{};
    when.tm_year = 124;
    when.tm_mon = 2;
    when.tm_mday = 5;
    when.tm_hour = 14;
    when.tm_min = 7;
    when.tm_sec = 9;
    return timegm(&when);
  }

  static IndexVariables Variables(DateSettings date = {}) {
    return IndexVariables(std::move(date), FixedNow);
  }

 private:
  std::optional<std::string> savedZone_;
};

TEST_F(VariablesTest, IssueAndYearFilledInOnePass) {
  EXPECT_EQ(Variables().Substitute("1997", "ISSUE12", "<H1>Index of $ISSUE:/$YEAR:</H1>", ""),
            "<H1>Index of ISSUE12/1997</H1>");
}

TEST_F(VariablesTest, EveryOccurrenceIsFilledIn) {
  EXPECT_EQ(Variables().Substitute("1997", "12", "$DATE: and $DATE:", ""), "03/05/24 and 03/05/24");
  EXPECT_EQ(Variables().Substitute("1997", "12", "$YEAR:$YEAR:-$ISSUE:$ISSUE:", ""),
            "19971997-1212");
}

TEST_F(VariablesTest, CategoryTimeAndDateInTheCLocale) {
  EXPECT_EQ(Variables().Substitute("", "", "$CATEGORY: at $TIME: on $DATE:", "News"),
            "News at 14:07:09 on 03/05/24");
  EXPECT_EQ(Variables().Substitute("", "", "[$CATEGORY:]", ""), "[]");
}

TEST_F(VariablesTest, FilledInValuesAreNotSearchedAgain) {
  EXPECT_EQ(Variables().Substitute("$ISSUE:", "$DATE:", "$YEAR:/$ISSUE:", ""), "$ISSUE:/$DATE:");
}

TEST_F(VariablesTest, UnknownAndPartialVariablesStay) {
  EXPECT_EQ(Variables().Substitute("1", "2", "$HOME: $ROOT: $YEAR $ $$YEAR:$", ""),
            "$HOME: $ROOT: $YEAR $ $1$");
  EXPECT_EQ(Variables().Substitute("1", "2", "$ISSUE", ""), "$ISSUE");
}

TEST_F(VariablesTest, OffsetDatesCountWholeDays) {
  EXPECT_EQ(Variables({kOffsetDateFormat, 7, ""}).Substitute("", "", "$DATE:", ""), "03/12/24");
  EXPECT_EQ(Variables({kOffsetDateFormat, -1, ""}).Substitute("", "", "$DATE:", ""), "03/04/24");
  EXPECT_EQ(Variables({kOffsetDateFormat, -366, ""}).Substitute("", "", "$DATE:", ""), "03/05/23");
}

TEST_F(VariablesTest, CustomDateIsWrittenAsStored) {
  EXPECT_EQ(Variables({kCustomDateFormat, 3, "Spring 1998"}).Substitute("", "", "<$DATE:>", ""),
            "<Spring 1998>");
  EXPECT_EQ(Variables({kCustomDateFormat, 0, ""}).Substitute("", "", "a$DATE:b", ""), "ab");
}

TEST_F(VariablesTest, UnknownDateFormatIsToday) {
  EXPECT_EQ(Variables({7, 30, "x"}).Substitute("", "", "$DATE:", ""), "03/05/24");
}

TEST_F(VariablesTest, ClockIsAskedForEveryReplacement) {
  std::time_t now = FixedNow();
  IndexVariables variables({}, [&now] { return now++; });
  EXPECT_EQ(variables.Substitute("", "", "$TIME: $TIME:", ""), "14:07:09 14:07:10");
}

TEST_F(VariablesTest, TooLongDateFormatGivesEmptyText) {
  EXPECT_EQ(FormatLocalTime("%Y-%m-%d", FixedNow()), "2024-03-05");
  EXPECT_EQ(FormatLocalTime("%A %A %A %A %A", FixedNow()), "");
}

TEST(EntityEncodingTest, HighCharactersBecomeEntitiesMarkupStays) {
  EXPECT_EQ(EncodeEntities("<B>gr\xFC\xDF</B> & \x80\x9F"),
            "<B>gr&uuml;&szlig;</B> & &#128;&#159;");
  EXPECT_EQ(EncodeEntities("\xA0\xA6\xAF\xC6\xD0\xF7\xFF"),
            "&nbsp;&brkbar;&hibar;&AElig;&ETH;&divide;&yuml;");
  EXPECT_EQ(EncodeEntities(std::string("a\0b\x7F", 4)), std::string("a\0b\x7F", 4));
}

TEST(EntityEncodingTest, SubstituteEncodesTheFilledInText) {
  IndexVariables variables;
  EXPECT_EQ(variables.Substitute("1998", "\xC4pril", "<H1>$ISSUE: \xFC</H1>", ""),
            "<H1>&Auml;pril &uuml;</H1>");
}

TEST(EntityEncodingTest, EveryNamedCharacterHasAName) {
  for (int code = 160; code <= 255; ++code) {
    EXPECT_FALSE(LatinEntityName(static_cast<unsigned char>(code)).empty()) << code;
  }
  EXPECT_TRUE(LatinEntityName(159).empty());
  EXPECT_EQ(LatinEntityName(215), "times");
}

}  // namespace
}  // namespace indexer
