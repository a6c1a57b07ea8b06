#include "report/write/openmetrics.h"

#include <gtest/gtest.h>

#include <sstream>

#include "report/report_fixture.h"

namespace pinglog::report {
namespace {

// The cycles counter's samples, "VALUE TIME" each, of logs written in Berlin: each
// log's times in its order, the logs in the order given.
std::vector<std::string> CycleSamples(const std::vector<std::vector<CalendarTime>>& logs_given,
                                      std::int64_t& backwards) {
  LogSet logs;
  logs.hosts = {"router1"};
  for (const std::vector<CalendarTime>& times_in_log_order : logs_given) {
    logs.files.push_back(std::to_string(logs.files.size()) + ".log");
    std::uint32_t line = 0;
    for (const CalendarTime time : times_in_log_order) {
      Entry entry = testing::MakeEntry(time, {10, 10, 10});
      entry.file = static_cast<std::uint16_t>(logs.files.size() - 1);
      entry.line = ++line;
      logs.entries.push_back(entry);
    }
  }
  SortByHostAndTime(logs);
  std::ostringstream out;
  backwards = WriteOpenMetrics(out, BuildReport(std::move(logs), {}), ZoneTime("Europe/Berlin"));
  std::vector<std::string> samples;
  std::istringstream in(out.str());
  const std::string prefix = "pinglog_cycles_total{host=\"router1\"} ";
  for (std::string text; std::getline(in, text);) {
    if (text.rfind(prefix, 0) == 0) samples.push_back(text.substr(prefix.size()));
  }
  EXPECT_EQ(out.str().substr(out.str().size() - 6), "# EOF\n");
  return samples;
}

TEST(OpenMetricsTest, OneSamplePerSecondCumulativeInOrderNothingDropped) {
  const CalendarTime t = ComposeTime(2021, 10, 31, 2, 59, 59);  // 00:59:59 UTC, CEST
  const std::int64_t u = 1635641999;
  const CalendarTime s = ComposeTime(2021, 7, 1, 12, 0, 0);  // summer, no hour repeated
  const std::int64_t v = 1625133600;
  const struct {
    const char* situation;
    std::vector<std::vector<CalendarTime>> logs;
    std::vector<std::string> samples;
    std::int64_t backwards;
  } cases[] = {
      {"cycles of one second merge",
       {{t - 10, t - 10, t - 10, t - 9}},
       {"3 " + std::to_string(u - 10), "4 " + std::to_string(u - 9)},
       0},
      {"the repeated hour in the order of the log",
       {{t, t - 3599, t}},
       {"1 " + std::to_string(u), "2 " + std::to_string(u + 1), "3 " + std::to_string(u + 3600)},
       0},
      {"a step back goes into the next sample",
       {{s - 60, s - 120, s}},
       {"1 " + std::to_string(v - 60), "3 " + std::to_string(v)},
       1},
      {"a step back at the end goes into the last sample",
       {{s - 60, s, s - 3600}},
       {"1 " + std::to_string(v - 60), "3 " + std::to_string(v)},
       1},
      {"rotated logs given newest first are taken oldest first",
       {{s + 60, s + 120}, {s - 60, s}},
       {"1 " + std::to_string(v - 60), "2 " + std::to_string(v), "3 " + std::to_string(v + 60),
        "4 " + std::to_string(v + 120)},
       0},
  };
  for (const auto& c : cases) {
    std::int64_t backwards = 0;
    EXPECT_EQ(CycleSamples(c.logs, backwards), c.samples) << c.situation;
    EXPECT_EQ(backwards, c.backwards) << c.situation;
  }
}

// A host looked up at a new address keeps one series per family; the address is an
// info series of its own, present while current, with the host's name; --label goes on
// every series, the name on the info series only.
TEST(OpenMetricsTest, ANewAddressDoesNotSplitTheCounters) {
  const CalendarTime s = ComposeTime(2021, 7, 1, 12, 0, 0);
  const std::int64_t v = 1625133600;  // s in Berlin
  LogSet logs;
  logs.files = {"a.log"};
  logs.hosts = {"router1"};
  for (int i = 0; i < 3; ++i) {
    Entry entry = testing::MakeEntry(s + 60 * i, {10, 10, testing::kTimedOut});
    if (i == 2) entry.target = {192, 0, 2, 7};
    entry.line = static_cast<std::uint32_t>(i + 1);
    logs.entries.push_back(entry);
  }
  Report report = BuildReport(std::move(logs), {});
  report.hosts[0].summary.name = "gw";
  std::ostringstream out;
  WriteOpenMetrics(out, report, ZoneTime("Europe/Berlin"),
                   {{"job", "pinglog"}, {"instance", "pc1:9100"}});
  std::vector<std::string> cycles, info, failures;
  std::istringstream in(out.str());
  for (std::string line; std::getline(in, line);) {
    if (line.rfind("pinglog_cycles_total{", 0) == 0) cycles.push_back(line);
    if (line.rfind("pinglog_target_info{", 0) == 0) info.push_back(line);
    if (line.rfind("pinglog_failures_total{", 0) == 0) failures.push_back(line);
  }
  const std::string labels = "{host=\"router1\",job=\"pinglog\",instance=\"pc1:9100\"";
  const std::string t0 = std::to_string(v), t1 = std::to_string(v + 60),
                    t2 = std::to_string(v + 120);
  EXPECT_EQ(cycles, (std::vector<std::string>{"pinglog_cycles_total" + labels + "} 1 " + t0,
                                              "pinglog_cycles_total" + labels + "} 2 " + t1,
                                              "pinglog_cycles_total" + labels + "} 3 " + t2}));
  const std::string old_address =
      "pinglog_target_info" + labels + ",address=\"192.0.2.1\",name=\"gw\"} 1 ";
  EXPECT_EQ(info, (std::vector<std::string>{old_address + t0, old_address + t1,
                                            "pinglog_target_info" + labels +
                                                ",address=\"192.0.2.7\",name=\"gw\"} 1 " + t2}));
  ASSERT_FALSE(failures.empty());
  EXPECT_EQ(failures.front().find("name="), std::string::npos);
}

}  // namespace
}  // namespace pinglog::report
