// Round-trip statistics of the replies: percentiles by the nearest-rank method.
#pragma once

#include <cstdint>
#include <vector>

namespace pinglog::report {

struct RoundTrip {
  std::int64_t replies = 0;
  // Percentiles by the nearest-rank method; the median is the 50th percentile.
  int minimum = 0, median = 0, p95 = 0, p99 = 0, maximum = 0;
  double mean = 0;
  double jitter = 0;  // mean absolute difference of consecutive replies
};

// The value at a percentile of sorted values, by the nearest-rank method.
int NearestRank(const std::vector<int>& sorted, int percent);

// Round-trip statistics of reply times given in time order.
RoundTrip RoundTripOf(const std::vector<int>& times_in_order);

}  // namespace pinglog::report
