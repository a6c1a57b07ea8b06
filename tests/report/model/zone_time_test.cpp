#include "report/model/zone_time.h"

#include <gtest/gtest.h>

#include <stdexcept>

namespace pinglog::report {
namespace {

TEST(ZoneTimeTest, TurnsLocalTimesIntoUnixTimesInTheOrderOfTheLog) {
  const ZoneTime berlin("Europe/Berlin");
  const CalendarTime repeated = ComposeTime(2021, 10, 31, 2, 30, 0);  // fall back: twice
  const std::int64_t first = 1635640200, second = 1635643800;         // 00:30 and 01:30 UTC
  const struct {
    CalendarTime local;
    std::int64_t after;
    std::optional<std::int64_t> unix_time;
  } cases[] = {
      {ComposeTime(2021, 7, 1, 12, 0, 0), INT64_MIN, 1625133600},  // summer: UTC+2
      {ComposeTime(2021, 1, 1, 12, 0, 0), INT64_MIN, 1609498800},  // winter: UTC+1
      {repeated, INT64_MIN, first},
      {repeated, first, second},         // the second 02:30 comes after the first
      {repeated, second, std::nullopt},  // a clock stepped back: no time in order
      {ComposeTime(2021, 3, 28, 2, 30, 0), INT64_MIN, 1616893200},  // skipped: the change
  };
  for (const auto& c : cases) {
    EXPECT_EQ(berlin.ToUnix(c.local, c.after), c.unix_time) << c.local << " after " << c.after;
  }
  EXPECT_THROW(ZoneTime("Mars/Olympus_Mons"), std::runtime_error);
}

}  // namespace
}  // namespace pinglog::report
