#include "report/model/heat_map.h"

#include <gtest/gtest.h>

#include "report/report_fixture.h"

namespace pinglog::report {
namespace {

// A week of one-minute cycles; `lossy(hour)` says how many of the three requests of a
// cycle in that hour of the day are lost (every 4th cycle).
std::optional<WorstHours> WorstHoursOfWeek(int (*lossy)(int hour)) {
  LogSet logs;
  logs.files = {"a.log"};
  logs.hosts = {"router1"};
  const CalendarTime start = ComposeTime(2021, 3, 1, 0, 0, 0);
  for (int minute = 0; minute < 7 * 1440; ++minute) {
    const int lost = minute % 4 == 0 ? lossy(minute / 60 % 24) : 0;
    logs.entries.push_back(testing::MakeEntry(
        start + minute * 60,
        {lost > 0 ? -11010 : 12, lost > 1 ? -11010 : 12, lost > 2 ? -11010 : 12}));
  }
  const Report report = BuildReport(std::move(logs), {});
  return report.hosts[0].summary.worst_hours;
}

TEST(WorstHoursTest, NamesTheHoursOfTheDayWhoseLossStandsOut) {
  const auto evening = WorstHoursOfWeek([](int h) {
    return h >= 19 && h < 23 ? 2 : h == 3 ? 1 : 0;
  });
  ASSERT_TRUE(evening);
  EXPECT_EQ(evening->from, 19);
  EXPECT_EQ(evening->to, 23);
  // 2 lost a lossy cycle over 4 hours, against 1 over 1 of the other 20 hours: 40 times.
  EXPECT_NEAR(evening->times_higher, 40, 1);

  const auto night = WorstHoursOfWeek([](int h) { return h == 23 || h == 0 ? 3 : 0; });
  ASSERT_TRUE(night);
  EXPECT_EQ(night->from, 23);  // across midnight
  EXPECT_EQ(night->to, 1);
  EXPECT_EQ(night->times_higher, 0);  // the other hours lost nothing

  EXPECT_FALSE(WorstHoursOfWeek([](int) { return 1; }));  // spread over the day
  EXPECT_FALSE(WorstHoursOfWeek([](int) { return 0; }));  // no loss
}

// A row per day with entries and per day between them; a run of three or more days
// without any folded into one row, so that logs years apart make a map of a few rows.
// Hours at the day's edges fall in the day they begin.
TEST(HeatMapTest, FoldsRunsOfDaysWithoutEntries) {
  LogSet logs;
  logs.files = {"a.log"};
  logs.hosts = {"router1"};
  const LogTime day = ComposeTime(2021, 3, 1, 0, 0, 0),
                far = ComposeWideTime({2040, 1, 1, 0, 0, 0});
  for (const LogTime at : {day + 36000, day + 3 * 86400 + 86399, day + 7 * 86400, far}) {
    logs.entries.push_back(testing::MakeEntry(at, {12, 12, -11010}));
  }
  const Report report = BuildReport(std::move(logs), {});
  const HeatMap map = BuildHeatMap(report.hosts[0]);
  const struct {
    LogTime day;
    std::int64_t empty_days;
    int hour_with_entry;  // -1: none
  } rows[] = {{day, 0, 10},
              {day + 86400, 0, -1},  // two days without entries: a row each
              {day + 2 * 86400, 0, -1},
              {day + 3 * 86400, 0, 23},
              {day + 4 * 86400, 3, -1},  // three: folded
              {day + 7 * 86400, 0, 0},
              {day + 8 * 86400, (far - day) / 86400 - 8, -1},
              {far, 0, 0}};
  ASSERT_EQ(map.rows.size(), std::size(rows));
  for (std::size_t r = 0; r < map.rows.size(); ++r) {
    EXPECT_EQ(map.rows[r].day, rows[r].day) << r;
    EXPECT_EQ(map.rows[r].empty_days, rows[r].empty_days) << r;
    for (int h = 0; h < 24; ++h) {
      EXPECT_EQ(map.rows[r].hours[h].requests.cycles, h == rows[r].hour_with_entry ? 1 : 0) << r;
    }
  }
}

// The heat map's loss steps at their edges: one request in 180 is not one in ten.
TEST(HeatMapTest, GradesLossInSteps) {
  const struct {
    std::int64_t sent, lost;
    int step;
  } cases[] = {{3, 0, 0},    {180, 1, 1}, {1000, 9, 1}, {100, 1, 2},    {1000, 49, 2}, {100, 5, 3},
               {100, 19, 3}, {5, 1, 4},   {3, 2, 4},    {1000, 999, 4}, {3, 3, 5}};
  for (const auto& c : cases) {
    Requests r;
    r.sent = c.sent;
    r.lost = c.lost;
    EXPECT_EQ(LossStep(r), c.step) << c.lost << " of " << c.sent;
  }
}

}  // namespace
}  // namespace pinglog::report
