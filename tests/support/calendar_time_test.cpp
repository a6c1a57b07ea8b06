#include "support/calendar_time.h"

#include <gtest/gtest.h>

#include "fakes/fake_platform.h"

namespace pinglog {
namespace {

TEST(ComposeTimeTest, CountsDaysOnTheGregorianCalendar) {
  EXPECT_EQ(ComposeTime(1970, 1, 1, 0, 0, 0), 0);
  EXPECT_EQ(ComposeTime(1970, 1, 1, 23, 59, 59), 86399);
  EXPECT_EQ(ComposeTime(1970, 1, 2, 0, 0, 0), 86400);
  EXPECT_EQ(ComposeTime(2000, 2, 29, 0, 0, 0), 951782400);
  EXPECT_EQ(ComposeTime(2012, 2, 29, 12, 0, 0), 1330516800);
  EXPECT_EQ(ComposeTime(2013, 5, 31, 8, 5, 9), 1369987509);
  EXPECT_EQ(ComposeTime(2038, 1, 19, 3, 14, 7), 2147483647);
  // Summer and winter differ by their calendar difference: no daylight-saving hour.
  EXPECT_EQ(ComposeTime(2021, 7, 1, 12, 0, 0) - ComposeTime(2021, 1, 1, 12, 0, 0), 181 * 86400);
}

TEST(ComposeTimeTest, RejectsFieldsThatNameNoTime) {
  const struct {
    int year, month, day, hour, minute, second;
  } invalid[] = {
      {1900, 2, 29, 0, 0, 0},
      {2013, 2, 29, 0, 0, 0},
      {3600, 2, 29, 0, 0, 0},
      {2012, 2, 30, 0, 0, 0},
      {2012, 2, 31, 0, 0, 0},
      {2013, 4, 31, 0, 0, 0},
      {2013, 6, 31, 0, 0, 0},
      {2013, 9, 31, 0, 0, 0},
      {2013, 11, 31, 0, 0, 0},
      {2013, 13, 1, 0, 0, 0},
      {2013, 0, 1, 0, 0, 0},
      {2013, 1, 0, 0, 0, 0},
      {2013, 1, 32, 0, 0, 0},
      {2013, 1, 1, 24, 0, 0},
      {2013, 1, 1, 0, 60, 0},
      {2013, 1, 1, 0, 0, 60},
      {2013, 1, 1, -1, 0, 0},
      {2013, 1, 1, 0, -1, 0},
      {2013, 1, 1, 0, 0, -1},
      {2013, -1, 1, 0, 0, 0},
      {2013, 1, -1, 0, 0, 0},
      {0, 1, 1, 0, 0, 0},
      {-2013, 1, 1, 0, 0, 0},
      // Valid dates outside the span.
      {1969, 12, 31, 23, 59, 59},
      {2038, 1, 19, 3, 14, 8},
      {9999, 12, 31, 0, 0, 0},
      {INT32_MAX, 12, 31, 23, 59, 59},
      {1, 1, 1, 0, 0, 0},
  };
  for (const auto& t : invalid) {
    EXPECT_EQ(ComposeTime(t.year, t.month, t.day, t.hour, t.minute, t.second), kInvalidTime)
        << t.year << "-" << t.month << "-" << t.day << " " << t.hour << ":" << t.minute << ":"
        << t.second;
  }
}

TEST(ComposeTimeTest, AcceptsLongMonthsAndLeapDays) {
  EXPECT_NE(ComposeTime(2013, 1, 31, 0, 0, 0), kInvalidTime);
  EXPECT_NE(ComposeTime(2013, 3, 31, 0, 0, 0), kInvalidTime);
  EXPECT_NE(ComposeTime(2013, 12, 31, 0, 0, 0), kInvalidTime);
  EXPECT_NE(ComposeTime(2000, 2, 29, 0, 0, 0), kInvalidTime);
  EXPECT_NE(ComposeTime(2024, 2, 29, 0, 0, 0), kInvalidTime);
}

TEST(SplitTimeTest, GivesBackTheComposedFieldsAcrossTheSpan) {
  for (std::int64_t t = 0; t <= INT32_MAX; t += 86400 * 7 + 3601 * 5 + 17) {
    const CalendarFields f = SplitTime(static_cast<CalendarTime>(t));
    ASSERT_EQ(ComposeTime(f.year, f.month, f.day, f.hour, f.minute, f.second), t);
  }
  const CalendarFields last = SplitTime(INT32_MAX);
  EXPECT_EQ(last.year, 2038);
  EXPECT_EQ(last.second, 7);
  const CalendarFields negative = SplitTime(-1);
  EXPECT_EQ(negative.year + negative.month + negative.day, 0);
  EXPECT_EQ(negative.hour + negative.minute + negative.second, 0);
}

TEST(FormatTimeTest, ReplacesTokensAndCopiesEverythingElse) {
  const CalendarTime t = 1369987509;  // 2013-05-31 08:05:09
  const struct {
    const char* mask;
    CalendarTime time;
    const char* expected;
  } cases[] = {
      {"%dd.%mm.%yyyy / %hh:%ii:%ss", t, "31.05.2013 / 08:05:09"},
      {"%dd.%mm.%yyyy / %hh:%ii:%ss", 0, "01.01.1970 / 00:00:00"},
      {"%dd.%mm.%yyyy / %hh:%ii:%ss", -1, "00.00.0000 / 00:00:00"},
      {"", t, ""},
      {"%yy", 0, "70"},
      {"%yy", ComposeTime(2000, 1, 1, 0, 0, 0), "00"},
      {"%yy", ComposeTime(2005, 1, 1, 0, 0, 0), "05"},
      {"%yyy", t, "13y"},
      {"%YYYY", t, "2013"},
      {"%Mm-%mM-%MM", t, "05-05-05"},
      {"100%", t, "100%"},
      {"%%dd", t, "%31"},
      {"%x", t, "%x"},
      {"%m", t, "%m"},
      {"%md", t, "%md"},
      {"%%%", t, "%%%"},
      {"no tokens", t, "no tokens"},
  };
  for (const auto& c : cases) EXPECT_EQ(FormatTime(c.mask, c.time), c.expected) << c.mask;
}

TEST(FormatTimeTest, HasNoLengthLimit) {
  std::string mask;
  for (int i = 0; i < 5000; ++i) mask += "%ss";
  EXPECT_EQ(FormatTime(mask, 9), [] {
    std::string s;
    for (int i = 0; i < 5000; ++i) s += "09";
    return s;
  }());
}

TEST(LocalNowTest, ComposesThePlatformsWallClockFields) {
  testing::FakePlatform platform;
  testing::SetClock(platform, 2021, 3, 21, 14, 5, 0);
  EXPECT_EQ(LocalNow(), ComposeTime(2021, 3, 21, 14, 5, 0));
}

}  // namespace
}  // namespace pinglog
