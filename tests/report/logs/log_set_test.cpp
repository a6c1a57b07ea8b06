#include <gtest/gtest.h>

#include <algorithm>

#include "report/report_fixture.h"

namespace pinglog::report {
namespace {

// Logs in time order, overlapping logs, a clock set back, a log backwards, hosts
// whose logs interleave: ordered by host, then time, as a stable sort would order
// them (a host's same second in the order read).
TEST(SortByHostAndTimeTest, MergesRunsAsAStableSortWould) {
  const struct {
    const char* shape;
    std::vector<LogTime> times;        // in the order the logs were read
    std::vector<std::uint16_t> hosts;  // of each; none: all one host
  } cases[] = {
      {"one log in order", {1, 2, 2, 3, 5, 8}, {}},
      {"two logs one after the other", {1, 2, 3, 4, 5, 6}, {}},
      {"two overlapping logs", {1, 3, 5, 7, 2, 3, 4, 8}, {}},
      {"three logs, the last the earliest", {5, 6, 7, 3, 4, 9, 1, 2, 5}, {}},
      {"a clock set back twice", {10, 11, 12, 5, 6, 13, 1, 2, 14}, {}},
      {"a log backwards", {9, 8, 7, 6, 5, 5, 4, 3, 2, 1}, {}},
      {"nothing", {}, {}},
      {"two hosts' logs one after the other", {1, 2, 3, 1, 2, 3}, {0, 0, 0, 1, 1, 1}},
      {"a later host's log first", {1, 2, 3, 1, 2, 3}, {1, 1, 1, 0, 0, 0}},
      {"two hosts in one log", {1, 1, 2, 2, 3, 3, 3}, {0, 1, 1, 0, 0, 1, 0}},
      {"two hosts, one log rotated", {4, 5, 1, 2, 6, 3}, {0, 0, 1, 1, 0, 0}},
  };
  for (const auto& c : cases) {
    LogSet logs;
    logs.hosts = {"a", "b"};
    std::vector<Entry> expected;
    for (std::size_t i = 0; i < c.times.size(); ++i) {
      expected.push_back(
          testing::MakeEntry(c.times[i], {1, 1, 1}, c.hosts.empty() ? 0 : c.hosts[i]));
      expected.back().line = static_cast<std::uint32_t>(i);  // the order read
    }
    logs.entries = EntryStore(expected);
    std::stable_sort(expected.begin(), expected.end(), [](const Entry& a, const Entry& b) {
      return a.host != b.host ? a.host < b.host : a.time < b.time;
    });
    SortByHostAndTime(logs);
    ASSERT_EQ(logs.entries.size(), expected.size()) << c.shape;
    for (std::size_t i = 0; i < expected.size(); ++i) {
      EXPECT_EQ(logs.entries[i].line, expected[i].line) << c.shape << ", entry " << i;
    }
  }
}

// The same measurement read from two logs matches in every field of every attempt; a
// difference in any one is another measurement.
TEST(SameMeasurementTest, TellsADifferenceInAnyField) {
  const Entry entry = testing::MakeEntry(1700000000, {5, testing::kRouter, -11010});
  const struct {
    const char* differs;
    void (*change)(Entry&);
  } rows[] = {
      {"nothing", [](Entry&) {}},
      {"the time", [](Entry& e) { ++e.time; }},
      {"the host", [](Entry& e) { e.host = 1; }},
      {"the target",
       [](Entry& e) {
         e.target = {192, 0, 2, 2};
       }},
      {"a router's report or a reply", [](Entry& e) { e.attempts[1].outcome = Outcome::kReply; }},
      {"a TTL", [](Entry& e) { e.attempts[0].ttl = 63; }},
      {"the bytes", [](Entry& e) { e.attempts[0].bytes = 64; }},
      {"a round trip", [](Entry& e) { e.attempts[0].time_ms = 6; }},
      {"a router",
       [](Entry& e) {
         e.attempts[1].SetSource({198, 51, 100, 1});
       }},
      {"an error", [](Entry& e) { e.attempts[2].SetError(11003); }},
  };
  for (const auto& row : rows) {
    Entry other = entry;
    row.change(other);
    EXPECT_EQ(SameMeasurement(entry, other), row.differs == std::string("nothing")) << row.differs;
  }
}

}  // namespace
}  // namespace pinglog::report
