#include <gtest/gtest.h>

#include "report/report_fixture.h"
#include "report/write/page/detail_levels.h"

namespace pinglog::report {
namespace {

constexpr LogTime kDay = 86400;

// The levels a page of a period takes: none for ten days or less; up to the first
// level as wide as the whole period's buckets; every cycle from a multiple of the
// widest on, at least ten days; the finer levels reaching back less far.
TEST(DetailLevelsTest, LevelsAndTheirBoundsFollowThePeriod) {
  const LogTime start = ComposeTime(2025, 1, 1, 0, 0, 0);  // a Wednesday
  const LogTime week = 604800;
  const struct {
    LogTime span;
    std::int64_t interval;
    PageDetail detail;
    LogTime recent;  // 0: the axis's start, no levels
    std::vector<DetailLevel> levels;
  } cases[] = {
      {10 * kDay, 60, PageDetail::kLevels, 0, {}},
      {10 * kDay + 1800, 60, PageDetail::kLevels, start + 1800, {{1800, start}}},
      {10 * kDay + 1799, 60, PageDetail::kLevels, 0, {}},
      {40 * kDay, 60, PageDetail::kLevels, start + 30 * kDay, {{1800, start}, {7200, start}}},
      {365 * kDay, 60, PageDetail::kEveryCycle, 0, {}},
      {365 * kDay,
       60,
       PageDetail::kLevels,
       start + 355 * kDay,
       {{1800, start}, {7200, start}, {21600, start}, {86400, start}}},
      // An hourly log's whole-period buckets are wider: so are its levels.
      {200 * kDay,
       3600,
       PageDetail::kLevels,
       start + 190 * kDay,
       {{1800, start}, {7200, start}, {21600, start}}},
      // Three years: weeks too, every cycle from a Thursday (weeks count from 1970),
      // half an hour for the last 20000 of them before it.
      {3 * 365 * kDay,
       60,
       PageDetail::kLevels,
       (start + 1085 * kDay) / week * week,
       {{1800, (start + 1085 * kDay) / week * week - 20000 * 1800},
        {7200, start},
        {21600, start},
        {86400, start},
        {week, start / week * week}}},
  };
  for (const auto& c : cases) {
    const DetailLevels plan = PlanDetailLevels({0, start, start + c.span}, c.interval, c.detail);
    const std::string row = std::to_string(c.span) + " s";
    EXPECT_EQ(plan.recent, c.recent == 0 ? start : c.recent) << row;
    ASSERT_EQ(plan.levels.size(), c.levels.size()) << row;
    for (std::size_t i = 0; i < c.levels.size(); ++i) {
      EXPECT_EQ(plan.levels[i].width, c.levels[i].width) << row;
      EXPECT_EQ(plan.levels[i].start, c.levels[i].start) << row << ", " << c.levels[i].width;
    }
  }
}

// The lowest top first, then per bucket: cycles less those expected (zigzag), lost,
// not sent; for replies the minimum, the steps to p10 p25 p50 p75 p90 and the
// maximum, and the replies above each top from the lowest within them.
TEST(DetailLevelsTest, PacksABucketsCountsRoundTripsAndRepliesAboveEachTop) {
  const LogTime start = ComposeTime(2021, 1, 1, 0, 0, 0);
  const std::vector<Entry> entries = {
      testing::MakeEntry(start, {10, 20, 30}),
      testing::MakeEntry(start + 600, {900, testing::kRouter, -11010}),
      testing::MakeEntry(start + 1200, {-5, -5, -11010})};
  const DetailLevels plan{start + 3600, {{1800, start}}};
  // Lowest bulk 30 (p75 of 10 20 30 900): top 50 "yB". Bucket 1: 3 cycles as expected
  // "A", lost 3 "D", not sent 2 "C", 10 "K", +0 +0 +10 +10 +870 +0 "AAKKmbA", one
  // reply above 50, 100, 200, 500 "BBBB". Bucket 2: no cycle, 3 expected: -3 "F".
  const EntryStore store(entries);
  EXPECT_EQ(PackLevels(EntryList(store), plan, start + 3600, 600, 0), "yB ADCKAAKKmbABBBBF");
  // A top of the user's: that one alone (30 and 900 above 25 "C").
  EXPECT_EQ(PackLevels(EntryList(store), plan, start + 3600, 600, 25), "Z ADCKAAKKmbACF");
}

// A wider level's buckets hold what that level would hold alone, merged from the finer
// ones, whose own level may begin later; each level's buckets end at the recent part,
// counted with no interval known as empty buckets ("A") where nothing was logged, below
// the least top ("C", 2 ms).
TEST(DetailLevelsTest, PacksEachLevelAsIfItWereAlone) {
  const LogTime start = ComposeTime(2021, 1, 1, 0, 0, 0);
  std::vector<Entry> entries;
  for (int minute = 0; minute < 4 * 60; minute += 7) {
    entries.push_back(testing::MakeEntry(start + minute * 60, {minute % 50, -11010, minute}));
  }
  const EntryStore store(entries);
  const DetailLevel fine{1800, start + 7200}, wide{7200, start};
  const auto pack = [&](std::vector<DetailLevel> levels) {
    return PackLevels(EntryList(store), {start + 4 * 3600, levels}, start + 5 * 3600, 60, 40);
  };
  const std::string alone_fine = pack({fine}), alone_wide = pack({wide});
  EXPECT_EQ(pack({fine, wide}), alone_fine + alone_wide.substr(alone_wide.find(' ')));

  // Where nothing was logged, and a cycle of three time-outs exactly where the second
  // bucket begins: one cycle, three lost, none unsent, and no round trips ("CDA").
  const auto pack_of = [&](const std::vector<Entry>& of) {
    const EntryStore alone(of);
    return PackLevels(EntryList(alone), {start + 7200, {{1800, start}, wide}}, start + 21600, 0, 0);
  };
  EXPECT_EQ(pack_of({}), "C AAAA A");
  EXPECT_EQ(pack_of({testing::MakeEntry(start + 1800, {-11010, -11010, -11010})}), "C ACDAAA CDA");
}

// The replies above a top are counted from the bucket's lowest round trip on, and below
// its highest: 50, 100 and 200 ms ("yBAAyBkDAA": 50, then steps of 0, 0, 50, 100, 0, 0)
// have two above a top of 50 ("C"), and none counted above one of 200 ("oG") or of 40
// ("oB"), below them all.
TEST(DetailLevelsTest, CountsRepliesAboveTopsFromTheLowestToBelowTheHighest) {
  const LogTime start = ComposeTime(2021, 1, 1, 0, 0, 0);
  const std::vector<Entry> entries = {testing::MakeEntry(start, {50, 200, 100})};
  const EntryStore store(entries);
  const DetailLevels plan{start + 1800, {{1800, start}}};
  EXPECT_EQ(PackLevels(EntryList(store), plan, start + 3600, 0, 50), "yB CAAyBAAyBkDAAC");
  EXPECT_EQ(PackLevels(EntryList(store), plan, start + 3600, 0, 200), "oG CAAyBAAyBkDAA");
  EXPECT_EQ(PackLevels(EntryList(store), plan, start + 3600, 0, 40), "oB CAAyBAAyBkDAA");
}

}  // namespace
}  // namespace pinglog::report
