#include "report/write/words.h"

#include <gtest/gtest.h>

#include "report/model/report.h"
#include "report/model/round_trip.h"
#include "report/write/host_words.h"

namespace pinglog::report {
namespace {

// Lengths at the edges of each unit, as the lists, the narrow columns and the cycle's
// period show them.
TEST(WordsTest, LengthsAtTheEdgesOfTheirUnits) {
  const struct {
    std::int64_t seconds;
    const char* duration;
    const char* short_duration;
  } cases[] = {
      {0, "0 s", "0"},
      {1, "1 s", "1s"},
      {59, "59 s", "59s"},
      {60, "1 min", "1m"},
      {89, "1 min 29 s", "1m"},
      {90, "1 min 30 s", "2m"},
      {231, "3 min 51 s", "4m"},
      {3569, "59 min 29 s", "59m"},
      {3570, "59 min 30 s", "1h"},
      {3600, "1 h", "1h"},
      {5400, "1 h 30 min", "1h30m"},
      {86399, "23 h 59 min 59 s", "24h"},
      {86400, "1 d", "24h"},
      {90061, "1 d 1 h 1 min 1 s", "25h1m"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(Duration(c.seconds), c.duration) << c.seconds;
    EXPECT_EQ(ShortDuration(c.seconds), c.short_duration) << c.seconds;
  }
  const struct {
    double seconds;
    const char* text;
  } periods[] = {{0.3, "0.3 s"},        {59.94, "59.9 s"},       {59.96, "1 min 0.0 s"},
                 {60.4, "1 min 0.4 s"}, {300.35, "5 min 0.4 s"}, {3599.94, "59 min 59.9 s"},
                 {3600, "1 h"},         {3600.8, "1 h 1 s"}};
  for (const auto& p : periods) EXPECT_EQ(PeriodText(p.seconds), p.text) << p.seconds;
}

// The nearest-rank percentiles of 1..n: the value at rank ceil(p/100 * n).
TEST(WordsTest, PercentilesByNearestRank) {
  const struct {
    int n;
    int median, p95, p99;
  } cases[] = {{1, 1, 1, 1},     {2, 1, 2, 2},      {19, 10, 19, 19},   {20, 10, 19, 20},
               {21, 11, 20, 21}, {100, 50, 95, 99}, {101, 51, 96, 100}, {200, 100, 190, 198}};
  for (const auto& c : cases) {
    std::vector<int> times;
    for (int v = c.n; v >= 1; --v) times.push_back(v);  // any order
    const RoundTrip rt = RoundTripOf(times);
    EXPECT_EQ(rt.median, c.median) << c.n;
    EXPECT_EQ(rt.p95, c.p95) << c.n;
    EXPECT_EQ(rt.p99, c.p99) << c.n;
    EXPECT_EQ(rt.minimum, 1) << c.n;
    EXPECT_EQ(rt.maximum, c.n) << c.n;
    std::sort(times.begin(), times.end());
    EXPECT_EQ(NearestRank(times, 95), c.p95) << c.n;
  }
}

// Hosts in a sentence: up to four named, beyond that three and a count.
TEST(WordsTest, HostListNamesUpToFourAndCountsTheRest) {
  Report report;
  report.hosts.resize(5);
  for (std::size_t i = 0; i < 5; ++i) report.hosts[i].summary.host = std::string(1, 'a' + i);
  report.hosts[1].summary.name = "gw";
  const struct {
    std::vector<std::size_t> hosts;
    const char* text;
  } cases[] = {
      {{0}, "a"},
      {{0, 1}, "a and gw (b)"},
      {{4, 0, 2}, "e, a and c"},
      {{0, 1, 2, 3}, "a, gw (b), c and d"},
      {{0, 1, 2, 3, 4}, "a, gw (b), c and 2 more"},
  };
  for (const auto& c : cases) EXPECT_EQ(HostList(report, c.hosts), c.text) << c.text;
}

}  // namespace
}  // namespace pinglog::report
