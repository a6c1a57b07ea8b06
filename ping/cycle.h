#pragma once

#include <cstdint>
#include <string>

#include "ping/statistics.h"

namespace pinglog {

// How long one cycle takes, apart from the lookup and the log append: each of its
// attempts waits at most the time-out for its reply and then pauses. The report
// derives the logger's real period from these.
constexpr std::uint32_t kEchoTimeoutMs = 1000;
constexpr std::uint32_t kPauseAfterAttemptMs = 100;
constexpr std::uint32_t kShortestCycleMs = kAttemptsPerCycle * kPauseAfterAttemptMs;
constexpr std::uint32_t kLongestCycleMs =
    kAttemptsPerCycle * (kEchoTimeoutMs + kPauseAfterAttemptMs);

// One measurement: takes the time stamp, finds the target's address (looking the host
// up unless its text begins with a digit), sends three echo requests 100 ms apart and
// appends one entry to the log. A host that cannot be looked up ends the cycle without
// a request and without an entry, after the shortest cycle's time. Nothing that goes
// wrong leaves the cycle.
void RunPingCycle(const std::string& host, const std::string& log_path);

}  // namespace pinglog
