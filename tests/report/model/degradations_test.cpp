#include "report/model/degradations.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>

#include "report/report_fixture.h"

namespace pinglog::report {
namespace {

using Changed = std::vector<std::pair<int, std::vector<int>>>;  // cycle, its items
constexpr int kTimeout = -11010;

// Ten cycles from `first` on answered in `ms`.
Changed Answered(int first, int ms) {
  Changed changed;
  for (int cycle = first; cycle < first + 10; ++cycle) changed.push_back({cycle, {ms, ms, ms}});
  return changed;
}

Changed Join(Changed a, const Changed& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

// Every other cycle of ten from `first` on answered once in `ms`, the others lost
// whole: five replies in ten cycles, each lost cycle an outage of one.
Changed AnsweredEveryOther(int first, int ms) {
  Changed changed;
  for (int cycle = first; cycle < first + 10; ++cycle) {
    changed.push_back({cycle, cycle % 2 == 0 ? std::vector<int>{ms, kTimeout, kTimeout}
                                             : std::vector<int>{kTimeout, kTimeout, kTimeout}});
  }
  return changed;
}

// A host of one-minute cycles (or `step` seconds), replies of 10 ms, with chosen cycles
// changed: the rule's bounds on either side (a tenth of the requests in two cycles or
// more, and unlikely at the usual 0.5 %; 20 ms and twice slower, over five replies), a
// lost cycle alone, which is noise, and an outage of more than a cycle, which is not
// loss. A stretch runs from its first bad cycle to where the cycle after its last was due.
TEST(FindDegradationsTest, TakesLossAndSlownessBeyondTheUsualOnlyPastTheRulesBounds) {
  const struct {
    const char* situation;
    Changed changed;
    std::size_t stretches = 0;
    bool loss = false, slow = false;
    int from = 0, last = 0;  // the stretch's first and last bad cycle
    int step = 60;
    std::array<int, 2> missing = {0, 0};  // cycles [from, to) not logged
  } cases[] = {
      {.situation = "four cycles of ten lose one request each: 13 %, by chance 1 in 65,000",
       .changed = {{21, {10, kTimeout, 10}},
                   {23, {10, kTimeout, 10}},
                   {25, {10, kTimeout, 10}},
                   {27, {10, kTimeout, 10}}},
       .stretches = 1,
       .loss = true,
       .from = 21,
       .last = 27},
      {.situation = "three cycles of ten lose one each: 10 %, by chance 1 in 2,200",
       .changed = {{21, {10, kTimeout, 10}}, {23, {10, kTimeout, 10}}, {25, {10, kTimeout, 10}}}},
      {.situation = "two cycles lose two each: 13 % in two cycles",
       .changed = {{21, {10, kTimeout, kTimeout}}, {24, {kTimeout, 10, kTimeout}}},
       .stretches = 1,
       .loss = true,
       .from = 21,
       .last = 24},
      {.situation = "one cycle loses all three: one lost cycle is no degradation",
       .changed = {{22, {kTimeout, kTimeout, kTimeout}}}},
      {.situation = "two cycles lose one each before an outage of two: the outage is no loss",
       .changed = {{20, {10, kTimeout, 10}},
                   {22, {10, kTimeout, 10}},
                   {24, {kTimeout, kTimeout, kTimeout}},
                   {25, {kTimeout, kTimeout, kTimeout}}}},
      {.situation = "ten cycles answered in 30 ms: 20 ms above and thrice the usual 10 ms",
       .changed = Answered(20, 30),
       .stretches = 1,
       .slow = true,
       .from = 20,
       .last = 29},
      {.situation = "slow before and after five cycles not logged: two stretches, not one",
       .changed = Join(Answered(20, 30), Answered(35, 30)),
       .stretches = 2,
       .missing = {30, 35}},
      {.situation = "slow to the log's last cycle",
       .changed = Answered(50, 30),
       .stretches = 1,
       .slow = true,
       .from = 50,
       .last = 59},
      {.situation = "ten cycles answered in 29 ms: 19 ms above the usual",
       .changed = Answered(20, 29)},
      {.situation = "five replies in ten cycles, all slow: the least that tells a median",
       .changed = AnsweredEveryOther(20, 40),
       .stretches = 1,
       .loss = true,
       .slow = true,
       .from = 20,
       .last = 29},
      {.situation = "cycles five seconds apart: halves of seven cycles (30 s), five lost of 42",
       .changed = {{14, {10, kTimeout, 10}},
                   {17, {10, kTimeout, 10}},
                   {20, {10, kTimeout, 10}},
                   {23, {10, kTimeout, 10}},
                   {27, {10, kTimeout, 10}}},
       .stretches = 1,
       .loss = true,
       .from = 14,
       .last = 27,
       .step = 5},
  };
  const CalendarTime t = ComposeTime(2021, 3, 1, 12, 0, 0);
  for (const auto& c : cases) {
    SCOPED_TRACE(c.situation);
    LogSet logs;
    logs.files = {"a.log"};
    logs.hosts = {"router1"};
    std::vector<Entry> entries;
    for (int i = 0; i < 60; ++i)
      entries.push_back(testing::MakeEntry(t + i * c.step, {10, 10, 10}));
    for (const auto& [cycle, items] : c.changed) {
      entries[cycle] = testing::MakeEntry(t + cycle * c.step, {items[0], items[1], items[2]});
    }
    entries.erase(entries.begin() + c.missing[0], entries.begin() + c.missing[1]);
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
      EXPECT_EQ(s.degradations.front().from, t + c.from * c.step);
      EXPECT_EQ(s.degradations.front().to, t + c.last * c.step + s.period);
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
