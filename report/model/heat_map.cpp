#include "report/model/heat_map.h"

#include <algorithm>

#include "support/domain.h"

namespace pinglog::report {
namespace {

// The rows of the days from `from` up to (not including) `to`, none of which has
// entries: each its own, or one folded row.
void AddEmptyDays(HeatMap& map, LogTime from, LogTime to) {
  const std::int64_t days = (to - from) / kSecondsPerDay;
  if (days >= kFoldedDays) {
    map.rows.push_back({from, days, {}});
    return;
  }
  for (std::int64_t d = 0; d < days; ++d) map.rows.push_back({from + d * kSecondsPerDay, 0, {}});
}

void SetMedians(HeatRow& row, std::array<std::vector<int>, 24>& times) {
  for (std::size_t hour = 0; hour < 24; ++hour) {
    if (times[hour].empty()) continue;
    row.hours[hour].median = NearestRankOf(times[hour], 50);
    row.hours[hour].replies = true;
    times[hour].clear();
  }
}

}  // namespace

int LossStep(const Requests& r) {
  if (r.lost == 0) return 0;
  if (r.lost == r.sent) return 5;
  const double percent = r.LossPercent();
  int step = 1;
  for (const double from : kLossStepsFrom) step += percent >= from ? 1 : 0;
  return step;
}

HeatMap BuildHeatMap(const HostReport& host) {
  HeatMap map;
  std::array<std::vector<int>, 24> times;  // the round trips of the last row's hours
  for (const Entry& entry : host.entries) {
    if (entry.off_clock) continue;  // placed nowhere
    const LogTime day = entry.time - entry.time % kSecondsPerDay;
    if (map.rows.empty() || map.rows.back().day != day) {
      if (!map.rows.empty()) {
        SetMedians(map.rows.back(), times);
        AddEmptyDays(map, map.rows.back().day + kSecondsPerDay, day);
      }
      map.rows.push_back({day, 0, {}});
    }
    const auto hour = static_cast<std::size_t>(entry.time % kSecondsPerDay / kSecondsPerHour);
    CountCycle(entry, map.rows.back().hours[hour].requests, times[hour]);
  }
  if (!map.rows.empty()) SetMedians(map.rows.back(), times);
  return map;
}

}  // namespace pinglog::report
