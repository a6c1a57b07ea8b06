#include <gtest/gtest.h>

#include <nlohmann/json.hpp>
#include <sstream>

#include "report/report_fixture.h"
#include "report/write/csv.h"
#include "report/write/drawing/chart_layout.h"
#include "report/write/drawing/chart_svg.h"
#include "report/write/json.h"
#include "report/write/page/cycle_pack.h"
#include "report/write/page/html_page.h"
#include "report/write/text.h"

namespace pinglog::report {
namespace {

class ExportsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    logs_.files = {"a.log"};
    logs_.hosts = {"router1", "odd, \"quoted\" host"};
    std::vector<Entry> entries = testing::SampleEntries();
    entries.push_back(testing::MakeEntry(entries.back().time + 60, {1, 1, 1}, 1));
    for (Attempt& a : entries.back().attempts) a.ttl = 60;  // 4 hops: after router1
    logs_.entries = EntryStore(entries);
    report_ = BuildReport(std::move(logs_), {});
  }
  LogSet logs_;
  Report report_;
};

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

TEST_F(ExportsTest, CsvHasOneRowPerAttempt) {
  std::ostringstream out;
  WriteCsv(out, report_);
  const std::vector<std::string> lines = Lines(out.str());
  ASSERT_EQ(lines.size(), 1 + 3 * report_.logs.entries.size());
  EXPECT_EQ(lines[0],
            "time,host,resolved_address,attempt,outcome,source,bytes,time_ms,ttl,error\r");
  EXPECT_EQ(lines[1], "2021-03-21T10:58:00,router1,192.0.2.1,1,reply,192.0.2.1,32,10,64,\r");
  EXPECT_EQ(lines[6], "2021-03-21T10:59:00,router1,192.0.2.1,3,failure,,,,,11010\r");
  EXPECT_EQ(lines[11], "2021-03-21T11:03:00,router1,192.0.2.1,2,router,198.51.100.254,0,0,0,\r");
  EXPECT_EQ(
      lines.back(),
      "2021-03-21T11:07:00,\"odd, \"\"quoted\"\" host\",192.0.2.1,3,reply,192.0.2.1,32,1,60,\r");
}

// Hosts logged by several loggers at the same seconds: the rows go by time, and within
// a second in the order the logs were given, whatever order the hosts have.
TEST(CsvTest, RowsOfOneSecondFollowTheLogsOrder) {
  LogSet logs;
  logs.files = {"c.log", "b.log", "a.log"};
  logs.hosts = {"a", "b", "c"};
  const LogTime t = testing::SampleEntries().front().time;
  for (std::uint32_t file = 0; file < 3; ++file) {
    for (std::uint32_t line = 1; line <= 2; ++line) {
      Entry entry =
          testing::MakeEntry(t + 60 * line, {1, 1, 1}, static_cast<std::uint16_t>(2 - file));
      entry.file = file;
      entry.line = line;
      logs.entries.push_back(entry);
    }
  }
  SortByHostAndTime(logs);
  std::ostringstream out;
  WriteCsv(out, BuildReport(std::move(logs), {}));
  std::string hosts;
  for (const std::string& line : Lines(out.str())) {
    if (line.find(",1,reply,") != std::string::npos) hosts += line.substr(20, 1);
  }
  EXPECT_EQ(hosts, "cbacba");
}

TEST(CsvFieldTest, QuotesSeparatorsAndDisarmsFormulas) {
  const struct {
    const char* text;
    const char* cell;
  } cases[] = {
      {"router1", "router1"},
      {"", ""},
      {"a,b", "\"a,b\""},
      {"say \"hi\"", "\"say \"\"hi\"\"\""},
      {" padded", "\" padded\""},
      {"=HYPERLINK(\"x\")", "\"'=HYPERLINK(\"\"x\"\")\""},
      {"+1", "\"'+1\""},
      {"-2+3", "\"'-2+3\""},
      {"@SUM(A1)", "\"'@SUM(A1)\""},
      {"\tcmd", "\"'\tcmd\""},
      {"\rcmd", "\"'\rcmd\""},
      {"a=b", "a=b"},
      {"10.0.0.1", "10.0.0.1"},
  };
  for (const auto& c : cases) EXPECT_EQ(CsvField(c.text), c.cell) << c.text;
}

// The lines that are not entries: each kept one by its place, the rest counted.
TEST_F(ExportsTest, TextNamesTheLinesNotParsedAndCountsThoseNotKept) {
  for (const std::uint64_t count : {2, 3}) {
    report_.logs.unparsed = {{.file = 0, .line = 4}, {.file = 0, .line = 9}};
    report_.logs.unparsed_count = count;
    std::ostringstream out;
    WriteText(out, report_);
    const std::string text = out.str();
    EXPECT_NE(text.find("not counted): " + std::to_string(count) + "\n  a.log:4\n  a.log:9\n"),
              std::string::npos);
    EXPECT_EQ(text.find("  ... and ") == std::string::npos, count == 2);
    EXPECT_EQ(text.find("a.log:9\n  ... and 1 more\n") == std::string::npos, count == 2);
  }
}

TEST_F(ExportsTest, JsonHoldsTheSummaryAndTheTable) {
  WorstHours night;  // 22 h to midnight, without replies in it
  night.from = 22;
  night.to = 0;
  night.outside.replies = 5;
  night.outside.median = 7;
  report_.hosts[1].summary.worst_hours = night;
  std::ostringstream out;
  WriteJson(out, report_);
  const nlohmann::json report = nlohmann::json::parse(out.str());
  const nlohmann::json& host = report["hosts"][0];
  EXPECT_EQ(host["host"], "router1");
  EXPECT_EQ(host["first"], "2021-03-21T10:58:00");
  EXPECT_EQ(host["interval_minutes"], 1);
  EXPECT_EQ(host["cycles_expected"], 9);
  EXPECT_EQ(host["requests"]["lost"], 9);
  EXPECT_EQ(host["round_trip"]["median_ms"], 5);
  EXPECT_EQ(host["gaps"][0]["missing"], 2);
  EXPECT_EQ(host["outages"][0]["cycles"], 2);
  EXPECT_EQ(host["failures"][1]["name"], "request timed out");
  EXPECT_EQ(host["router_replies"][0]["address"], "198.51.100.254");
  EXPECT_EQ(host["per_day"][0]["requests"]["cycles"], 7);
  // 10:58:00 to 11:07:01 (the last cycle and its period of 61 s) less the gap from
  // 11:01:01 to 11:03:00: 422 s observed, of which the outage 11:04 to 11:06 took 120.
  EXPECT_EQ(host["uptime"]["observed_seconds"], 422);
  EXPECT_EQ(host["uptime"]["down_seconds"], 120);
  EXPECT_NEAR(host["uptime"]["available_percent"].get<double>(), 100.0 * 302 / 422, 1e-9);
  EXPECT_EQ(host["per_day"][0]["uptime"], host["uptime"]);
  EXPECT_EQ(host["loggers"], 1);
  EXPECT_EQ(report["hosts"][1]["host"], "odd, \"quoted\" host");
  EXPECT_EQ(host["worst_hours"], nullptr);
  const nlohmann::json& worst = report["hosts"][1]["worst_hours"];
  EXPECT_EQ(worst["from_hour"], 22);
  EXPECT_EQ(worst["to_hour"], 24);
  EXPECT_EQ(worst["median_ms"], nullptr);
  EXPECT_EQ(worst["other_median_ms"], 7);
}

// null stands for a figure there is none of, never for a count of 0: a gap of no
// missing cycle, a stretch or an episode's host without replies, a folded run of days
// on the heat map (named by its first day: b is logged on the 21st and the 26th).
TEST(JsonTest, SaysNullOnlyWhereThereIsNoFigure) {
  LogSet logs;
  logs.files = {"a.log"};
  logs.hosts = {"router1", "b"};
  std::vector<Entry> entries = testing::SampleEntries();
  const LogTime day = entries.front().time;
  entries.push_back(testing::MakeEntry(day, {1, 1, 1}, 1));
  entries.push_back(testing::MakeEntry(day + 5 * kSecondsPerDay, {1, 1, 1}, 1));
  logs.entries = EntryStore(entries);
  SortByHostAndTime(logs);
  Report report = BuildReport(std::move(logs), {});
  HostSummary& s = report.hosts[0].summary;  // either host: the episode names both
  s.gaps = {{.after = s.first, .before = s.first + 120, .start = s.first + 60, .missing = 0},
            {.after = s.first, .before = s.first + 60, .start = s.first + 60, .missing = -1}};
  s.degradations.resize(2);
  s.degradations[0].median = 3;  // no replies
  s.degradations[1].replies = 1;
  s.degradations[1].median = 4;
  report.incidents_sought = true;
  report.episodes.resize(1);
  report.episodes[0].hosts.resize(2);
  report.episodes[0].hosts[0].median = 3;  // no replies
  report.episodes[0].hosts[1] = {.host = 1, .requests = {}, .replies = 1, .median = 4};
  std::ostringstream out;
  WriteJson(out, report);
  const nlohmann::json json = nlohmann::json::parse(out.str());
  const auto host_named = [&](const std::string& name) {
    for (const nlohmann::json& host : json["hosts"]) {
      if (host["host"] == name) return host;
    }
    return nlohmann::json();
  };
  const nlohmann::json host = host_named(s.host);
  EXPECT_EQ(host["gaps"][0]["missing"], 0);
  EXPECT_EQ(host["gaps"][1]["missing"], nullptr);
  EXPECT_EQ(host["degradations"][0]["median_ms"], nullptr);
  EXPECT_EQ(host["degradations"][1]["median_ms"], 4);
  EXPECT_EQ(json["episodes"][0]["hosts"][0]["median_ms"], nullptr);
  EXPECT_EQ(json["episodes"][0]["hosts"][1]["median_ms"], 4);
  EXPECT_EQ(host_named("b")["heat_map"][1]["day"], "2021-03-22");
  EXPECT_EQ(host_named("b")["heat_map"][1]["days_without_entries"], 4);
}

TEST_F(ExportsTest, HtmlIsOneSelfContainedPageWithItsNumbersInTheChart) {
  std::ostringstream out;
  WriteHtml(out, report_, {});
  const std::string page = out.str();
  EXPECT_EQ(page.find("<link"), std::string::npos);
  EXPECT_EQ(page.find("src="), std::string::npos);
  EXPECT_NE(page.find("odd, &quot;quoted&quot; host"), std::string::npos);
  // One bucket a minute: the first holds 10, 20, 30; 11:01 and 11:02 are a gap; 11:04
  // and 11:05 an outage.
  EXPECT_NE(page.find("data-start=\"2021-03-21T10:58:00\" data-cycles=\"1\" data-sent=\"3\" "
                      "data-lost=\"0\" data-not-sent=\"0\" data-min=\"10\" data-median=\"20\" "
                      "data-max=\"30\""),
            std::string::npos);
  EXPECT_NE(page.find("data-start=\"2021-03-21T11:04:00\" data-cycles=\"1\" data-sent=\"3\" "
                      "data-lost=\"3\" data-not-sent=\"0\">"),
            std::string::npos);
  EXPECT_NE(page.find("<rect class=\"gap\""), std::string::npos);
  EXPECT_NE(page.find("<rect class=\"outage\""), std::string::npos);
  EXPECT_NE(page.find("<rect class=\"loss loss-"), std::string::npos);
}

// A page of `hosts` hosts, one cycle each at 10:58; the last one's requests all lost.
std::string PageOf(std::uint16_t hosts, const ChartOptions& axis = {}) {
  LogSet logs;
  logs.files = {"a.log"};
  const LogTime t = testing::SampleEntries().front().time;
  std::vector<Entry> entries;
  for (std::uint16_t h = 0; h < hosts; ++h) {
    logs.hosts.push_back("h" + std::to_string(100 + h));
    entries.push_back(
        h + 1 == hosts
            ? testing::MakeEntry(t, {testing::kTimedOut, testing::kTimedOut, testing::kTimedOut}, h)
            : testing::MakeEntry(t, {1, 2, 3}, h));
  }
  logs.entries = EntryStore(entries);
  std::ostringstream out;
  WriteHtml(out, BuildReport(std::move(logs), {}), axis);
  return out.str();
}

// Up to ten hosts the page draws each chart and titles each strip; from eleven on the
// charts are drawn as they come into view and the strips are compact. A host without
// replies has no median. The links to the usual spans offer those shorter than the
// period; before the last ten days the page holds each host's buckets by level.
TEST(HtmlPageTest, DrawsAFleetOnViewAndOffersTheSpansThatFit) {
  const std::string ten = PageOf(10), eleven = PageOf(11);
  EXPECT_EQ(testing::CountOf(ten, "data-drawn=\"on view\""), 0u);
  EXPECT_EQ(testing::CountOf(eleven, "data-drawn=\"on view\""), 11u);
  EXPECT_NE(ten.find("<g id=\"strips\">"), std::string::npos);
  EXPECT_NE(eleven.find("<g id=\"strips\" data-start="), std::string::npos);
  EXPECT_NE(ten.find("h109</a></td>"), std::string::npos);
  EXPECT_NE(ten.find("Median\">-</td>"), std::string::npos);

  const LogTime end = testing::SampleEntries().front().time + kSecondsPerHour;
  const struct {
    std::int64_t seconds;
    const char* spans;
  } periods[] = {
      {10 * kSecondsPerDay, "the last 3 hours, 30 hours, the whole period"},
      {10 * kSecondsPerDay + 1, "the last 3 hours, 30 hours, 10 days, the whole period"},
      {30 * kSecondsPerHour, "the last 3 hours, the whole period"},
  };
  for (const auto& p : periods) {
    const ChartOptions axis{.axis_start = end - p.seconds, .axis_end = end};
    const std::string page = PageOf(2, axis);
    std::string spans;
    for (const char* span : {"the last 3 hours", "30 hours", "10 days", "the whole period"}) {
      if (page.find(std::string("\">") + span + "</a>") != std::string::npos) {
        spans += (spans.empty() ? "" : ", ") + std::string(span);
      }
    }
    EXPECT_EQ(spans, p.spans) << p.seconds;
  }
  const ChartOptions month{.axis_start = end - 2 * kSecondsPerHour,
                           .axis_end = end + 29 * kSecondsPerDay};
  // After the top (5 ms), the first bucket: the cycle of 10:58 (1, 2 and 3 ms).
  EXPECT_NE(PageOf(2, month).find("\"levels-0\">F AACAABAABB"), std::string::npos);
}

TEST(BucketingTest, AYearOfCyclesTakesNaturalBucketsAtMostEightHundred) {
  std::vector<Entry> entries;
  const CalendarTime start = ComposeTime(2021, 1, 1, 0, 0, 0);
  for (int minute = 0; minute < 365 * 24 * 60; minute += 7) {
    entries.push_back(minute % 700 == 0  // a one-cycle outage about every 12 hours
                          ? testing::MakeEntry(start + minute * 60, {-11010, -11010, -11010})
                          : testing::MakeEntry(start + minute * 60, {5, 6, 7}));
  }
  const std::size_t cycles = entries.size();
  LogSet logs;
  logs.files = {"a.log"};
  logs.hosts = {"h"};
  logs.entries = EntryStore(entries);
  std::ostringstream out;
  WriteHtml(out, BuildReport(std::move(logs), {}), {});
  const std::string page = out.str();
  std::size_t buckets = 0;
  for (std::size_t at = page.find("class=\"bucket\""); at != std::string::npos;
       at = page.find("class=\"bucket\"", at + 1)) {
    ++buckets;
  }
  EXPECT_LE(buckets, 800u);
  EXPECT_GE(buckets, 700u);  // half days
  EXPECT_NE(page.find("data-bucket-seconds=\"43200\""), std::string::npos);
  // Outages shorter than a bucket darken the strip under the axis, not the plot.
  EXPECT_EQ(page.find("<rect class=\"outage\""), std::string::npos);
  EXPECT_NE(page.find("<rect class=\"outage-share\""), std::string::npos);
  // The chart, every cycle, and the heat map's hours.
  EXPECT_LT(page.size(), 600u * 1024 + 8 * cycles + 130 * 365 * 24);
}

// The time axis has a few ticks whatever it spans, up to the year 9999, each on a
// natural step.
TEST(ChartAxisTest, KeepsItsTicksFewWhateverTheSpan) {
  const LogTime start = ComposeTime(2021, 3, 1, 10, 0, 0);
  const struct {
    LogTime end;
    const char* first_label;
  } cases[] = {
      {start + 3600, "10:00"},
      {start + 7 * 86400, "02.03."},
      {ComposeTime(2022, 3, 1, 0, 0, 0), "04.2021"},
      {ComposeWideTime({2090, 1, 1, 0, 0, 0}), "2030"},
      {ComposeWideTime({9999, 12, 31, 23, 59, 59}), "3000"},
  };
  for (const auto& c : cases) {
    LogSet logs;
    logs.files = {"a.log"};
    logs.hosts = {"h"};
    logs.entries.push_back(testing::MakeEntry(start, {5, 6, 7}));
    const Report report = BuildReport(std::move(logs), {});
    std::ostringstream out;
    ChartOptions axis;
    axis.axis_start = start;
    axis.axis_end = c.end;
    WriteChart(out, report.hosts[0], axis);
    const std::string chart = out.str();
    std::vector<std::string> labels;
    for (std::size_t at = chart.find("class=\"time\""); at != std::string::npos;
         at = chart.find("class=\"time\"", at + 1)) {
      const std::size_t text = chart.find('>', at) + 1;
      labels.push_back(chart.substr(text, chart.find('<', text) - text));
    }
    ASSERT_FALSE(labels.empty()) << c.first_label;
    EXPECT_EQ(labels[0], c.first_label);
    EXPECT_GE(labels.size(), 2u) << c.first_label;
    EXPECT_LE(labels.size(), static_cast<std::size_t>(kMostTicks + 1)) << c.first_label;
  }
}

// Per cycle: the step less the usual one (zigzag), replies + 4 lost + 16 not sent, and
// the round trips, in base-64 digits of five bits, the sixth set while more follow.
TEST(CyclePackTest, PacksStepsCountsAndRoundTrips) {
  const CalendarTime start = ComposeTime(2021, 1, 1, 0, 0, 0);
  const std::vector<Entry> entries = {
      testing::MakeEntry(start, {10, 20, 30}),
      testing::MakeEntry(start + 60, {900, testing::kRouter, -11010}),
      testing::MakeEntry(start + 119, {-5, -5, -11010})};
  // -60 as 119: "3D"; 3 replies "D"; 10 20 30 "KUe" | 0 "A"; 1 + 4 × 2 "J"; 900 "kc" |
  // -1 as 1 "B"; 4 × 1 + 16 × 2 "kB".
  const EntryStore store(entries);
  EXPECT_EQ(PackCycles(EntryList(store), start, 60), "3DDKUeAJkcBkB");
}

}  // namespace
}  // namespace pinglog::report
