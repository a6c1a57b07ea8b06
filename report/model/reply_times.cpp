#include "report/model/reply_times.h"

#include <algorithm>

#include "report/model/round_trip.h"

namespace pinglog::report {
namespace {

// `count` more of `ms`, after the runs of lower values.
void AddRun(ReplyTimes::Runs& runs, int ms, std::int64_t count) {
  if (runs.empty() || runs.back().first != ms) runs.emplace_back(ms, 0);
  runs.back().second += count;
}

// Values in any order as counts per value, in value order: the close ones counted in
// place, the spikes sorted after them.
ReplyTimes::Runs CountedRuns(std::vector<int>& values) {
  ReplyTimes::Runs runs;
  const CloseValues close = CountCloseValues(values);
  for (std::size_t i = 0; i < close.counts.size(); ++i) {
    if (close.counts[i] > 0) AddRun(runs, close.low + static_cast<int>(i), close.counts[i]);
  }
  std::sort(close.far, values.end());
  for (auto it = close.far; it != values.end(); ++it) AddRun(runs, *it, 1);
  return runs;
}

}  // namespace

void ReplyTimes::Settle() {
  if (pending_.empty()) return;
  Runs added = CountedRuns(pending_);
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

void ReplyTimes::MergeRuns(const Runs& added) {
  Runs merged;
  merged.reserve(runs_.size() + added.size());
  std::merge(runs_.begin(), runs_.end(), added.begin(), added.end(), std::back_inserter(merged));
  runs_.clear();
  for (const auto& [ms, count] : merged) AddRun(runs_, ms, count);
}

int ReplyTimes::Rank(int percent) const {
  const std::int64_t wanted = RankIndex(count_, percent) + 1;
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
