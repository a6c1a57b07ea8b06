#include "report/model/round_trip.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace pinglog::report {

std::int64_t RankIndex(std::int64_t count, int percent) {
  const auto rank = static_cast<std::int64_t>(
      std::ceil(static_cast<double>(percent) / 100.0 * static_cast<double>(count)));
  return std::max<std::int64_t>(rank, 1) - 1;
}

int NearestRank(const std::vector<int>& sorted, int percent) {
  return sorted[static_cast<std::size_t>(
      RankIndex(static_cast<std::int64_t>(sorted.size()), percent))];
}

CloseValues CountCloseValues(std::vector<int>& values) {
  const auto [lowest, highest] = std::minmax_element(values.begin(), values.end());
  CloseValues close{*lowest, {}, values.end()};
  // A few times as wide as there are values, and no wider than a second: beyond it, a
  // round trip is a spike, and the counts would be mostly zeros to clear and walk.
  const std::int64_t span =
      std::min({std::int64_t{*highest} - close.low + 1,
                4 * static_cast<std::int64_t>(values.size()) + 64, std::int64_t{1024}});
  close.far = std::partition(values.begin(), values.end(),
                             [&](int ms) { return std::int64_t{ms} - close.low < span; });
  close.counts.assign(static_cast<std::size_t>(span), 0);
  for (auto it = values.begin(); it != close.far; ++it) {
    ++close.counts[static_cast<std::size_t>(*it - close.low)];
  }
  return close;
}

int NearestRankOf(std::vector<int>& values, int percent) {
  const std::int64_t rank = RankIndex(static_cast<std::int64_t>(values.size()), percent);
  const CloseValues close = CountCloseValues(values);
  std::int64_t seen = 0;
  for (std::size_t i = 0; i < close.counts.size(); ++i) {
    seen += close.counts[i];
    if (seen > rank) return close.low + static_cast<int>(i);
  }
  // Among the spikes.
  const auto at = close.far + (rank - seen);
  std::nth_element(close.far, at, values.end());
  return *at;
}

int RoundTripCounter::Rank(int percent) const {
  const std::int64_t wanted = RankIndex(replies_, percent) + 1;
  std::int64_t seen = 0;
  for (int value = low_; value < high_; ++value) {
    seen += counts_[static_cast<std::size_t>(value)];
    if (seen >= wanted) return value;
  }
  return high_;
}

RoundTrip RoundTripCounter::Result() const {
  RoundTrip stats;
  stats.replies = replies_;
  if (replies_ == 0) return stats;
  stats.mean = static_cast<double>(sum_) / static_cast<double>(replies_);
  if (replies_ > 1) {
    stats.jitter = static_cast<double>(differences_) / static_cast<double>(replies_ - 1);
  }
  stats.minimum = low_;
  stats.maximum = high_;
  stats.median = Rank(50);
  stats.p95 = Rank(95);
  stats.p99 = Rank(99);
  return stats;
}

void RoundTripCounter::Clear() {
  if (replies_ > 0) std::fill(counts_.begin() + low_, counts_.begin() + high_ + 1, 0);
  replies_ = 0;
  sum_ = differences_ = 0;
}

RoundTrip RoundTripOf(const std::vector<int>& times_in_order) {
  RoundTripCounter counter;
  for (const int time : times_in_order) counter.Add(time);
  return counter.Result();
}

}  // namespace pinglog::report
