// The middle one of many steps between times, and how many lie near it, without a list
// of them: a log's steps are nearly all alike, so they are counted per length. With
// too many lengths to count, the counter says so and the caller sorts a list instead.
#pragma once

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <map>
#include <vector>

namespace pinglog::report {

class StepCounts {
 public:
  // False once the steps have more lengths than are counted (the counts stop there).
  bool Add(std::int64_t step) {
    if (last_ != counts_.end() && last_->first == step) {
      ++last_->second;
    } else {
      if (counts_.size() >= kMostLengths && counts_.find(step) == counts_.end()) return false;
      last_ = counts_.try_emplace(step, 0).first;
      ++last_->second;
    }
    ++total_;
    return true;
  }

  std::uint64_t size() const { return total_; }

  // The step at index size() / 2 in ascending order; 0 when none was added.
  std::int64_t Median() const {
    std::uint64_t below = 0;
    for (const auto& [step, count] : counts_) {
      if ((below += count) > total_ / 2) return step;
    }
    return 0;
  }

  // How many steps lie within `within` of `center`.
  std::uint64_t Near(std::int64_t center, std::int64_t within) const {
    std::uint64_t near = 0;
    for (auto it = counts_.lower_bound(center - within);
         it != counts_.end() && it->first <= center + within; ++it) {
      near += it->second;
    }
    return near;
  }

 private:
  static constexpr std::size_t kMostLengths = 4096;

  std::map<std::int64_t, std::uint64_t> counts_;
  std::map<std::int64_t, std::uint64_t>::iterator last_ = counts_.end();
  std::uint64_t total_ = 0;
};

// The middle one of some steps, how many lie within a distance of it, and how many
// there are.
struct MiddleStep {
  std::int64_t median = 0;
  std::uint64_t near = 0;
  std::uint64_t count = 0;
};

// Of the steps `step_at(i)` for i in [first, end) that `take` accepts: counted per
// length, or, with too many lengths, listed and partitioned.
template <typename StepAt, typename Take>
MiddleStep MiddleOfSteps(std::size_t first, std::size_t end, StepAt step_at, Take take,
                         std::int64_t within) {
  StepCounts counts;
  bool counted = true;
  for (std::size_t i = first; i < end && counted; ++i) {
    if (const std::int64_t step = step_at(i); take(step)) counted = counts.Add(step);
  }
  if (counted) {
    if (counts.size() == 0) return {};
    const std::int64_t median = counts.Median();
    return {median, counts.Near(median, within), counts.size()};
  }
  std::vector<std::int64_t> steps;
  for (std::size_t i = first; i < end; ++i) {
    if (const std::int64_t step = step_at(i); take(step)) steps.push_back(step);
  }
  // Counting the steps near the middle needs no order: they are partitioned in place.
  std::nth_element(steps.begin(), steps.begin() + steps.size() / 2, steps.end());
  const std::int64_t median = steps[steps.size() / 2];
  const auto near = std::count_if(steps.begin(), steps.end(),
                                  [&](std::int64_t s) { return std::llabs(s - median) <= within; });
  return {median, static_cast<std::uint64_t>(near), steps.size()};
}

}  // namespace pinglog::report
