// The round trips of a bucket's replies as a count per value, in value order: what a
// chart asks of them (lowest, highest, percentiles, how many lie above a top) without
// a number kept per reply.
#pragma once

#include <cstdint>
#include <utility>
#include <vector>

namespace pinglog::report {

class ReplyTimes {
 public:
  using Runs = std::vector<std::pair<int, std::int64_t>>;  // value, count; by value

  // Times are added in any order; Settle() counts those added since the last call.
  void Add(int ms) { pending_.push_back(ms); }
  void Settle();
  // Another bucket's settled times added to these settled ones.
  void Add(const ReplyTimes& other);

  // Asked once settled.
  bool empty() const { return runs_.empty(); }
  std::int64_t size() const { return count_; }
  int Lowest() const { return runs_.front().first; }
  int Highest() const { return runs_.back().first; }
  // The value at a percentile, by the nearest-rank method.
  int Rank(int percent) const;
  // How many lie above `top`.
  std::int64_t CountAbove(int top) const;

 private:
  void MergeRuns(const Runs& added);

  Runs runs_;
  std::int64_t count_ = 0;
  std::vector<int> pending_;
};

}  // namespace pinglog::report
