#include "report/model/chart_model.h"

#include <gtest/gtest.h>

#include "report/report_fixture.h"

namespace pinglog::report {
namespace {

// The scale ends at the first round value (1, 2 or 5 times a power of ten) at or above
// the bulk of the round trips and half again, always above the bulk.
TEST(ChartModelTest, TheScaleEndsARoundValueAboveTheBulk) {
  const struct {
    int ms;   // every reply's round trip: the bulk
    int top;  // the scale's top
  } cases[] = {{0, 1},   {1, 2},    {2, 5},     {3, 5},     {10, 20},   {13, 20},
               {14, 50}, {34, 100}, {100, 200}, {134, 500}, {400, 1000}};
  for (const auto& c : cases) {
    LogSet logs;
    logs.files = {"a.log"};
    logs.hosts = {"h"};
    const LogTime start = ComposeTime(2021, 3, 1, 10, 0, 0);
    for (int minute = 0; minute < 60; ++minute) {
      logs.entries.push_back(testing::MakeEntry(start + minute * 60, {c.ms, c.ms, c.ms}));
    }
    const Report report = BuildReport(std::move(logs), {});
    EXPECT_EQ(BuildChart(report.hosts[0], {}).top, c.top) << c.ms;
  }
}

}  // namespace
}  // namespace pinglog::report
