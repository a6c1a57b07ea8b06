#include "report/model/degradations.h"

#include <gtest/gtest.h>

#include <cmath>

#include "report/report_fixture.h"

namespace pinglog::report {
namespace {

using Changed = std::vector<std::pair<int, std::vector<int>>>;  // cycle, its items

// Ten cycles from `first` on answered in `ms`.
Changed Answered(int first, int ms) {
  Changed changed;
  for (int cycle = first; cycle < first + 10; ++cycle) changed.push_back({cycle, {ms, ms, ms}});
  return changed;
}

// A host of one-minute cycles, replies of 10 ms, with chosen cycles changed: the rule's
// bounds on either side (a tenth of the requests in two cycles or more, and unlikely at
// the usual 0.5 %; 20 ms and twice slower), and a lost cycle alone, which is noise.
TEST(FindDegradationsTest, TakesLossAndSlownessBeyondTheUsualOnlyPastTheRulesBounds) {
  constexpr int kTimeout = -11010;
  const struct {
    const char* situation;
    Changed changed;
    std::size_t stretches;
    bool loss, slow;
  } cases[] = {
      {"four cycles of ten lose one request each: 13 %, by chance 1 in 65,000",
       {{21, {10, kTimeout, 10}},
        {23, {10, kTimeout, 10}},
        {25, {10, kTimeout, 10}},
        {27, {10, kTimeout, 10}}},
       1,
       true,
       false},
      {"three cycles of ten lose one each: 10 %, by chance 1 in 2,200",
       {{21, {10, kTimeout, 10}}, {23, {10, kTimeout, 10}}, {25, {10, kTimeout, 10}}},
       0,
       false,
       false},
      {"two cycles lose two each: 13 % in two cycles",
       {{21, {10, kTimeout, kTimeout}}, {24, {kTimeout, 10, kTimeout}}},
       1,
       true,
       false},
      {"one cycle loses all three: one lost cycle is no degradation",
       {{22, {kTimeout, kTimeout, kTimeout}}},
       0,
       false,
       false},
      {"ten cycles answered in 30 ms: 20 ms above and thrice the usual 10 ms", Answered(20, 30), 1,
       false, true},
      {"ten cycles answered in 29 ms: 19 ms above the usual", Answered(20, 29), 0, false, false},
  };
  const CalendarTime t = ComposeTime(2021, 3, 1, 12, 0, 0);
  for (const auto& c : cases) {
    SCOPED_TRACE(c.situation);
    LogSet logs;
    logs.files = {"a.log"};
    logs.hosts = {"router1"};
    std::vector<Entry> entries;
    for (int i = 0; i < 60; ++i) entries.push_back(testing::MakeEntry(t + i * 60, {10, 10, 10}));
    for (const auto& [cycle, items] : c.changed) {
      entries[cycle] = testing::MakeEntry(t + cycle * 60, {items[0], items[1], items[2]});
    }
    for (std::size_t i = 0; i < entries.size(); ++i)
      entries[i].line = static_cast<std::uint32_t>(i + 1);
    logs.entries = EntryStore(entries);
    const Report report = BuildReport(std::move(logs), {});
    const HostSummary& s = report.hosts.front().summary;
    ASSERT_EQ(s.degradations.size(), c.stretches);
    EXPECT_TRUE(s.usual.known);
    EXPECT_EQ(s.usual.median, 10);
    if (c.stretches == 1) {
      EXPECT_EQ(s.degradations.front().loss, c.loss);
      EXPECT_EQ(s.degradations.front().slow, c.slow);
      EXPECT_EQ(s.degradations.front().from, t + c.changed.front().first * 60);
    }
  }
}

// The chance of losing at least `lost` of `sent` where each is lost with chance p.
TEST(ChanceOfLosingTest, IsTheBinomialTail) {
  const struct {
    std::int64_t lost, sent;
    double p, chance;
  } rows[] = {
      {0, 10, 0.1, 1},                      // nothing lost: certain
      {-1, 10, 0.1, 1},                     //
      {11, 10, 0.1, 0},                     // more than sent: impossible
      {3, 3, 0.5, 0.125},                   // all of them
      {1, 1, 0.5, 0.5},                     //
      {2, 3, 0.5, 0.5},                     //
      {1, 10, 0.1, 1 - std::pow(0.9, 10)},  //
      {10, 10, 0.1, 1e-10},                 //
      {2, 30, 0.01, 0.036147998},           // two of thirty
      {1, 10, 0, 0},                        // never lost
      {1, 10, 1, 1},                        // always lost
      {5, 10, 1.5, 1},                      //
  };
  for (const auto& row : rows) {
    EXPECT_NEAR(ChanceOfLosing(row.lost, row.sent, row.p), row.chance, 1e-6 * row.chance + 1e-15)
        << row.lost << " of " << row.sent << " at " << row.p;
  }
}

}  // namespace
}  // namespace pinglog::report
