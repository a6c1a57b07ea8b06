// One cycle's items counted: what was sent, answered, lost, reported by a router or
// never sent. Every count of requests in the report comes from here.
#pragma once

#include <cstdint>
#include <vector>

#include "report/logs/log_set.h"
#include "report/model/round_trip.h"
#include "support/domain.h"

namespace pinglog::report {

// Requests: "received" counts replies from the target; a router's error report is
// no reply from the target, so it counts as lost, and is also counted on its own.
// A request that never left the machine (error 5, no permission; 1214, invalid
// destination) is "not sent": neither sent nor lost.
struct Requests {
  std::int64_t cycles = 0, sent = 0, received = 0, lost = 0, router = 0, not_sent = 0;
  double LossPercent() const { return sent == 0 ? 0 : 100.0 * static_cast<double>(lost) / sent; }
  Requests& operator+=(const Requests& more) {
    cycles += more.cycles;
    sent += more.sent;
    received += more.received;
    lost += more.lost;
    router += more.router;
    not_sent += more.not_sent;
    return *this;
  }
};

// One cycle's items added to the requests; the replies' times appended to `times`
// (or counted).
struct CycleCounts {
  int replies = 0, routers = 0, sent = 0;
};
CycleCounts CountCycle(const Entry& entry, Requests& requests, std::vector<int>& times);
CycleCounts CountCycle(const Entry& entry, Requests& requests, RoundTripCounter& times);
// The requests alone, where the times are not asked for.
CycleCounts CountCycle(const Entry& entry, Requests& requests);
// The same, handing each reply's time to `add`.
template <typename AddTime>
CycleCounts CountCycleWith(const Entry& entry, Requests& requests, AddTime add) {
  CycleCounts counts;
  ++requests.cycles;
  for (const Attempt& attempt : entry.attempts) {
    if (attempt.outcome == Outcome::kFailure && NeverSent(attempt.error())) {
      ++requests.not_sent;
      continue;
    }
    ++requests.sent;
    ++counts.sent;
    if (attempt.outcome == Outcome::kReply) {
      ++requests.received;
      ++counts.replies;
      add(attempt.time_ms);
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

// How long the logger took for this cycle, from what its items say: each attempt
// waits for its reply (or the whole time-out) and then pauses.
double CycleSeconds(const Entry& entry);

}  // namespace pinglog::report
