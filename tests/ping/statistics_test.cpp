#include "ping/statistics.h"

#include <gtest/gtest.h>

#include "support/text.h"

namespace pinglog {
namespace {

AttemptOutcome Reply(std::int16_t ms) {
  AttemptOutcome attempt;
  attempt.replied = true;
  attempt.round_trip_ms = ms;
  attempt.data_size = 32;
  return attempt;
}

AttemptOutcome Failure() {
  AttemptOutcome attempt;
  attempt.error = 11010;
  return attempt;
}

TEST(ComputeStatisticsTest, SummarisesThreeAttempts) {
  const struct {
    CycleAttempts attempts;
    int received, lost;
    const char* loss;
    int minimum, maximum;
    const char* average;
  } cases[] = {
      {{Reply(12), Reply(15), Reply(9)}, 3, 0, "0", 9, 15, "12.00"},
      {{Reply(0), Reply(0), Reply(3)}, 3, 0, "0", 0, 3, "1.00"},
      {{Reply(0), Reply(0), Reply(0)}, 3, 0, "0", 0, 0, "0.00"},
      {{Failure(), Failure(), Failure()}, 0, 3, "100", 255, 0, "0.00"},
      {{Failure(), Reply(10), Reply(20)}, 2, 1, "33", 10, 20, "15.00"},
      {{Reply(10), Failure(), Failure()}, 1, 2, "67", 10, 10, "10.00"},
      {{Reply(300), Reply(310), Reply(320)}, 3, 0, "0", 300, 320, "310.00"},
      {{Reply(1000), Reply(999), Failure()}, 2, 1, "33", 999, 1000, "999.50"},
      {{Reply(1), Reply(2), Reply(2)}, 3, 0, "0", 1, 2, "1.67"},
  };
  for (const auto& c : cases) {
    const CycleStatistics stats = ComputeStatistics(c.attempts);
    SCOPED_TRACE(std::string("case with minimum ") + std::to_string(c.minimum) + " average " +
                 c.average);
    EXPECT_EQ(stats.sent, 3);
    EXPECT_EQ(stats.received, c.received);
    EXPECT_EQ(stats.lost, c.lost);
    EXPECT_EQ(FormatFixed(stats.loss_percent, 0), c.loss);
    EXPECT_EQ(stats.minimum, c.minimum);
    EXPECT_EQ(stats.maximum, c.maximum);
    EXPECT_EQ(FormatFixed(stats.average, 2), c.average);
  }
}

}  // namespace
}  // namespace pinglog
