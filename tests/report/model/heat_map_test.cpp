#include "report/model/heat_map.h"

#include <gtest/gtest.h>

#include "report/report_fixture.h"

namespace pinglog::report {
namespace {

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
