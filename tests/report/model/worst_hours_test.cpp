#include "report/model/worst_hours.h"

#include <gtest/gtest.h>

#include <functional>

#include "report/report_fixture.h"
#include "report/write/summary_facts.h"

namespace pinglog::report {
namespace {

// Three weeks of five-minute cycles from Monday 02.11.2026: `lossy(day, hour, cycle)`
// says whether a cycle loses one of its three requests (0), all three (3) or none (-1);
// replies take 49 ms where `slow(day, hour)`, else 7 ms.
struct Week {
  std::function<int(int day, int hour, int cycle)> lossy;
  std::function<bool(int day, int hour)> slow;
  int days = 21;  // logged: the first ones
};
std::optional<WorstHours> WorstOf(const Week& week) {
  LogSet logs;
  logs.files = {"a.log"};
  logs.hosts = {"router1"};
  const LogTime start = ComposeTime(2026, 11, 2, 0, 0, 0);
  for (int cycle = 0; cycle < week.days * 288; ++cycle) {
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

TEST(WorstHoursTest, HoldsItsBoundsOnEachSide) {
  // On each of the first `days` weekdays, `at_19` cycles from 19:00 lose a request; at
  // least ten lost in all make a pattern, and an hour without loss beside it is not
  // part of it. An outage at 01:00 on day 8 of `outage` five-minute cycles is counted up
  // to an hour and left out beyond, from its start to where it ended (the cycle that
  // answered again counts). Loss over `hours` hours from 14:00 on every weekday is told
  // in a window of at most eight hours.
  constexpr std::int64_t kEveryRequest = 21 * 288 * 3;  // three weeks of five-minute cycles
  const struct {
    const char* situation;
    int days = 0, at_19 = 0, outage = 0, hours = 0;
    bool pattern = true;
    std::size_t left_out = 0;
    std::int64_t counted_requests = kEveryRequest;  // inside and outside the window
    int window = 1;                                 // its hours
    int first_hour = -1;                            // where it begins, where a row says
    int at = 19, also_at = -1;  // the hour of the `at_19` cycles, and a second one alike
    bool spread = false;        // one request lost at each hour from 0 to 9, on a day each
    // Instead of the above: what each day's `hour` loses in its `of_hour`th cycle, as
    // Week's `lossy` says; and the days logged.
    std::function<int(int day, int hour, int of_hour)> lossy = nullptr;
    int days_logged = 21;
    std::int64_t inside_sent = -1;  // requests in the window on its days, where a row says
  } rows[] = {
      {.situation = "nine lost", .days = 9, .at_19 = 1, .pattern = false},
      {.situation = "ten lost, on weekdays", .days = 10, .at_19 = 1, .inside_sent = 15 * 12 * 3},
      {.situation = "an outage of exactly an hour", .days = 15, .at_19 = 12, .outage = 12},
      {.situation = "an outage of an hour and a cycle",
       .days = 15,
       .at_19 = 12,
       .outage = 13,
       .left_out = 1,
       .counted_requests = kEveryRequest - 13 * 3},
      {.situation = "loss over eight hours", .hours = 8, .window = 8},
      {.situation = "half the loss in one hour, the other half spread thin",
       .days = 10,
       .at_19 = 1,
       .first_hour = 19,
       .spread = true},
      {.situation = "two hours alike: the earlier one",
       .days = 10,
       .at_19 = 1,
       .first_hour = 19,
       .also_at = 21},
      {.situation = "the hours before and after midnight",
       .days = 10,
       .at_19 = 1,
       .window = 2,
       .first_hour = 23,
       .at = 23,
       .also_at = 0},
      {.situation = "loss over nine hours", .hours = 9, .window = 8},
      {.situation = "eight hours at 3.2 times the others' rate, no seven hours at three",
       .window = 8,
       .first_hour = 14,
       .lossy =
           [](int, int hour, int c) {
             if (hour >= 14 && hour < 22) return c < 4 ? 3 : c < 8 ? 0 : -1;  // 16 lost
             return c == 0 ? 3 : c < 3 ? 0 : -1;                              // 5 lost
           }},
      {.situation = "six hours at exactly three times the others' rate, with half the loss",
       .window = 6,
       .first_hour = 14,
       .lossy = [](int, int hour,
                   int c) { return c < (hour >= 14 && hour < 20 ? 6 : 2) ? 0 : -1; }},
      {.situation = "on a third of the weekdays",
       .first_hour = 19,
       .lossy = [](int day, int hour, int c) { return day < 7 && hour == 19 && c < 2 ? 0 : -1; }},
      {.situation = "on a quarter of the weekdays",
       .pattern = false,
       .lossy = [](int day, int hour, int c) { return day < 4 && hour == 19 && c < 3 ? 0 : -1; }},
      {.situation = "on three days of nine logged",
       .counted_requests = 9 * 288 * 3,
       .first_hour = 19,
       .lossy = [](int day, int hour, int c) { return day < 3 && hour == 19 && c < 4 ? 0 : -1; },
       .days_logged = 9},
      {.situation = "two weekdays and a Saturday of nine logged: neither kind alone, every day",
       .counted_requests = 9 * 288 * 3,
       .first_hour = 19,
       .lossy = [](int day, int hour,
                   int c) { return (day < 2 || day == 5) && hour == 19 && c < 4 ? 0 : -1; },
       .days_logged = 9},
      {.situation = "ten hours, the last five lossier: grown earlier by hours at exactly "
                    "three times the rest, up to eight",
       .window = 8,
       .first_hour = 14,
       .lossy = [](int, int hour,
                   int c) { return hour >= 13 && hour < 23 && c < (hour < 18 ? 6 : 10) ? 0 : -1; }},
  };
  for (const auto& row : rows) {
    const Week week{[&row](int day, int hour, int cycle) {
                      if (row.lossy) return row.lossy(day, hour, cycle % 12);
                      const int weekday = day / 7 * 5 + day % 7, of_day = cycle % 288;
                      if (day == 8 && of_day >= 12 && of_day < 12 + row.outage) return 3;
                      for (const int at : {row.at, row.also_at}) {
                        if (at >= 0 && Weekday(day) && weekday < row.days && of_day >= at * 12 &&
                            of_day < at * 12 + row.at_19) {
                          return 0;
                        }
                      }
                      if (row.spread && hour == day && hour < 10 && of_day % 12 == 0) return 0;
                      if (Weekday(day) && hour >= 14 && hour < 14 + row.hours) {
                        return cycle % 4 == 0 ? 0 : -1;
                      }
                      return -1;
                    },
                    [](int, int) { return false; }, row.days_logged};
    const std::optional<WorstHours> worst = WorstOf(week);
    ASSERT_EQ(worst.has_value(), row.pattern) << row.situation;
    if (!worst) continue;
    EXPECT_EQ(worst->left_out.size(), row.left_out) << row.situation;
    EXPECT_EQ(worst->inside.requests.sent + worst->outside.requests.sent, row.counted_requests)
        << row.situation;
    EXPECT_EQ((worst->to - worst->from + 24) % 24, row.window) << row.situation;
    if (row.first_hour >= 0) {
      EXPECT_EQ(worst->from, row.first_hour) << row.situation;
    }
    if (row.inside_sent >= 0) {
      EXPECT_EQ(worst->inside.requests.sent, row.inside_sent) << row.situation;
    }
  }
}

}  // namespace
}  // namespace pinglog::report
