#include "report/write/summary_facts.h"

#include <gtest/gtest.h>

#include "report/report_fixture.h"

namespace pinglog::report {
namespace {

std::string Fact(const HostSummary& s, const std::string& heading) {
  for (const auto& fact : SummaryFacts(s, {"a.log"})) {
    if (fact.heading != heading) continue;
    std::string text;
    for (const std::string& line : fact.lines) text += line + "\n";
    return text;
  }
  return "(none)";
}

// The words a reader takes to a provider, on the hand-worked sample: downtime and
// availability, and a gap that may be an outage when the host is a name.
TEST(SummaryFactsTest, SaysDowntimeAndWhyAGapMayBeThere) {
  const EntryStore entries(testing::SampleEntries());
  const HostSummary named = Summarize("router1", EntryList(entries), {});
  EXPECT_EQ(Fact(named, "Downtime"),
            "down 2 min (in 1 outage); available 71.56 % of the time observed (7 min 2 s: the "
            "period less the gaps)\n");
  EXPECT_EQ(
      Fact(named, "Missing"),
      "2 cycles in 1 gap\n21.03.2021 11:01:01 to 21.03.2021 11:03:00 (1 min 59 s, 2 missing; the "
      "logger was not running, or the name could not be looked up)\n");
  const HostSummary numeric = Summarize("192.0.2.1", EntryList(entries), {});
  EXPECT_EQ(
      Fact(numeric, "Missing"),
      "2 cycles in 1 gap\n21.03.2021 11:01:01 to 21.03.2021 11:03:00 (1 min 59 s, 2 missing)\n");
  EXPECT_EQ(Fact(named, "From routers"),
            "198.51.100.254, a router on the way, answered 1 request in place of the host (it "
            "could not pass it on): counted as lost\n  21.03.2021 11:03:00: 1 reply\n");
}

// Where a list is long, the longest 20 are listed in time order and the rest counted
// (a router's spans: 5); of lists alike, the first. Outages of one cycle are counted,
// not listed, unless still open.
TEST(SummaryFactsTest, ListsTheLongestAndCountsTheRest) {
  const LogTime t0 = ComposeTime(2021, 3, 1, 0, 0, 0);
  const Address router{198, 51, 100, 254};
  // `n` of a kind an hour apart, the i-th `grows` seconds (outages: cycles) longer than
  // the one before.
  const auto summary = [&](const char* kind, int n, int grows = 1, int cycles = 2) {
    HostSummary s;
    for (int i = 0; i < n; ++i) {
      const LogTime at = t0 + i * 3600, end = at + 600 + i * grows;
      if (kind == std::string("gaps")) s.gaps.push_back({at - 60, end, at, 9});
      if (kind == std::string("outages"))
        s.outages.push_back({at, end, cycles + i * grows, OutageEnd::kAnswered});
      if (kind == std::string("spans")) s.router_spans[router].push_back({at, end, i + 1, false});
      s.routers[router] += kind == std::string("spans") ? i + 1 : 0;
    }
    return s;
  };
  HostSummary open = summary("outages", 1, 1, 1);
  open.outages[0].ends = OutageEnd::kOpen;
  const struct {
    const char* situation;
    HostSummary s;
    const char* heading;
    std::size_t lines;  // the fact's, its first included
    std::string first_listed, last;
  } rows[] = {
      {"20 gaps", summary("gaps", 20), "Missing", 21, "01.03.2021 00:00:00", "01.03.2021 19:00:00"},
      {"21 gaps", summary("gaps", 21), "Missing", 22, "01.03.2021 01:00:00",
       "... and 1 shorter one (--json lists them all)"},
      {"21 gaps alike", summary("gaps", 21, 0), "Missing", 22, "01.03.2021 00:00:00",
       "... and 1 shorter one (--json lists them all)"},
      {"20 outages", summary("outages", 20), "Outages", 21, "01.03.2021 19:00:00",
       "01.03.2021 00:00:00"},
      {"21 outages", summary("outages", 21), "Outages", 22, "01.03.2021 20:00:00",
       "... and 1 shorter one (--json lists them all)"},
      {"an outage of one cycle", summary("outages", 1, 1, 1), "Outages", 1, "", ""},
      {"an outage of one cycle, still open", open, "Outages", 2, "01.03.2021 00:00:00",
       "01.03.2021 00:00:00 to 01.03.2021 00:10:00 (1 cycle, 10 min; still down at the last "
       "entry)"},
      {"5 spans of a router", summary("spans", 5), "From routers", 6, "  01.03.2021 00:00:00",
       "  01.03.2021 04:00:00 to 01.03.2021 04:10:04: 5 replies"},
      {"6 spans of a router", summary("spans", 6), "From routers", 7, "  01.03.2021 01:00:00",
       "  ... and 1 shorter one (--json lists them all)"},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.situation);
    const std::string text = Fact(row.s, row.heading);
    std::vector<std::string> lines;
    for (std::size_t at = 0, end; (end = text.find('\n', at)) != std::string::npos; at = end + 1)
      lines.push_back(text.substr(at, end - at));
    ASSERT_EQ(lines.size(), row.lines) << text;
    if (row.lines < 2) continue;
    EXPECT_EQ(lines[1].substr(0, row.first_listed.size()), row.first_listed) << text;
    EXPECT_EQ(lines.back().substr(0, row.last.size()), row.last) << text;
  }
}

// The words at each edge: a gap with no cycle missing, a window that ends at midnight
// without replies, a host without replies, a stretch of two loggers.
TEST(SummaryFactsTest, SaysEachEdgeInWords) {
  const LogTime t0 = ComposeTime(2021, 3, 1, 0, 0, 0);
  HostSummary s;
  s.first = t0;
  s.last = t0 + 7200;
  s.files = {0};
  s.gaps.push_back({t0, t0 + 100, t0 + 60, 0});
  s.logger_stretches.push_back({t0 + 600, t0 + 4200, 2});
  EXPECT_NE(Fact(s, "Missing").find("(40 s, 0 missing;"), std::string::npos);
  EXPECT_EQ(Fact(s, "Loggers"),
            "two loggers wrote to a.log at once 01.03.2021 00:10:00 to 01.03.2021 01:10:00 (1 h, "
            "50 % of the period): stop one. The cycles of each count.\n");
  EXPECT_EQ(HeadlineLines(s, 0).front().find("median"), std::string::npos);
  WorstHours worst;
  worst.from = 22;
  worst.to = 0;
  EXPECT_EQ(WorstHoursLine(worst),
            "Every day 22\u201324 h: loss 0.0 %, no replies on 0 of 0 days; other hours 0.0 %, no "
            "replies.");
}

}  // namespace
}  // namespace pinglog::report
