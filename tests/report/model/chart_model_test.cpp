#include "report/model/chart_model.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "report/report_fixture.h"

namespace pinglog::report {
namespace {

// The scale ends at the first round value (1, 2 or 5 times a power of ten) at or above
// the bulk of the round trips and half again, always above the bulk.
TEST(ChartModelTest, TheScaleEndsARoundValueAboveTheBulk) {
  const struct {
    int ms;   // every reply's round trip: the bulk
    int top;  // the scale's top
  } cases[] = {{0, 1},   {1, 2},   {2, 5},    {3, 5},     {7, 20},    {10, 20},
               {13, 20}, {14, 50}, {34, 100}, {100, 200}, {134, 500}, {400, 1000}};
  for (const auto& c : cases) {
    LogSet logs;
    logs.files = {"a.log"};
    logs.hosts = {"h"};
    const LogTime start = ComposeTime(2021, 3, 1, 10, 0, 0);
    for (int minute = 0; minute < 60; ++minute) {
      logs.entries.push_back(testing::MakeEntry(start + minute * 60, {c.ms, c.ms, c.ms}));
    }
    const Report report = BuildReport(std::move(logs), {});
    EXPECT_EQ(BuildChart(report.hosts[0], {}).top, c.top) << c.ms;
  }
}

// A bucket is the first width at least the period that keeps the span within the
// buckets allowed; past the widest, the span shared out.
TEST(ChartModelTest, BucketsAreTheFirstWidthThatFits) {
  const struct {
    std::int64_t span, period, most, width;
  } rows[] = {
      {600, 60, 10, 60},  {659, 60, 10, 60},         {660, 60, 10, 120},
      {600, 61, 10, 120}, {6652800, 60, 10, 665280}, {6652800, 700000, 10, 700000},
  };
  for (const auto& r : rows) {
    EXPECT_EQ(BucketWidth(r.span, r.period, r.most), r.width)
        << r.span << " s, period " << r.period;
  }
}

// A bucket's loss: none, all, a little (up to 10 %) or much.
TEST(ChartModelTest, LossLevelsHaveTheirBounds) {
  const struct {
    std::int64_t sent, lost;
    LossLevel level;
  } rows[] = {{30, 0, LossLevel::kNone},
              {30, 30, LossLevel::kTotal},
              {30, 3, LossLevel::kLittle},
              {100, 11, LossLevel::kMuch},
              {3, 1, LossLevel::kMuch}};
  for (const auto& r : rows) {
    Requests requests;
    requests.sent = r.sent;
    requests.lost = r.lost;
    EXPECT_EQ(LossLevelOf(requests), r.level) << r.lost << " of " << r.sent;
  }
}

// On an axis shared with other hosts, a chart counts only the entries within it, its
// last bucket ending with the axis.
TEST(ChartModelTest, CountsOnlyTheEntriesOnTheAxis) {
  LogSet logs;
  logs.files = {"a.log"};
  logs.hosts = {"h"};
  const LogTime start = ComposeTime(2021, 3, 1, 10, 0, 0);
  for (int minute = 0; minute < 120; ++minute) {
    logs.entries.push_back(testing::MakeEntry(start + minute * 60, {5, 5, 5}));
  }
  const Report report = BuildReport(std::move(logs), {});
  const ChartModel chart = BuildChart(report.hosts[0], {0, start + 600, start + 600 + 3600});
  EXPECT_EQ(chart.width, 60);
  EXPECT_EQ(chart.buckets.size(), 60u);
  std::int64_t cycles = 0;
  for (const ChartBucket& b : chart.buckets) cycles += b.requests.cycles;
  EXPECT_EQ(cycles, 60);
}

// A day's chart of one-minute cycles: a cycle stamped by a wrong clock is in no bucket;
// a lost cycle (an outage shorter than a bucket) is counted in its bucket when it
// begins on the axis, at its very start too, and not when it begins before it or at its
// end.
TEST(ChartModelTest, PlacesShortOutagesAndOnlyEntriesOnTheClock) {
  LogSet logs;
  logs.files = {"a.log"};
  logs.hosts = {"h"};
  const LogTime day = ComposeTime(2021, 3, 1, 0, 0, 0);
  const LogTime start = day + 12 * 3600, end = start + kSecondsPerDay;
  std::vector<Entry> entries;
  for (LogTime t = day; t < day + 2 * kSecondsPerDay; t += 60) {
    const bool lost = t == start - 120 || t == start || t == end;
    constexpr int kLost = testing::kTimedOut;
    entries.push_back(testing::MakeEntry(t, lost ? std::initializer_list<int>{kLost, kLost, kLost}
                                                 : std::initializer_list<int>{5, 5, 5}));
    entries.back().off_clock = t == start + 3600;
  }
  logs.entries = EntryStore(entries);
  const Report report = BuildReport(std::move(logs), {});
  const ChartModel chart = BuildChart(report.hosts[0], {0, start, end});
  EXPECT_EQ(chart.width, 120);
  std::int64_t cycles = 0, outage_seconds = 0;
  for (const ChartBucket& b : chart.buckets) {
    cycles += b.requests.cycles;
    outage_seconds += b.short_outage_seconds;
  }
  EXPECT_EQ(cycles, 24 * 60 - 1);
  EXPECT_EQ(chart.buckets.front().short_outage_seconds, 60);
  EXPECT_EQ(outage_seconds, 60);
}

// A bucket's times kept as counts per value answer as its sorted times would, also
// when they come in lots that overlap, close together or far apart.
TEST(ReplyTimesTest, AnswersAsTheSortedTimesWould) {
  std::vector<int> all;
  ReplyTimes times;
  for (int lot = 0; lot < 3; ++lot) {
    for (int i = 0; i < 37; ++i) {
      const int ms = lot == 2 && i % 9 == 0 ? 60000 - i : (i * 7 + lot * 3) % 23;
      all.push_back(ms);
      times.Add(ms);
    }
    times.Settle();
  }
  std::sort(all.begin(), all.end());
  EXPECT_EQ(times.size(), 111);
  EXPECT_EQ(times.Lowest(), all.front());
  EXPECT_EQ(times.Highest(), all.back());
  for (const int percent : {1, 10, 25, 50, 75, 90, 95, 99, 100}) {
    EXPECT_EQ(times.Rank(percent), NearestRank(all, percent)) << percent;
  }
  for (const int top : {-1, 0, 5, 21, 22, 30, 59990, 60000}) {
    EXPECT_EQ(times.CountAbove(top), all.end() - std::upper_bound(all.begin(), all.end(), top))
        << top;
  }
}

}  // namespace
}  // namespace pinglog::report
