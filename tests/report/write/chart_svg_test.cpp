#include "report/write/drawing/chart_svg.h"

#include <gtest/gtest.h>

#include <sstream>

#include "report/report_fixture.h"
#include "report/write/drawing/chart_layout.h"
#include "support/calendar_time.h"

namespace pinglog::report {
namespace {

const LogTime kMidnight = ComposeTime(2021, 3, 1, 0, 0, 0);

// The chart of one cycle at `at` (replies of 1, 2 and 500 ms) on the axis given.
std::string ChartOf(LogTime at, const ChartOptions& axis) {
  LogSet logs;
  logs.files = {"a.log"};
  logs.hosts = {"router1"};
  logs.entries.push_back(testing::MakeEntry(at, {1, 2, 500}));
  const Report report = BuildReport(std::move(logs), {});
  std::ostringstream out;
  WriteChart(out, report.hosts.front(), axis);
  return out.str();
}

// After `key` in `svg`: the number that begins there.
double NumberAfter(const std::string& svg, const std::string& key, std::size_t from = 0) {
  const std::size_t at = svg.find(key, from);
  return at == std::string::npos ? -1 : std::stod(svg.substr(at + key.size()));
}

// A light line at each midnight inside the chart, up to 62 days; the chart's end is
// no line of its own.
TEST(ChartSvgTest, DrawsALineAtEachMidnightUpToSixtyTwoDays) {
  const struct {
    LogTime start;
    std::int64_t seconds;
    std::size_t lines;
  } rows[] = {
      {kMidnight, 2 * kSecondsPerDay, 2},
      {kMidnight + 1, 2 * kSecondsPerDay, 2},
      {kMidnight, kMostDayLines * kSecondsPerDay, kMostDayLines},
      {kMidnight, kMostDayLines * kSecondsPerDay + 1, 0},
  };
  for (const auto& row : rows) {
    const std::string svg = ChartOf(
        row.start, {.max_ms = 100, .axis_start = row.start, .axis_end = row.start + row.seconds});
    EXPECT_EQ(testing::CountOf(svg, "<line class=\"day\""), row.lines) << row.seconds;
  }
}

// A reply above the scale's top is marked over the middle of its bucket.
TEST(ChartSvgTest, MarksRepliesAboveTheTopOverTheirBucket) {
  const std::string svg =
      ChartOf(kMidnight, {.max_ms = 100, .axis_start = kMidnight, .axis_end = kMidnight + 3600});
  const std::size_t smoke = svg.find("class=\"smoke\"");
  const double left = NumberAfter(svg, "d=\"M", smoke), step = NumberAfter(svg, "h", smoke);
  EXPECT_NEAR(NumberAfter(svg, "class=\"above\" d=\"M"), left + step / 2, 0.1);
  EXPECT_NE(svg.find("1 reply above 100 ms"), std::string::npos);
}

}  // namespace
}  // namespace pinglog::report
