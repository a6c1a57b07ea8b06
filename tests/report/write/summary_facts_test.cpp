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

}  // namespace
}  // namespace pinglog::report
