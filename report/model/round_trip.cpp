#include "report/model/round_trip.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace pinglog::report {

int NearestRank(const std::vector<int>& sorted, int percent) {
  const auto rank = static_cast<std::size_t>(
      std::ceil(static_cast<double>(percent) / 100.0 * static_cast<double>(sorted.size())));
  return sorted[std::max<std::size_t>(rank, 1) - 1];
}

RoundTrip RoundTripOf(const std::vector<int>& times_in_order) {
  RoundTrip stats;
  stats.replies = static_cast<std::int64_t>(times_in_order.size());
  if (times_in_order.empty()) return stats;
  double sum = 0, differences = 0;
  for (std::size_t i = 0; i < times_in_order.size(); ++i) {
    sum += times_in_order[i];
    if (i > 0) differences += std::abs(times_in_order[i] - times_in_order[i - 1]);
  }
  stats.mean = sum / static_cast<double>(times_in_order.size());
  if (times_in_order.size() > 1) {
    stats.jitter = differences / static_cast<double>(times_in_order.size() - 1);
  }
  std::vector<int> sorted = times_in_order;
  std::sort(sorted.begin(), sorted.end());
  stats.minimum = sorted.front();
  stats.maximum = sorted.back();
  stats.median = NearestRank(sorted, 50);
  stats.p95 = NearestRank(sorted, 95);
  stats.p99 = NearestRank(sorted, 99);
  return stats;
}

}  // namespace pinglog::report
