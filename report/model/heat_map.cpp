#include "report/model/heat_map.h"

#include <algorithm>

namespace pinglog::report {
namespace {

constexpr LogTime kDay = 86400;
// A window of hours stands out when it holds at least half the loss, at least this
// many times the rate of the other hours, and enough requests to tell.
constexpr double kStandsOut = 3;
constexpr std::int64_t kLeastLost = 10;
constexpr int kLongestWindow = 8;

// The rows of the days from `from` up to (not including) `to`, none of which has
// entries: each its own, or one folded row.
void AddEmptyDays(HeatMap& map, LogTime from, LogTime to) {
  const std::int64_t days = (to - from) / kDay;
  if (days >= kFoldedDays) {
    map.rows.push_back({from, days, {}});
    return;
  }
  for (std::int64_t d = 0; d < days; ++d) map.rows.push_back({from + d * kDay, 0, {}});
}

void SetMedians(HeatRow& row, std::array<std::vector<int>, 24>& times) {
  for (std::size_t hour = 0; hour < 24; ++hour) {
    if (times[hour].empty()) continue;
    std::sort(times[hour].begin(), times[hour].end());
    row.hours[hour].median = NearestRank(times[hour], 50);
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
  for (const Entry* entry : host.entries) {
    if (entry->off_clock) continue;  // placed nowhere
    const LogTime day = entry->time - entry->time % kDay;
    if (map.rows.empty() || map.rows.back().day != day) {
      if (!map.rows.empty()) {
        SetMedians(map.rows.back(), times);
        AddEmptyDays(map, map.rows.back().day + kDay, day);
      }
      map.rows.push_back({day, 0, {}});
    }
    const auto hour = static_cast<std::size_t>(entry->time % kDay / 3600);
    CountCycle(*entry, map.rows.back().hours[hour].requests, times[hour]);
  }
  if (!map.rows.empty()) SetMedians(map.rows.back(), times);
  return map;
}

namespace {

struct HourWindow {
  int from = 0, length = 0;
};

Requests Inside(const std::array<Requests, 24>& by_hour, const HourWindow& w) {
  Requests inside;
  for (int h = w.from; h < w.from + w.length; ++h) {
    inside.sent += by_hour[h % 24].sent;
    inside.lost += by_hour[h % 24].lost;
  }
  return inside;
}

// How many times the window's loss rate is the other hours' (infinite: they lost none).
double TimesHigher(const std::array<Requests, 24>& by_hour, const Requests& all,
                   const HourWindow& w) {
  const Requests in = Inside(by_hour, w);
  const std::int64_t out_sent = all.sent - in.sent, out_lost = all.lost - in.lost;
  if (in.sent == 0 || out_sent == 0) return 0;
  if (out_lost == 0) return 1e9;
  return (static_cast<double>(in.lost) / static_cast<double>(in.sent)) /
         (static_cast<double>(out_lost) / static_cast<double>(out_sent));
}

// The shortest window (across midnight too) that holds half the loss, the one whose
// loss stands out most.
std::optional<HourWindow> Core(const std::array<Requests, 24>& by_hour, const Requests& all) {
  for (int length = 1; length <= kLongestWindow; ++length) {
    std::optional<HourWindow> best;
    double best_times = 0;
    for (int from = 0; from < 24; ++from) {
      const HourWindow w{from, length};
      if (Inside(by_hour, w).lost * 2 < all.lost) continue;
      const double times = TimesHigher(by_hour, all, w);
      if (times >= kStandsOut && times > best_times) {
        best = w;
        best_times = times;
      }
    }
    if (best) return best;
  }
  return std::nullopt;
}

}  // namespace

std::optional<WorstHours> WorstHoursOf(const HeatMap& map) {
  std::array<Requests, 24> by_hour{};
  Requests all;
  for (const HeatRow& row : map.rows) {
    for (int h = 0; h < 24; ++h) {
      by_hour[h].sent += row.hours[h].requests.sent;
      by_hour[h].lost += row.hours[h].requests.lost;
      all.sent += row.hours[h].requests.sent;
      all.lost += row.hours[h].requests.lost;
    }
  }
  if (all.lost < kLeastLost) return std::nullopt;
  std::optional<HourWindow> core = Core(by_hour, all);
  if (!core) return std::nullopt;
  // Grown by the hours beside it whose loss stands out as well.
  HourWindow w = *core;
  for (bool grew = true; grew && w.length < kLongestWindow;) {
    grew = false;
    for (const HourWindow wider :
         {HourWindow{(w.from + 23) % 24, w.length + 1}, HourWindow{w.from, w.length + 1}}) {
      const int added = wider.from == w.from ? (w.from + w.length) % 24 : wider.from;
      const Requests hour = by_hour[added];
      const Requests in = Inside(by_hour, w);
      const std::int64_t out_sent = all.sent - in.sent - hour.sent;
      const std::int64_t out_lost = all.lost - in.lost - hour.lost;
      const double out_rate =
          static_cast<double>(out_lost) / static_cast<double>(std::max<std::int64_t>(1, out_sent));
      if (hour.sent > 0 && hour.LossPercent() / 100 >= kStandsOut * out_rate && hour.lost > 0) {
        w = wider;
        grew = true;
        break;
      }
    }
  }
  const double times = TimesHigher(by_hour, all, w);
  return WorstHours{w.from, (w.from + w.length) % 24, times >= 1e9 ? 0 : times};
}

}  // namespace pinglog::report
