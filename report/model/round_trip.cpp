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
  // Round trips are whole milliseconds: the percentiles come from a count per value.
  const auto extremes = std::minmax_element(times_in_order.begin(), times_in_order.end());
  const int low = *extremes.first, high = *extremes.second;
  stats.minimum = low;
  stats.maximum = high;
  std::vector<std::int64_t> counts(static_cast<std::size_t>(high - low) + 1, 0);
  for (const int time : times_in_order) ++counts[static_cast<std::size_t>(time - low)];
  const auto rank = [&](int percent) {
    const auto wanted = std::max<std::int64_t>(
        1, static_cast<std::int64_t>(std::ceil(static_cast<double>(percent) / 100.0 *
                                               static_cast<double>(stats.replies))));
    std::int64_t seen = 0;
    for (std::size_t value = 0; value < counts.size(); ++value) {
      seen += counts[value];
      if (seen >= wanted) return low + static_cast<int>(value);
    }
    return high;
  };
  stats.median = rank(50);
  stats.p95 = rank(95);
  stats.p99 = rank(99);
  return stats;
}

}  // namespace pinglog::report
