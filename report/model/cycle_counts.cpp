#include "report/model/cycle_counts.h"

#include <algorithm>

#include "ping/cycle.h"

namespace pinglog::report {
namespace {

// The echo service's number for a request that timed out: it waited the whole time-out.
constexpr std::uint32_t kTimedOut = 11010;

}  // namespace

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
      ms += a.error() == kTimedOut ? kEchoTimeoutMs : 0;
    } else {
      ms += std::min<std::uint32_t>(a.time_ms, kEchoTimeoutMs);
    }
    ms += kPauseAfterAttemptMs;
  }
  return ms / 1000.0;
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
