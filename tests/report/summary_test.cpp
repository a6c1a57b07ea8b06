#include "report/summary.h"

#include <gtest/gtest.h>

#include "report_fixture.h"

namespace pinglog::report {
namespace {

using testing::SampleEntries;

TEST(SummarizeTest, WorksOutTheSampleLog) {
  const std::vector<Entry> entries = SampleEntries();
  const HostSummary s = Summarize("router1", testing::Pointers(entries), {});
  const CalendarTime t0 = entries[0].time;

  EXPECT_EQ(s.interval, 60);  // the most common gap
  EXPECT_TRUE(s.interval_inferred);
  EXPECT_EQ(s.first, t0);
  EXPECT_EQ(s.last, t0 + 480);
  EXPECT_EQ(s.expected, 9);
  EXPECT_EQ(s.requests.cycles, 7);
  ASSERT_EQ(s.gaps.size(), 1u);
  EXPECT_EQ(s.gaps[0].after, t0 + 120);
  EXPECT_EQ(s.gaps[0].before, t0 + 300);
  EXPECT_EQ(s.gaps[0].missing, 2);

  EXPECT_EQ(s.requests.sent, 21);
  EXPECT_EQ(s.requests.received, 12);
  EXPECT_EQ(s.requests.lost, 9);
  EXPECT_EQ(s.requests.router, 1);
  EXPECT_NEAR(s.requests.LossPercent(), 42.857, 0.001);

  ASSERT_EQ(s.outages.size(), 1u);
  EXPECT_EQ(s.outages[0].start, t0 + 360);
  EXPECT_EQ(s.outages[0].end, t0 + 420);
  EXPECT_EQ(s.outages[0].cycles, 2);

  // Replies in time order: 10 20 30 40 50 5 5 5 100 1 2 3.
  const RoundTrip& rt = s.round_trip;
  EXPECT_EQ(rt.replies, 12);
  EXPECT_EQ(rt.minimum, 1);
  EXPECT_EQ(rt.median, 5);  // rank 6 of 12: 1 2 3 5 5 [5] 10 ...
  EXPECT_EQ(rt.p95, 100);   // rank 12
  EXPECT_EQ(rt.p99, 100);
  EXPECT_EQ(rt.maximum, 100);
  EXPECT_NEAR(rt.mean, 271.0 / 12, 1e-9);
  EXPECT_NEAR(rt.jitter, 281.0 / 11, 1e-9);  // 10+10+10+10+45+0+0+95+99+1+1

  EXPECT_EQ(s.failures, (std::map<std::uint32_t, std::int64_t>{{11003, 1}, {11010, 7}}));
  EXPECT_EQ(s.routers, (std::map<Address, std::int64_t>{{{198, 51, 100, 254}, 1}}));
  ASSERT_EQ(s.periods.size(), 1u);
  EXPECT_EQ(s.periods[0].requests.cycles, 7);
  EXPECT_EQ(s.periods[0].outages, 1);
}

TEST(SummarizeTest, SplitsByHourAndTakesAGivenInterval) {
  const std::vector<Entry> entries = SampleEntries();
  SummaryOptions options;
  options.by_hour = true;
  options.interval_minutes = 2;
  const HostSummary s = Summarize("router1", testing::Pointers(entries), options);
  EXPECT_EQ(s.interval, 120);
  EXPECT_FALSE(s.interval_inferred);
  EXPECT_EQ(s.expected, 5);
  EXPECT_TRUE(s.gaps.empty());  // 180 s apart is less than one and a half intervals
  ASSERT_EQ(s.periods.size(), 2u);
  EXPECT_EQ(s.periods[0].start, ComposeTime(2021, 3, 21, 10, 0, 0));
  EXPECT_EQ(s.periods[0].requests.cycles, 2);
  EXPECT_EQ(s.periods[0].round_trip.median, 30);  // 10 20 30 40 50: rank 3
  EXPECT_EQ(s.periods[1].requests.cycles, 5);
  EXPECT_EQ(s.periods[1].round_trip.maximum, 100);
  EXPECT_EQ(s.periods[1].outages, 1);
}

TEST(RoundTripOfTest, HandlesFewReplies) {
  EXPECT_EQ(RoundTripOf({}).replies, 0);
  const RoundTrip one = RoundTripOf({7});
  EXPECT_EQ(one.minimum, 7);
  EXPECT_EQ(one.p99, 7);
  EXPECT_EQ(one.jitter, 0);
  const RoundTrip hundred = [] {
    std::vector<int> times;
    for (int i = 100; i >= 1; --i) times.push_back(i);
    return RoundTripOf(times);
  }();
  EXPECT_EQ(hundred.median, 50);
  EXPECT_EQ(hundred.p95, 95);
  EXPECT_EQ(hundred.p99, 99);
  EXPECT_EQ(hundred.jitter, 1);
}

TEST(ErrorNameTest, NamesTheNumbersTheLoggerWrites) {
  EXPECT_STREQ(ErrorName(11010), "request timed out");
  EXPECT_STREQ(ErrorName(11003), "destination host unreachable");
  EXPECT_STREQ(ErrorName(123456), "");
}

}  // namespace
}  // namespace pinglog::report
