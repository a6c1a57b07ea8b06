#include "report/model/timeline.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>

#include "tests/report/report_fixture.h"

namespace pinglog::report {
namespace {

constexpr LogTime kStart = 1700000000;
constexpr int kTimeout = -11010;

// A one-minute host on an axis of an hour in buckets of five minutes.
struct StripRow {
  const char* situation;
  int first = 0, last = 59;                // its first and last cycle, in minutes
  std::vector<int> lossy = {};             // minutes that lost one request of three
  std::array<int, 2> down = {0, 0};        // an outage [from, to), in seconds
  std::array<int, 2> no_entries = {0, 0};  // a gap [from, to), in minutes: no cycles
  std::vector<int> off_clock = {};         // minutes of entries stamped by a wrong clock
  const char* strip;  // a bucket each: answered, loss, down, no entries, nothing
};

char Letter(StripState state) {
  switch (state) {
    case StripState::kAnswered:
      return 'a';
    case StripState::kLoss:
      return 'l';
    case StripState::kDown:
      return 'd';
    case StripState::kNoEntries:
      return 'n';
    case StripState::kNone:
      break;
  }
  return '.';
}

std::string StripOf(const StripRow& row) {
  const auto has = [](const std::vector<int>& minutes, int m) {
    return std::find(minutes.begin(), minutes.end(), m) != minutes.end();
  };
  std::vector<Entry> entries;
  for (int m = row.first; m <= row.last; ++m) {
    if (m >= row.no_entries[0] && m < row.no_entries[1]) continue;
    const bool down = m * 60 >= row.down[0] && m * 60 < row.down[1];
    entries.push_back(testing::MakeEntry(
        kStart + m * 60, down ? std::initializer_list<int>{kTimeout, kTimeout, kTimeout}
                         : has(row.lossy, m) ? std::initializer_list<int>{10, kTimeout, 10}
                                             : std::initializer_list<int>{10, 10, 10}));
  }
  for (const int m : row.off_clock) {
    entries.push_back(testing::MakeEntry(kStart + m * 60, {10, 10, 10}));
    entries.back().off_clock = true;
  }
  std::sort(entries.begin(), entries.end(),
            [](const Entry& a, const Entry& b) { return a.time < b.time; });
  const EntryStore store(entries);
  Report report;
  HostReport& host = report.hosts.emplace_back();
  host.entries = EntryList(store);
  host.summary.interval_minutes = 1;
  host.summary.period = 60;
  if (row.down[1] > row.down[0]) {
    host.summary.outages.push_back(
        {kStart + row.down[0], kStart + row.down[1], 1, OutageEnd::kAnswered});
  }
  if (row.no_entries[1] > row.no_entries[0]) {
    Gap& gap = host.summary.gaps.emplace_back();
    gap.after = kStart + (row.no_entries[0] - 1) * 60;
    gap.start = kStart + row.no_entries[0] * 60;
    gap.before = kStart + row.no_entries[1] * 60;
  }
  ChartOptions axis;
  axis.axis_start = kStart;
  axis.axis_end = kStart + 3600;
  const Timeline timeline = BuildTimeline(report, axis, 12);
  EXPECT_EQ(timeline.width, 300);
  std::string strip;
  for (const StripState state : timeline.strips.at(0)) strip += Letter(state);
  return strip;
}

// A bucket takes the worst state of any of its time; its edges are its first second
// and the next bucket's first.
TEST(BuildTimelineTest, GivesEachBucketTheWorstOfItsTime) {
  const StripRow rows[] = {
      {.situation = "an hour answered", .strip = "aaaaaaaaaaaa"},
      {.situation = "one request lost at 00:07", .lossy = {7}, .strip = "alaaaaaaaaaa"},
      {.situation = "an outage ending on a bucket's edge",
       .down = {600, 900},
       .strip = "aadaaaaaaaaa"},
      {.situation = "an outage a second longer", .down = {600, 901}, .strip = "aaddaaaaaaaa"},
      {.situation = "an outage from a bucket's last second",
       .down = {599, 900},
       .strip = "addaaaaaaaaa"},
      {.situation = "down outranks a loss",
       .lossy = {11},
       .down = {720, 780},
       .strip = "aadaaaaaaaaa"},
      {.situation = "an outage past the axis's end", .down = {3300, 4000}, .strip = "aaaaaaaaaaad"},
      {.situation = "no entries for two buckets", .no_entries = {20, 30}, .strip = "aaaannaaaaaa"},
      {.situation = "a gap from within a bucket with entries",
       .no_entries = {22, 30},
       .strip = "aaaaanaaaaaa"},
      {.situation = "a log begun at 00:30", .first = 30, .strip = "......aaaaaa"},
      {.situation = "a log ended at 00:29, then an entry of a wrong clock",
       .last = 29,
       .off_clock = {40},
       .strip = "aaaaaa......"},
  };
  for (const StripRow& row : rows) {
    EXPECT_EQ(StripOf(row), row.strip) << row.situation;
  }
}

}  // namespace
}  // namespace pinglog::report
