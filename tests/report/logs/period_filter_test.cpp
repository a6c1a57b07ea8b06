#include "report/logs/period_filter.h"

#include <gtest/gtest.h>

#include "report/report_fixture.h"

namespace pinglog::report {
namespace {

// --from and --to: a day, a minute or a second, with a space or a "T" before the time;
// nothing for any other text.
TEST(PeriodFilterTest, ReadsADayAMinuteOrASecond) {
  const LogTime day = ComposeTime(2021, 3, 2, 0, 0, 0);
  const struct {
    const char* text;
    LogTime start;  // 0: not a time
    std::int64_t length = 0;
  } rows[] = {
      {"2021-03-02", day, 86400},
      {"2021-03-02 10:07", day + 36420, 60},
      {"2021-03-02T10:07:09", day + 36429, 1},
      {"2021-03-02 10:07:0", 0},
      {"2021-03-02 10:07:", 0},
      {"2021-03-02 10:07:0x", 0},
      {"2021-03-02 10-07", 0},
      {"2021-03-02_10:07", 0},
      {"2021-03-0:", 0},
      {"2021-03-0/", 0},
      {"2021-02-29", 0},
  };
  for (const auto& row : rows) {
    const std::optional<TimeSpan> span = ParseLocalTime(row.text);
    ASSERT_EQ(span.has_value(), row.start != 0) << row.text;
    if (!span) continue;
    EXPECT_EQ(span->start, row.start) << row.text;
    EXPECT_EQ(span->end - span->start, row.length) << row.text;
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
