#include "report/logs/step_counts.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <vector>

namespace pinglog::report {
namespace {

// The counted median and the count near it are those of the sorted steps; the counter
// gives up, saying so, once the steps have too many lengths.
TEST(StepCountsTest, AnswersAsTheSortedStepsWould) {
  std::mt19937 random(3);
  for (const int lengths : {1, 3, 200, 4096}) {
    std::uniform_int_distribution<std::int64_t> step(60, 60 + lengths - 1);
    std::vector<std::int64_t> steps;
    StepCounts counts;
    for (int i = 0; i < 9999; ++i) {
      steps.push_back(i % 4 == 0 ? 60 : step(random));
      ASSERT_TRUE(counts.Add(steps.back())) << lengths;
    }
    std::sort(steps.begin(), steps.end());
    const std::int64_t median = steps[steps.size() / 2];
    EXPECT_EQ(counts.Median(), median) << lengths;
    EXPECT_EQ(counts.Near(median, 2),
              static_cast<std::uint64_t>(
                  std::count_if(steps.begin(), steps.end(),
                                [&](std::int64_t s) { return std::llabs(s - median) <= 2; })))
        << lengths;
  }
  StepCounts counts;
  for (std::int64_t s = 1; s <= 4096; ++s) ASSERT_TRUE(counts.Add(s));
  EXPECT_TRUE(counts.Add(4096));
  EXPECT_FALSE(counts.Add(4097));
}

}  // namespace
}  // namespace pinglog::report
