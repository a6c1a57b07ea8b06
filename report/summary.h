// What a host's entries add up to: the period, the cycles expected and missing, the
// requests, outages, round-trip statistics, failures and router replies, overall and
// per day (or hour).
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "report/log_files.h"

namespace pinglog::report {

struct RoundTrip {
  std::int64_t replies = 0;
  // Percentiles by the nearest-rank method; the median is the 50th percentile.
  int minimum = 0, median = 0, p95 = 0, p99 = 0, maximum = 0;
  double mean = 0;
  double jitter = 0;  // mean absolute difference of consecutive replies
};

// Requests: "received" counts replies from the target; a router's error report is
// no reply from the target, so it counts as lost, and is also counted on its own.
// A request that never left the machine (error 5, no permission; 1214, invalid
// destination) is "not sent": neither sent nor lost.
struct Requests {
  std::int64_t cycles = 0, sent = 0, received = 0, lost = 0, router = 0, not_sent = 0;
  double LossPercent() const { return sent == 0 ? 0 : 100.0 * static_cast<double>(lost) / sent; }
};

// Whether an item with this error number stands for a request that was never sent.
bool NeverSent(std::uint32_t error);

// One cycle's items added to the requests; the replies' times appended to `times`.
struct CycleCounts {
  int replies = 0, routers = 0, sent = 0;
};
CycleCounts CountCycle(const Entry& entry, Requests& requests, std::vector<int>& times);

// How long the logger took for this cycle, from what its items say: each attempt
// waits for its reply (or the whole time-out) and then pauses.
double CycleSeconds(const Entry& entry);

// A stretch without entries: between the entry at `after` and the one at `before`.
struct Gap {
  CalendarTime after = 0, before = 0;
  std::int64_t missing = 0;  // cycles expected in between; -1 when back to back
};

// Consecutive cycles in which no request reached the target.
struct Outage {
  CalendarTime start = 0, end = 0;  // the first and the last such cycle
  std::int64_t cycles = 0;
};

struct PeriodRow {
  CalendarTime start = 0;  // the day's (or hour's) first second
  Requests requests;
  RoundTrip round_trip;
  std::int64_t outages = 0;  // outages that begin in this period
};

struct HostSummary {
  std::string host;
  Address target{};                   // the address of the host's last entry
  CalendarTime first = 0, last = 0;   // of the entries placed in time
  std::int64_t interval_minutes = 0;  // the logger's pause after each cycle
  bool interval_inferred = false;
  bool back_to_back = false;  // interval 0
  double cycle_seconds = 0;   // a cycle's own time, on average
  double period_seconds = 0;  // from one cycle's start to the next: interval + cycle
  double cycles_per_minute = 0;
  std::int64_t expected = 0;  // logged + missing; -1 back to back (no fixed number)
  Requests requests;
  RoundTrip round_trip;
  std::vector<Gap> gaps;
  std::vector<Outage> outages;
  std::map<std::uint32_t, std::int64_t> failures;  // error number -> count (sent requests)
  std::map<std::uint32_t, std::int64_t> not_sent;  // error number -> count
  std::map<Address, std::int64_t> routers;         // router -> replies
  std::vector<ClockJump> clock_jumps;
  std::int64_t off_clock = 0;  // entries counted, but not placed in time
  bool by_hour = false;
  std::vector<PeriodRow> periods;
};

struct SummaryOptions {
  std::int64_t interval_minutes = -1;  // -1: infer from the time between entries
  bool by_hour = false;
};

// The summary of one host's entries, given in time order, and the clock jumps found
// in its logs.
HostSummary Summarize(const std::string& host, const std::vector<const Entry*>& entries,
                      const SummaryOptions& options,
                      const std::vector<ClockJump>& clock_jumps = {});

// The longest time between two entries that is no gap: the interval, the longest
// cycle, and the whole seconds of the time stamps and a slow lookup.
double LongestStepSeconds(std::int64_t interval_minutes);

// The value at a percentile of sorted values, by the nearest-rank method.
int NearestRank(const std::vector<int>& sorted, int percent);

// Round-trip statistics of reply times given in time order.
RoundTrip RoundTripOf(const std::vector<int>& times_in_order);

// The name of an echo service error number ("request timed out"), or "".
const char* ErrorName(std::uint32_t error);

}  // namespace pinglog::report
