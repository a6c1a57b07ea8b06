#include "report/model/cycle_counts.h"

#include <algorithm>

#include "ping/cycle.h"

namespace pinglog::report {
CycleCounts CountCycle(const Entry& entry, Requests& requests, std::vector<int>& times) {
  return CountCycleWith(entry, requests, [&](int ms) { times.push_back(ms); });
}

CycleCounts CountCycle(const Entry& entry, Requests& requests, RoundTripCounter& times) {
  return CountCycleWith(entry, requests, [&](int ms) { times.Add(ms); });
}

CycleCounts CountCycle(const Entry& entry, Requests& requests) {
  return CountCycleWith(entry, requests, [](int) {});
}

// The logger's own figures (ping/cycle.h): each attempt waits for its reply, at most
// the time-out, and then pauses.
double CycleSeconds(const Entry& entry) {
  std::uint32_t ms = 0;
  for (const Attempt& a : entry.attempts) {
    if (a.outcome == Outcome::kFailure) {
      ms += a.error() == kIpRequestTimedOut ? kEchoTimeoutMs : 0;
    } else {
      ms += std::min<std::uint32_t>(a.time_ms, kEchoTimeoutMs);
    }
    ms += kPauseAfterAttemptMs;
  }
  return ms / 1000.0;
}

}  // namespace pinglog::report
