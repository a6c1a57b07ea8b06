#include "report/model/reply_times.h"

#include <algorithm>
#include <cmath>

namespace pinglog::report {

void ReplyTimes::Settle() {
  if (pending_.empty()) return;
  std::sort(pending_.begin(), pending_.end());
  std::vector<std::pair<int, std::int64_t>> added;
  for (const int ms : pending_) {
    if (added.empty() || added.back().first != ms) added.emplace_back(ms, 0);
    ++added.back().second;
  }
  count_ += static_cast<std::int64_t>(pending_.size());
  std::vector<int>().swap(pending_);
  if (runs_.empty()) {
    runs_ = std::move(added);
  } else {
    MergeRuns(added);
  }
}

void ReplyTimes::Add(const ReplyTimes& other) {
  count_ += other.count_;
  if (runs_.empty()) {
    runs_ = other.runs_;
  } else {
    MergeRuns(other.runs_);
  }
}

void ReplyTimes::MergeRuns(const std::vector<std::pair<int, std::int64_t>>& added) {
  std::vector<std::pair<int, std::int64_t>> merged;
  merged.reserve(runs_.size() + added.size());
  std::merge(runs_.begin(), runs_.end(), added.begin(), added.end(), std::back_inserter(merged));
  runs_.clear();
  for (const auto& [ms, count] : merged) {
    if (runs_.empty() || runs_.back().first != ms) runs_.emplace_back(ms, 0);
    runs_.back().second += count;
  }
}

int ReplyTimes::Rank(int percent) const {
  const auto wanted = std::max<std::int64_t>(
      1, static_cast<std::int64_t>(
             std::ceil(static_cast<double>(percent) / 100.0 * static_cast<double>(count_))));
  std::int64_t seen = 0;
  for (const auto& [ms, count] : runs_) {
    seen += count;
    if (seen >= wanted) return ms;
  }
  return Highest();
}

std::int64_t ReplyTimes::CountAbove(int top) const {
  std::int64_t above = 0;
  for (auto run = runs_.rbegin(); run != runs_.rend() && run->first > top; ++run) {
    above += run->second;
  }
  return above;
}

}  // namespace pinglog::report
