#include "ping/statistics.h"

#include <algorithm>

namespace pinglog {

CycleStatistics ComputeStatistics(const CycleAttempts& attempts) {
  CycleStatistics stats;
  std::int16_t sum = 0;
  for (const AttemptOutcome& attempt : attempts) {
    ++stats.sent;
    if (!attempt.replied) {
      ++stats.lost;
      continue;
    }
    const std::int16_t time = attempt.round_trip_ms;
    stats.minimum = stats.received == 0 ? time : std::min(stats.minimum, time);
    stats.maximum = stats.received == 0 ? time : std::max(stats.maximum, time);
    ++stats.received;
    if (time > 0) sum = static_cast<std::int16_t>(sum + time);
  }
  if (stats.lost != 0) {
    stats.loss_percent = static_cast<float>(static_cast<double>(stats.lost) / stats.sent * 100.0);
  }
  stats.average = stats.received != 0
                      ? static_cast<float>(static_cast<double>(sum) / stats.received)
                      : static_cast<float>(stats.maximum);
  return stats;
}

}  // namespace pinglog
