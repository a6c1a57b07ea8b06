#include "report/model/episodes.h"

#include <gtest/gtest.h>

#include <string>

#include "report/report_fixture.h"

namespace pinglog::report {
namespace {

constexpr LogTime kStart = 1700000000;

using HostRow = testing::MinuteHost;

int Ms(int minute) { return 1 + minute % 30; }

// The hosts of `rows` in `report`, replies taking `Ms(minute)`.
void FillHosts(Report& report, std::vector<HostRow> rows) {
  for (HostRow& row : rows) row.ms = Ms;
  testing::AddMinuteHosts(report, rows, kStart);
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
       {slow, {.down = {{60, 62}}}},
       "h0 degraded 30 cycles 0 lost 15 ms; h1 28 cycles 0 lost 16 ms; 1 degraded, 1 other"},
      {"an outage of one cycle counts as loss",
       {slow, {.down = {{60, 61}}}},
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
