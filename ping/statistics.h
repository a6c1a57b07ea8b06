// What three echo attempts add up to: counters, loss and the round-trip summary.
#pragma once

#include <array>
#include <cstdint>

#include "platform/platform.h"
#include "support/domain.h"

namespace pinglog {

// One attempt: a reply record (from the target, or a router's error about our
// request) or a failure with the echo service's error number.
struct AttemptOutcome {
  bool replied = false;
  IPv4Bytes source{};
  std::int16_t data_size = 0;
  std::int16_t round_trip_ms = 0;  // the low 16 bits of the service's value
  std::uint8_t ttl = 0;
  std::uint32_t error = 0;
};

using CycleAttempts = std::array<AttemptOutcome, kAttemptsPerCycle>;

// Minimum and maximum when no reply was received; logs and their readers know them.
constexpr std::int16_t kNoReplyMinimum = 255;
constexpr std::int16_t kNoReplyMaximum = 0;

struct CycleStatistics {
  std::int16_t sent = 0;
  std::int16_t received = 0;
  std::int16_t lost = 0;
  float loss_percent = 0;
  std::int16_t minimum = kNoReplyMinimum;
  std::int16_t maximum = kNoReplyMaximum;
  float average = 0;
};

// Minimum and maximum cover every reply received, 0 ms replies included. The sum
// behind the average adds the times above 0 ms and is divided by all replies received.
CycleStatistics ComputeStatistics(const CycleAttempts& attempts);

}  // namespace pinglog
