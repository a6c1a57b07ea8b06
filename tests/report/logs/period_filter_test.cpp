#include "report/logs/period_filter.h"

#include <gtest/gtest.h>

#include "report/report_fixture.h"

namespace pinglog::report {
namespace {

// --from and --to: a date names its whole day, a minute its whole minute.
TEST(ParseLocalTimeTest, TakesDatesMinutesAndSecondsWhole) {
  const CalendarTime day = ComposeTime(2021, 3, 2, 0, 0, 0);
  const struct {
    const char* text;
    std::optional<TimeSpan> span;
  } cases[] = {
      {"2021-03-02", TimeSpan{day, day + 86400}},
      {"2021-03-02 11:59", TimeSpan{day + 43140, day + 43200}},
      {"2021-03-02T11:59:30", TimeSpan{day + 43170, day + 43171}},
      {"2021-02-30", std::nullopt},
      {"2021-3-02", std::nullopt},
      {"2021-03-02 25:00", std::nullopt},
      {"2021-03-02 11:59:", std::nullopt},
      {"02.03.2021", std::nullopt},
      {"", std::nullopt},
      {"2021-03-02 11:59:3", std::nullopt},
      {"2021-03-02 11:59:3x", std::nullopt},
      {"2021-03-02 11-59", std::nullopt},
      {"2021-03-02_11:59", std::nullopt},
      {"2021-03-0:", std::nullopt},  // the characters on either side of the digits
      {"2021-03-0/", std::nullopt},
      {"2021-03-1/", std::nullopt},  // read as a digit, '/' would make it the 9th
      {"2021/03-02", std::nullopt},
      {"2021-03/02", std::nullopt},
  };
  for (const auto& c : cases) {
    const std::optional<TimeSpan> span = ParseLocalTime(c.text);
    ASSERT_EQ(span.has_value(), c.span.has_value()) << c.text;
    if (span) {
      EXPECT_EQ(span->start, c.span->start) << c.text;
      EXPECT_EQ(span->end, c.span->end) << c.text;
    }
  }
}

// The entries from the first second of --from to the last of --to, both included.
TEST(PeriodFilterTest, KeepsBothEndsWhole) {
  const LogTime from = ComposeTime(2021, 3, 2, 10, 0, 0),
                to_end = ComposeTime(2021, 3, 2, 11, 0, 0);
  LogSet logs;
  logs.entries = EntryStore(
      {testing::MakeEntry(from - 1, {5, 5, 5}), testing::MakeEntry(from, {6, 6, 6}),
       testing::MakeEntry(to_end - 1, {7, 7, 7}), testing::MakeEntry(to_end, {8, 8, 8})});
  EXPECT_EQ(KeepPeriod(logs, TimeSpan{from, from + 60}, TimeSpan{to_end - 60, to_end}), 2u);
  EXPECT_EQ(logs.entries.TimeAt(0), from);
  EXPECT_EQ(logs.entries.TimeAt(1), to_end - 1);
}

}  // namespace
}  // namespace pinglog::report
