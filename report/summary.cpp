#include "report/summary.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace pinglog::report {
namespace {

constexpr CalendarTime kSecondsPerDay = 86400;

int NearestRank(const std::vector<int>& sorted, int percent) {
  const auto rank = static_cast<std::size_t>(
      std::ceil(static_cast<double>(percent) / 100.0 * static_cast<double>(sorted.size())));
  return sorted[std::max<std::size_t>(rank, 1) - 1];
}

// The most common difference between consecutive entries, at least one second.
std::int64_t InferInterval(const std::vector<const Entry*>& entries) {
  std::map<std::int64_t, std::int64_t> counts;
  for (std::size_t i = 1; i < entries.size(); ++i) {
    ++counts[entries[i]->time - entries[i - 1]->time];
  }
  std::int64_t best = 0, best_count = 0;
  for (const auto& [gap, count] : counts) {
    if (count > best_count) {
      best = gap;
      best_count = count;
    }
  }
  return std::max<std::int64_t>(best, 1);
}

CalendarTime PeriodStart(CalendarTime time, bool by_hour) {
  const CalendarTime length = by_hour ? 3600 : kSecondsPerDay;
  return time - time % length;
}

struct CycleCounts {
  int replies = 0, routers = 0;
};

CycleCounts Count(const Entry& entry, Requests& requests, std::vector<int>& times) {
  CycleCounts counts;
  ++requests.cycles;
  for (const Attempt& attempt : entry.attempts) {
    ++requests.sent;
    if (attempt.outcome == Outcome::kReply) {
      ++requests.received;
      ++counts.replies;
      times.push_back(attempt.time_ms);
    } else {
      ++requests.lost;
      if (attempt.outcome == Outcome::kRouter) {
        ++requests.router;
        ++counts.routers;
      }
    }
  }
  return counts;
}

}  // namespace

RoundTrip RoundTripOf(const std::vector<int>& times_in_order) {
  RoundTrip stats;
  stats.replies = static_cast<std::int64_t>(times_in_order.size());
  if (times_in_order.empty()) return stats;
  double sum = 0, differences = 0;
  for (std::size_t i = 0; i < times_in_order.size(); ++i) {
    sum += times_in_order[i];
    if (i > 0) differences += std::abs(times_in_order[i] - times_in_order[i - 1]);
  }
  stats.mean = sum / static_cast<double>(times_in_order.size());
  if (times_in_order.size() > 1) {
    stats.jitter = differences / static_cast<double>(times_in_order.size() - 1);
  }
  std::vector<int> sorted = times_in_order;
  std::sort(sorted.begin(), sorted.end());
  stats.minimum = sorted.front();
  stats.maximum = sorted.back();
  stats.median = NearestRank(sorted, 50);
  stats.p95 = NearestRank(sorted, 95);
  stats.p99 = NearestRank(sorted, 99);
  return stats;
}

HostSummary Summarize(const std::string& host, const std::vector<const Entry*>& entries,
                      const SummaryOptions& options) {
  HostSummary summary;
  summary.host = host;
  summary.by_hour = options.by_hour;
  if (entries.empty()) return summary;
  summary.target = entries.back()->target;
  summary.first = entries.front()->time;
  summary.last = entries.back()->time;
  summary.interval_inferred = options.interval_minutes < 0;
  summary.interval = summary.interval_inferred
                         ? InferInterval(entries)
                         : std::max<std::int64_t>(options.interval_minutes * 60, 1);
  summary.expected =
      (static_cast<std::int64_t>(summary.last) - summary.first) / summary.interval + 1;

  std::vector<int> all_times;
  std::vector<int> period_times;
  Outage outage;
  for (std::size_t i = 0; i < entries.size(); ++i) {
    const Entry& entry = *entries[i];
    if (i > 0) {
      const std::int64_t apart = entry.time - entries[i - 1]->time;
      // Cycles drift by their own duration; more than half an interval late is a gap.
      const auto missing =
          static_cast<std::int64_t>(
              std::llround(static_cast<double>(apart) / static_cast<double>(summary.interval))) -
          1;
      if (missing >= 1 && apart * 2 > summary.interval * 3) {
        summary.gaps.push_back({entries[i - 1]->time, entry.time, missing});
      }
    }
    const CalendarTime period = PeriodStart(entry.time, options.by_hour);
    if (summary.periods.empty() || summary.periods.back().start != period) {
      if (!summary.periods.empty()) summary.periods.back().round_trip = RoundTripOf(period_times);
      period_times.clear();
      summary.periods.push_back({period, {}, {}, 0});
    }
    PeriodRow& row = summary.periods.back();
    const CycleCounts counts = Count(entry, summary.requests, all_times);
    Count(entry, row.requests, period_times);

    for (const Attempt& attempt : entry.attempts) {
      if (attempt.outcome == Outcome::kFailure) ++summary.failures[attempt.error];
      if (attempt.outcome == Outcome::kRouter) ++summary.routers[attempt.source];
    }
    if (counts.replies == 0) {
      if (outage.cycles == 0) {
        outage.start = entry.time;
        ++row.outages;
      }
      outage.end = entry.time;
      ++outage.cycles;
    } else if (outage.cycles > 0) {
      summary.outages.push_back(outage);
      outage = Outage{};
    }
  }
  if (outage.cycles > 0) summary.outages.push_back(outage);
  summary.periods.back().round_trip = RoundTripOf(period_times);
  summary.round_trip = RoundTripOf(all_times);
  return summary;
}

const char* ErrorName(std::uint32_t error) {
  switch (error) {
    case 5:
      return "access denied: no ICMP permission";
    case 1214:
      return "invalid destination (0.0.0.0)";
    case 11001:
      return "buffer too small";
    case 11002:
      return "destination network unreachable";
    case 11003:
      return "destination host unreachable";
    case 11004:
      return "destination protocol unreachable";
    case 11005:
      return "destination port unreachable";
    case 11010:
      return "request timed out";
    case 11013:
      return "TTL expired in transit";
    case 11018:
      return "bad destination";
    case 11050:
      return "general failure";
    default:
      return "";
  }
}

}  // namespace pinglog::report
