#include "report/model/round_trip.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

namespace pinglog::report {
namespace {

// A percentile of unsorted round trips is the sorted ones', whether it lies among the
// close values, among the spikes far above them, or spikes are all there is.
TEST(RoundTripTest, NearestRankOfUnsortedTimesIsTheSortedOnes) {
  const struct {
    int close, spikes;  // how many of each
  } cases[] = {{180, 0}, {176, 4}, {60, 120}, {1, 1}, {0, 7}, {3, 200}};
  for (const auto& c : cases) {
    std::vector<int> times;
    for (int i = 0; i < c.close; ++i) times.push_back(20 + (i * 7) % 13);
    for (int i = 0; i < c.spikes; ++i) times.push_back(900 + (i * 389) % 5000);
    std::rotate(times.begin(), times.begin() + static_cast<long>(times.size() / 3), times.end());
    std::vector<int> sorted = times;
    std::sort(sorted.begin(), sorted.end());
    for (const int percent : {1, 25, 50, 75, 95, 99, 100}) {
      std::vector<int> unsorted = times;
      EXPECT_EQ(NearestRankOf(unsorted, percent), NearestRank(sorted, percent))
          << c.close << " close, " << c.spikes << " spikes, " << percent << "%";
    }
  }
}

}  // namespace
}  // namespace pinglog::report
