#include "report/model/incidents.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "report/model/path_order.h"
#include "report/report_fixture.h"
#include "report/write/incident_words.h"

namespace pinglog::report {
namespace {

using HostRow = testing::MinuteHost;

constexpr LogTime kStart = 1700000000;

// A report of the hosts in path order, with its incidents and what they say of gaps.
Report ReportOf(const std::vector<HostRow>& rows) {
  Report report;
  testing::AddMinuteHosts(report, rows, kStart);
  OrderHosts(report.hosts, {});
  report.incidents = FindIncidents(report.hosts);
  ExplainGaps(report.incidents, report.hosts);
  return report;
}

// Incidents are what really overlapped, placed along the tree: siblings never one
// behind another, a single lost cycle alone no incident, hosts down in turn or again
// and again said so, any number of hosts. The hosts come in every order of the logs.
TEST(FindIncidentsTest, SaysWhatFailedAtOnceAndWhereAlongTheTree) {
  const std::vector<HostRow> path = {
      {"router", 1, 1, {}}, {"isp", 2, 2, {}}, {"remote1", 3, 3, {}}, {"remote2", 4, 3, {}}};
  const auto with = [&](std::vector<HostRow> rows, const char* name,
                        std::vector<std::array<int, 2>> down) {
    for (HostRow& row : rows) {
      if (row.name == name) row.down = down;
    }
    return rows;
  };
  // Every host of `rows` down for the cycle at `minute` but `name`, whose log runs
  // from `first` to `last` (minutes).
  const auto all_but = [&](const char* name, int minute, int first, int last) {
    std::vector<HostRow> rows = path;
    for (HostRow& row : rows) {
      if (row.name != name) row.down = {{minute, minute + 1}};
      if (row.name == name) row.first = first, row.last = last;
    }
    return rows;
  };
  const struct {
    const char* situation;
    std::vector<HostRow> hosts;
    std::vector<std::string> says;  // each incident's verdict, by time
  } cases[] = {
      {"one of two siblings down: that host alone, no link between them",
       with(path, "remote1", {{{60, 90}}}),
       {"only remote1 was down: the fault is at that host or on its own path"}},
      {"siblings down together: the link before them",
       with(with(path, "remote1", {{{60, 90}}}), "remote2", {{{60, 91}}}),
       {"isp answered, everything beyond it was down: the fault lies between isp and the hosts "
        "behind it (remote1 and remote2)"}},
      {"all down at one moment, the nearest first",
       with(with(with(with(path, "router", {{{60, 90}}}), "isp", {{{60, 91}}}), "remote1",
                 {{{61, 92}}}),
            "remote2", {{{61, 92}}}),
       {"all 4 hosts down, the nearest host router (1 hop) too: the fault is at router or "
        "between this machine and it"}},
      {"a single cycle lost alone, or by two of four hosts at once, is no incident; by all it is",
       with(with(with(with(path, "remote1", {{{60, 61}, {300, 301}, {600, 601}}}), "remote2",
                      {{{300, 301}, {600, 601}}}),
                 "isp", {{{600, 601}}}),
            "router", {{{600, 601}}}),
       {"all 4 hosts down, the nearest host router (1 hop) too: the fault is at router or "
        "between this machine and it"}},
      {"a single cycle beginning as another host's longer outage ends is noise",
       with(with(path, "remote1", {{{60, 70}}}), "remote2", {{{70, 71}}}),
       {"only remote1 was down: the fault is at that host or on its own path"}},
      {"a single cycle ending as another host's longer outage begins is noise",
       with(with(path, "remote1", {{{60, 70}}}), "remote2", {{{59, 60}}}),
       {"only remote1 was down: the fault is at that host or on its own path"}},
      {"every host losing a single cycle in turn, never at once, is noise",
       with(with(with(with(path, "router", {{{60, 61}}}), "isp", {{{61, 62}}}), "remote1",
                 {{{62, 63}}}),
            "remote2", {{{63, 64}}}),
       {}},
      {"a single cycle lost by all but a host whose log began with that cycle is noise",
       all_but("remote2", 600, 600, 1439),
       {}},
      {"and by all whose logs ran then, the last one's log having ended as it began, counts",
       all_but("remote2", 600, 0, 599),
       {"all 3 hosts down, the nearest host router (1 hop) too: the fault is at router or "
        "between this machine and it"}},
      {"down one after another, never at once",
       with(with(path, "isp", {{{60, 70}}}), "remote1", {{{70, 80}}}),
       {"isp and remote1 down one after another, at most 1 at once, while router and remote2 "
        "answered: no one place explains it"}},
      {"alternating again and again: flapping, each host's share",
       with(with(path, "router", {{{0, 9}, {20, 29}, {40, 49}}}), "remote1",
            {{{8, 20}, {28, 40}, {48, 60}}}),
       {"flapping, at most 2 of 2 hosts down at once: router down 3 times (45 % of the time), "
        "remote1 down 3 times (60 %)"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.situation);
    std::vector<std::size_t> order(c.hosts.size());
    for (std::size_t i = 0; i < order.size(); ++i) order[i] = i;
    do {
      std::vector<HostRow> rows;
      for (const std::size_t i : order) rows.push_back(c.hosts[i]);
      Report report;
      testing::AddMinuteHosts(report, rows, kStart);
      OrderHosts(report.hosts, {});
      report.incidents = FindIncidents(report.hosts);
      std::vector<std::string> says;
      for (const Incident& incident : report.incidents)
        says.push_back(VerdictText(incident, report));
      ASSERT_EQ(says, c.says);
    } while (std::next_permutation(order.begin(), order.end()));
  }
}

// Each bound the incidents read, on both sides: a log that begins or ends exactly where
// an incident does, the entries at an incident's first and last minute, the number of
// hosts listed one by one, two hosts; and gaps beside outages.
TEST(FindIncidentsTest, EdgesOfLogsOfCountsAndOfGaps) {
  const HostRow router{.name = "router", .number = 1, .hops = 1, .down = {}};
  const HostRow isp{.name = "isp", .number = 2, .hops = 2, .down = {{{60, 90}}}};
  const HostRow remote{.name = "remote", .number = 3, .hops = 3, .down = {{{60, 90}}}};
  const auto log_from_to = [](HostRow row, int first, int last) {
    row.first = first, row.last = last;
    return row;
  };
  const auto down_router = [&](int first, int last) {
    HostRow r = log_from_to(router, first, last);
    r.down = {{{60, 90}}};
    return r;
  };
  const std::string kDown = "down 14.11.2023 23:13:20 to 14.11.2023 23:43:20";
  const std::string kRouterAnswered =
      "router answered, everything beyond it was down: the fault lies between router and isp";
  const struct {
    const char* situation;
    std::vector<HostRow> hosts;
    std::vector<std::string> says;  // each incident's verdict, then each listed host
  } cases[] = {
      {"two hosts are enough for an incident",
       {router, remote},
       {"only remote was down: the fault is at that host or on its own path",
        "router: answered (0.00 % loss)", "remote: " + kDown}},
      {"a log beginning exactly as the outage ends was not logging then",
       {log_from_to(router, 90, 1439), isp, remote},
       {"all 2 hosts down, the nearest host isp (2 hops) too: the fault is at isp or between "
        "this machine and it",
        "router: not logging then (outside its log's period)", "isp: " + kDown,
        "remote: " + kDown}},
      {"a log beginning a minute before it ends answered that minute",
       {log_from_to(router, 89, 1439), isp, remote},
       {kRouterAnswered, "router: answered (0.00 % loss)", "isp: " + kDown, "remote: " + kDown}},
      {"a log whose last cycle ran out exactly as the outage began was not logging then",
       {log_from_to(router, 0, 59), isp, remote},
       {"all 2 hosts down, the nearest host isp (2 hops) too: the fault is at isp or between "
        "this machine and it",
        "router: not logging then (outside its log's period)", "isp: " + kDown,
        "remote: " + kDown}},
      {"one whose last cycle ran into it answered",
       {log_from_to(router, 0, 60), isp, remote},
       {kRouterAnswered, "router: answered (0.00 % loss)", "isp: " + kDown, "remote: " + kDown}},
      {"a gap and then an outage of one host are one failure, not flapping",
       {router,
        [&] {
          HostRow r = isp;
          r.gaps = {{{50, 60}}};
          return r;
        }(),
        remote},
       {kRouterAnswered, "router: answered (0.00 % loss)", "isp: " + kDown, "remote: " + kDown}},
      {"what answered hosts lost counts from the incident's first minute to its end, not past it",
       {[&] {
          HostRow r = router;
          r.lossy = {59, 60, 89, 90};
          return r;
        }(),
        isp, remote},
       {kRouterAnswered, "router: answered (2.22 % loss)", "isp: " + kDown, "remote: " + kDown}},
      {"the nearest host down too, its log running through",
       {down_router(0, 1439), isp, remote},
       {"all 3 hosts down, the nearest host router (1 hop) too: the fault is at router or "
        "between this machine and it",
        "router: " + kDown, "isp: " + kDown, "remote: " + kDown}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.situation);
    const Report report = ReportOf(c.hosts);
    std::vector<std::string> says;
    for (const Incident& incident : report.incidents) {
      says.push_back(VerdictText(incident, report));
      for (const IncidentHost& h : incident.hosts)
        says.push_back(report.hosts[h.host].summary.host + ": " +
                       HostStateText(incident, h, report));
    }
    EXPECT_EQ(says, c.says);
  }
}

// Up to 30 hosts every one is listed, past that the failing ones; a gap is time not
// observed, whether its host is listed or not, and told by its own incident.
TEST(FindIncidentsTest, ListsEveryHostUpToThirtyAndCountsGapsUnobserved) {
  for (const int count : {30, 31}) {
    SCOPED_TRACE(count);
    std::vector<std::string> names;
    for (int i = 0; i < count; ++i) names.push_back("h" + std::to_string(i));
    std::vector<HostRow> rows;
    for (int i = 0; i < count; ++i) rows.push_back({names[i].c_str(), 1 + i, i == 0 ? 1 : 2, {}});
    rows[1].down = {{{60, 90}}};
    rows[2].gaps = {{{60, 90}}, {{200, 230}}};  // the line down; then the others wrote
    const Report report = ReportOf(rows);
    ASSERT_EQ(report.incidents.size(), 2u);
    EXPECT_EQ(report.incidents[0].hosts.size(), count == 30 ? 30u : 2u);
    EXPECT_EQ(OthersAnsweredText(report.incidents[0]),
              count == 30 ? "" : "the other 29 hosts answered (0.00 % loss)");
    EXPECT_EQ(UnobservedInIncidents(report.incidents, 2), 2 * 30 * 60);
    EXPECT_EQ(UnobservedInIncidents(report.incidents, 3), 0);
    EXPECT_EQ(report.hosts[2].summary.gaps[0].cause, GapCause::kLineDown);
    EXPECT_EQ(report.hosts[2].summary.gaps[1].cause, GapCause::kOthersWrote);
  }
}

// The words list the 20 longest incidents and count the rest.
TEST(FindIncidentsTest, ListsTwentyIncidentsAndCountsTheRest) {
  for (const int outages : {20, 21}) {
    std::vector<HostRow> rows = {{"router", 1, 1, {}}, {"h0", 2, 2, {}}};
    for (int i = 0; i < outages; ++i) rows[1].down.push_back({i * 60, i * 60 + 2});
    const Report report = ReportOf(rows);
    ASSERT_EQ(report.incidents.size(), static_cast<std::size_t>(outages));
    EXPECT_EQ(ListedIncidents(report).size(), 20u);
    EXPECT_EQ(MoreIncidentsText(report, 20),
              outages == 20 ? "" : "... and 1 shorter one (--json lists them all)");
  }
}

// Behind a router that answered, `down` of `hosts` down at once, the rest answering:
// up to four hosts each way are named in the verdict, more are counted.
TEST(FindIncidentsTest, CountsWhereHostsAreTooManyToName) {
  const struct {
    int hosts, down;
    std::string says;
  } rows[] = {
      {100, 99,
       "99 of 100 hosts behind router down (h0, h1, h2 and 96 more), the other 1 answered: no "
       "one place explains it"},
      {5, 4, "h0, h1, h2 and h3 down while router and h4 answered: no one place explains it"},
      {6, 5,
       "5 of 6 hosts behind router down (h0, h1, h2 and 2 more), the other 1 answered: no one "
       "place explains it"},
      {6, 3, "h0, h1 and h2 down while router, h3, h4 and h5 answered: no one place explains it"},
      {7, 3, "h0, h1 and h2 down while the other 5 answered: no one place explains it"},
      {3, 3,
       "router answered, everything beyond it was down: the fault lies between router and the "
       "hosts behind it (h0, h1 and h2)"},
      {4, 4,
       "router answered, everything beyond it was down (4 hosts): the fault lies between router "
       "and the hosts behind it (h0, h1, h2 and h3)"},
  };
  for (const auto& row : rows) {
    std::vector<HostRow> hosts = {{"router", 1, 1, {}}};
    for (int i = 0; i < row.hosts; ++i) {
      hosts.push_back({"h" + std::to_string(i), 2 + i, 5, {}});
      if (i < row.down) hosts.back().down = {{60, 90}};
    }
    Report report;
    testing::AddMinuteHosts(report, hosts, kStart);
    OrderHosts(report.hosts, {});
    report.incidents = FindIncidents(report.hosts);
    ASSERT_EQ(report.incidents.size(), 1u) << row.hosts;
    EXPECT_EQ(VerdictText(report.incidents.front(), report), row.says);
  }
}

}  // namespace
}  // namespace pinglog::report
