// The middle one of many steps between times, and how many lie near it, without a list
// of them: a log's steps are nearly all alike, so they are counted per length. With
// too many lengths to count, the counter says so and the caller sorts a list instead.
#pragma once

#include <cstdint>
#include <map>

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

}  // namespace pinglog::report
