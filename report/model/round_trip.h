// Round-trip statistics of the replies: percentiles by the nearest-rank method.
#pragma once

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <vector>

namespace pinglog::report {

struct RoundTrip {
  std::int64_t replies = 0;
  // Percentiles by the nearest-rank method; the median is the 50th percentile.
  int minimum = 0, median = 0, p95 = 0, p99 = 0, maximum = 0;
  double mean = 0;
  double jitter = 0;  // mean absolute difference of consecutive replies
};

// Where the value at a percentile lies among `count` sorted values (from 0), by the
// nearest-rank method.
std::int64_t RankIndex(std::int64_t count, int percent);
// The value at a percentile of sorted values, by the nearest-rank method.
int NearestRank(const std::vector<int>& sorted, int percent);
// Values in any order (at least one), counted per value where they lie close together,
// as round trips mostly do: those within a span of the lowest (a few times as wide as
// there are values) are counted, the rest (spikes) moved behind them, in any order.
struct CloseValues {
  int low = 0;
  std::vector<std::int64_t> counts;  // of low, low + 1, ...
  std::vector<int>::iterator far;    // where the rest begin
};
CloseValues CountCloseValues(std::vector<int>& values);

// The value at a percentile of values in any order (at least one), which it may
// reorder (in linear time, not sorted).
int NearestRankOf(std::vector<int>& values, int percent);

// Round-trip statistics gathered reply by reply, in time order. Round trips are whole
// milliseconds: a count per value is kept, so memory follows the range of the values
// (at most 65,536 of them), never the number of replies.
class RoundTripCounter {
 public:
  // Here, not in the source: it is called for every reply, twice.
  void Add(int ms) {
    ms = std::max(ms, 0);
    const auto value = static_cast<std::size_t>(ms);
    if (value >= counts_.size()) counts_.resize(value + 1, 0);
    ++counts_[value];
    sum_ += ms;
    if (replies_ > 0) {
      differences_ += std::abs(ms - last_);
      low_ = std::min(low_, ms);
      high_ = std::max(high_, ms);
    } else {
      low_ = high_ = ms;
    }
    last_ = ms;
    ++replies_;
  }
  RoundTrip Result() const;
  void Clear();

 private:
  int Rank(int percent) const;

  std::vector<std::int64_t> counts_;  // by value; as long as the highest value seen
  std::int64_t replies_ = 0;
  std::int64_t sum_ = 0, differences_ = 0;  // whole milliseconds: counted exactly
  int last_ = 0, low_ = 0, high_ = 0;
};

// Round-trip statistics of reply times given in time order.
RoundTrip RoundTripOf(const std::vector<int>& times_in_order);

}  // namespace pinglog::report
