#include "report/summary.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "ping/cycle.h"

namespace pinglog::report {
namespace {

constexpr CalendarTime kSecondsPerDay = 86400;

}  // namespace

int NearestRank(const std::vector<int>& sorted, int percent) {
  const auto rank = static_cast<std::size_t>(
      std::ceil(static_cast<double>(percent) / 100.0 * static_cast<double>(sorted.size())));
  return sorted[std::max<std::size_t>(rank, 1) - 1];
}

namespace {

// The echo service's number for a request that timed out: it waited the whole time-out.
constexpr std::uint32_t kTimedOut = 11010;
// Time stamps are whole seconds, and a lookup and the log append take a moment too.
constexpr double kStampSlackSeconds = 2;

// The logger's interval, from the time between its entries: the median step less a
// cycle's own time, in whole minutes (the logger knows no other); 0: back to back.
std::int64_t InferIntervalMinutes(const std::vector<const Entry*>& placed, double cycle_seconds) {
  std::vector<std::int64_t> steps;
  for (std::size_t i = 1; i < placed.size(); ++i) {
    steps.push_back(std::int64_t{placed[i]->time} - placed[i - 1]->time);
  }
  if (steps.empty()) return 0;
  std::nth_element(steps.begin(), steps.begin() + steps.size() / 2, steps.end());
  const double pause = static_cast<double>(steps[steps.size() / 2]) - cycle_seconds;
  return pause < 30 ? 0 : std::llround(pause / 60);
}

CalendarTime PeriodStart(CalendarTime time, bool by_hour) {
  const CalendarTime length = by_hour ? 3600 : kSecondsPerDay;
  return time - time % length;
}

// Cycles in which requests went out and none was answered, in time order.
class OutageTracker {
 public:
  // Returns whether this cycle begins an outage.
  bool Take(const Entry& entry, const CycleCounts& counts, std::vector<Outage>& outages) {
    if (counts.sent == 0) return false;  // nothing left the machine: no news either way
    if (counts.replies > 0) {
      Close(outages);
      return false;
    }
    const bool begins = open_.cycles == 0;
    if (begins) open_.start = entry.time;
    open_.end = entry.time;
    ++open_.cycles;
    return begins;
  }
  void Close(std::vector<Outage>& outages) {
    if (open_.cycles > 0) outages.push_back(open_);
    open_ = Outage{};
  }

 private:
  Outage open_;
};

}  // namespace

bool NeverSent(std::uint32_t error) { return error == 5 || error == 1214; }

CycleCounts CountCycle(const Entry& entry, Requests& requests, std::vector<int>& times) {
  CycleCounts counts;
  ++requests.cycles;
  for (const Attempt& attempt : entry.attempts) {
    if (attempt.outcome == Outcome::kFailure && NeverSent(attempt.error)) {
      ++requests.not_sent;
      continue;
    }
    ++requests.sent;
    ++counts.sent;
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

// The logger's own figures (ping/cycle.h): each attempt waits for its reply, at most
// the time-out, and then pauses.
double CycleSeconds(const Entry& entry) {
  std::uint32_t ms = 0;
  for (const Attempt& a : entry.attempts) {
    if (a.outcome == Outcome::kFailure) {
      ms += a.error == kTimedOut ? kEchoTimeoutMs : 0;
    } else {
      ms += std::min<std::uint32_t>(a.time_ms, kEchoTimeoutMs);
    }
    ms += kPauseAfterAttemptMs;
  }
  return ms / 1000.0;
}

double LongestStepSeconds(std::int64_t interval_minutes) {
  return static_cast<double>(interval_minutes) * 60 + kLongestCycleMs / 1000.0 + kStampSlackSeconds;
}

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
                      const SummaryOptions& options, const std::vector<ClockJump>& clock_jumps) {
  HostSummary summary;
  summary.host = host;
  summary.by_hour = options.by_hour;
  if (entries.empty()) return summary;
  summary.target = entries.back()->target;
  std::vector<const Entry*> placed;
  double cycle_total = 0;
  for (const Entry* entry : entries) {
    if (entry->off_clock) {
      ++summary.off_clock;
    } else {
      placed.push_back(entry);
    }
    cycle_total += CycleSeconds(*entry);
  }
  for (const ClockJump& jump : clock_jumps) {
    if (jump.host == entries.front()->host) summary.clock_jumps.push_back(jump);
  }
  summary.cycle_seconds = cycle_total / static_cast<double>(entries.size());
  summary.interval_inferred = options.interval_minutes < 0;
  summary.interval_minutes = summary.interval_inferred
                                 ? InferIntervalMinutes(placed, summary.cycle_seconds)
                                 : options.interval_minutes;
  summary.back_to_back = summary.interval_minutes == 0 && placed.size() > 1;
  summary.period_seconds =
      static_cast<double>(summary.interval_minutes) * 60 + summary.cycle_seconds;
  const double longest_step = LongestStepSeconds(summary.interval_minutes);

  std::vector<int> all_times, period_times;
  OutageTracker outages;
  std::int64_t missing = 0;
  for (std::size_t i = 0; i < placed.size(); ++i) {
    const Entry& entry = *placed[i];
    if (i > 0) {
      const double apart = static_cast<double>(entry.time - placed[i - 1]->time);
      if (apart > longest_step) {
        const std::int64_t gap_missing =
            summary.back_to_back
                ? -1
                : std::max<std::int64_t>(1, std::llround(apart / summary.period_seconds) - 1);
        summary.gaps.push_back({placed[i - 1]->time, entry.time, gap_missing});
        missing += std::max<std::int64_t>(gap_missing, 0);
      }
    }
    const CalendarTime period = PeriodStart(entry.time, options.by_hour);
    if (summary.periods.empty() || summary.periods.back().start != period) {
      if (!summary.periods.empty()) summary.periods.back().round_trip = RoundTripOf(period_times);
      period_times.clear();
      summary.periods.push_back({period, {}, {}, 0});
    }
    PeriodRow& row = summary.periods.back();
    const CycleCounts counts = CountCycle(entry, summary.requests, all_times);
    CountCycle(entry, row.requests, period_times);
    if (outages.Take(entry, counts, summary.outages)) ++row.outages;
  }
  outages.Close(summary.outages);
  // Entries that a wrong clock stamped count, but are placed nowhere in time.
  for (const Entry* entry : entries) {
    if (entry->off_clock) CountCycle(*entry, summary.requests, all_times);
  }
  for (const Entry* entry : entries) {
    for (const Attempt& attempt : entry->attempts) {
      if (attempt.outcome == Outcome::kRouter) ++summary.routers[attempt.source];
      if (attempt.outcome != Outcome::kFailure) continue;
      ++(NeverSent(attempt.error) ? summary.not_sent : summary.failures)[attempt.error];
    }
  }
  if (!placed.empty()) {
    summary.first = placed.front()->time;
    summary.last = placed.back()->time;
    summary.periods.back().round_trip = RoundTripOf(period_times);
  }
  const auto logged = static_cast<std::int64_t>(placed.size());
  summary.expected = summary.back_to_back ? -1 : logged + missing;
  if (summary.back_to_back) {
    // Whole-second stamps: the last entry's second is part of the span.
    const double minutes = static_cast<double>(summary.last - summary.first + 1) / 60;
    summary.cycles_per_minute = static_cast<double>(logged) / minutes;
  }
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
