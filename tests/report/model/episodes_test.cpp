#include "report/model/episodes.h"

#include <gtest/gtest.h>

#include <string>

#include "report/report_fixture.h"

namespace pinglog::report {
namespace {

constexpr LogTime kStart = 1700000000;

// A host of one-minute cycles from its `first` to its `last` minute, replies taking
// `ms(minute)`, down (three time-outs) in `down`, degraded over `degraded` ([from, to)
// in minutes; its stretch, as FindDegradations would give it).
struct HostRow {
  int first = 0, last = 179;
  std::array<int, 2> down = {0, 0}, degraded = {0, 0};
};

int Ms(int minute) { return 1 + minute % 30; }

void FillHosts(Report& report, const std::vector<HostRow>& rows) {
  std::vector<std::size_t> sizes;
  for (std::size_t i = 0; i < rows.size(); ++i) {
    const HostRow& row = rows[i];
    HostReport& h = report.hosts.emplace_back();
    h.summary.host = "h" + std::to_string(i);
    h.summary.target = {10, 0, 0, static_cast<std::uint8_t>(i + 1)};
    h.summary.hops = 2;
    h.summary.period = 60;
    h.summary.first = kStart + row.first * 60;
    h.summary.last = kStart + row.last * 60;
    const auto [down_from, down_to] = row.down;
    if (down_to > down_from) {
      h.summary.outages.push_back({kStart + down_from * 60, kStart + down_to * 60,
                                   down_to - down_from, OutageEnd::kAnswered});
    }
    if (row.degraded[1] > row.degraded[0]) {
      Degradation& d = h.summary.degradations.emplace_back();
      d.from = kStart + row.degraded[0] * 60;
      d.to = kStart + row.degraded[1] * 60;
      d.slow = true;
    }
    const std::size_t before = report.logs.entries.size();
    for (int minute = row.first; minute <= row.last; ++minute) {
      const int ms = minute >= down_from && minute < down_to ? -11010 : Ms(minute);
      report.logs.entries.push_back(testing::MakeEntry(kStart + minute * 60, {ms, ms, ms}));
    }
    sizes.push_back(report.logs.entries.size() - before);
  }
  for (std::size_t h = 0, first = 0; h < rows.size(); first += sizes[h++])
    report.hosts[h].entries = EntryList(report.logs.entries, first, sizes[h]);
}

// Each episode's hosts, and what each counted meanwhile: longer outages left out (from
// their first cycle to the one that answered again), the median of the replies, a host
// without entries then not logging; with more than 30 hosts only the degraded listed.
TEST(FindEpisodesTest, CountsWhatEachHostDidMeanwhile) {
  const HostRow slow{.degraded = {60, 90}};
  const struct {
    const char* situation;
    std::vector<HostRow> hosts;
    std::string says;  // per listed host: degraded or not, cycles, lost, median
  } rows[] = {
      {"a slow host beside one that answered",
       {slow, {}},
       "h0 degraded 30 cycles 0 lost 15 ms; h1 30 cycles 0 lost 15 ms; 1 degraded, 1 other"},
      {"an outage of two cycles from the episode's start: left out to where it answered",
       {slow, {.down = {60, 62}}},
       "h0 degraded 30 cycles 0 lost 15 ms; h1 28 cycles 0 lost 16 ms; 1 degraded, 1 other"},
      {"an outage of one cycle counts as loss",
       {slow, {.down = {60, 61}}},
       "h0 degraded 30 cycles 0 lost 15 ms; h1 30 cycles 3 lost 16 ms; 1 degraded, 1 other"},
      {"a log that ended before: not logging",
       {slow, {}, {.last = 59}},
       "h0 degraded 30 cycles 0 lost 15 ms; h1 30 cycles 0 lost 15 ms; h2 not logging; 1 "
       "degraded, 1 other"},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.situation);
    Report report;
    FillHosts(report, row.hosts);
    const std::vector<Episode> episodes = FindEpisodes(report.hosts);
    ASSERT_EQ(episodes.size(), 1u);
    std::string says;
    for (const EpisodeHost& h : episodes[0].hosts) {
      says += report.hosts[h.host].summary.host + (h.degraded ? " degraded" : "");
      says += h.logging ? " " + std::to_string(h.requests.cycles) + " cycles " +
                              std::to_string(h.requests.lost) + " lost " +
                              std::to_string(h.median) + " ms; "
                        : " not logging; ";
    }
    says += std::to_string(episodes[0].degraded) + " degraded, " +
            std::to_string(episodes[0].others) + " other";
    EXPECT_EQ(says, row.says);
  }
}

// Past 30 hosts the others are counted, not listed: those whose logs ran then, a log
// that began exactly as the episode ended, or ended as it began, not among them.
TEST(FindEpisodesTest, CountsTheOthersPastThirtyHosts) {
  const struct {
    std::size_t hosts;
    int first, last;  // of the last host's log
    std::size_t listed;
    std::int64_t others;
  } rows[] = {
      {31, 90, 179, 1, 29}, {31, 89, 179, 1, 30}, {31, 0, 59, 1, 29},
      {31, 0, 60, 1, 30},   {30, 0, 179, 30, 29},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(std::to_string(row.hosts) + " hosts, the last logging from " +
                 std::to_string(row.first) + " to " + std::to_string(row.last));
    std::vector<HostRow> hosts(row.hosts);
    hosts[0].degraded = {60, 90};
    hosts.back().first = row.first;
    hosts.back().last = row.last;
    Report report;
    FillHosts(report, hosts);
    const std::vector<Episode> episodes = FindEpisodes(report.hosts);
    ASSERT_EQ(episodes.size(), 1u);
    EXPECT_EQ(episodes[0].hosts.size(), row.listed);
    EXPECT_EQ(episodes[0].degraded, 1);
    EXPECT_EQ(episodes[0].others, row.others);
  }
}

}  // namespace
}  // namespace pinglog::report
