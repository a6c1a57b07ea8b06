#include "report/model/worst_hours.h"

#include <gtest/gtest.h>

#include "report/report_fixture.h"
#include "report/write/summary_facts.h"

namespace pinglog::report {
namespace {

// Three weeks of five-minute cycles from Monday 02.11.2026: `lossy(day, hour, cycle)`
// says whether a cycle loses one of its three requests (0), all three (3) or none (-1);
// replies take 49 ms where `slow(day, hour)`, else 7 ms.
struct Week {
  int (*lossy)(int day, int hour, int cycle);
  bool (*slow)(int day, int hour);
};
std::optional<WorstHours> WorstOf(const Week& week) {
  LogSet logs;
  logs.files = {"a.log"};
  logs.hosts = {"router1"};
  const LogTime start = ComposeTime(2026, 11, 2, 0, 0, 0);
  for (int cycle = 0; cycle < 21 * 288; ++cycle) {
    const int day = cycle / 288, hour = cycle % 288 / 12;
    const int ms = week.slow(day, hour) ? 49 : 7, lost = week.lossy(day, hour, cycle);
    logs.entries.push_back(testing::MakeEntry(
        start + cycle * 300,
        {lost >= 0 ? -11010 : ms, lost == 3 ? -11010 : ms, lost == 3 ? -11010 : ms}));
  }
  const Report report = BuildReport(std::move(logs), {});
  return report.hosts[0].summary.worst_hours;
}

bool Weekday(int day) { return day % 7 < 5; }
bool Evening(int hour) { return hour >= 18 && hour < 23; }

TEST(WorstHoursTest, StatesAPatternThatHoldsDayAfterDayInFigures) {
  // Weekday evenings congested (a request in nine lost, 49 ms), one in a hundred cycles
  // losing a request otherwise, and a six-hour outage one night.
  const Week congested{[](int day, int hour, int cycle) {
                         if (day == 8 && hour >= 1 && hour < 7) return 3;
                         if (Weekday(day) && Evening(hour)) return cycle % 3 == 0 ? 0 : -1;
                         return cycle % 100 == 1 ? 0 : -1;
                       },
                       [](int day, int hour) { return Weekday(day) && Evening(hour); }};
  const std::optional<WorstHours> worst = WorstOf(congested);
  ASSERT_TRUE(worst);
  EXPECT_EQ(WorstHoursLine(worst),
            "Weekdays 18\u201323 h: loss 11.1 % and median 49 ms on 15 of 15 weekdays; other "
            "hours 0.4 % and median 7 ms; weekends normal. Left out: the outage of 10.11.2026 "
            "01:00:00 (6 h).");

  // The same every day, weekends too.
  const Week every{
      [](int, int hour, int cycle) { return Evening(hour) && cycle % 3 == 0 ? 0 : -1; },
      [](int, int hour) { return Evening(hour); }};
  ASSERT_TRUE(WorstOf(every));
  EXPECT_EQ(WorstOf(every)->days, WorstHours::Days::kEvery);
  EXPECT_EQ(WorstOf(every)->days_shown, 21);
}

TEST(WorstHoursTest, CallsNoEventAPattern) {
  const struct {
    const char* situation;
    Week week;
  } cases[] = {
      {"one 25-minute outage at 16:30",
       {[](int day, int hour, int cycle) {
          return day == 3 && hour == 16 && cycle % 12 >= 6 ? 3 : -1;
        },
        [](int, int) { return false; }}},
      {"a six-hour outage one night, nothing else",
       {[](int day, int hour, int) { return day == 8 && hour >= 1 && hour < 7 ? 3 : -1; },
        [](int, int) { return false; }}},
      {"evenings on two days only",
       {[](int day, int hour, int) { return (day == 2 || day == 9) && Evening(hour) ? 0 : -1; },
        [](int, int) { return false; }}},
      {"loss spread over the day",
       {[](int, int, int cycle) { return cycle % 7 == 0 ? 0 : -1; },
        [](int, int) { return false; }}},
  };
  for (const auto& c : cases) EXPECT_FALSE(WorstOf(c.week)) << c.situation;
}

}  // namespace
}  // namespace pinglog::report
