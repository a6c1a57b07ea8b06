// Writes a made-up log to standard output, entry by entry as the logger composes them:
// replies of a few milliseconds with occasional spikes, time-outs, router reports,
// outages and gaps, one cycle per interval.
//
//   make_log --cycles 525600 --interval 1 --start "2021-01-01 00:00:00" [--host router1]
//            [--loss-at "2021-01-04 10:00:00" --loss-minutes 360] [--seed 12345]
//
// A host that begins with a digit (127.0.0.1) is written as the logger writes an
// address: not looked up, its replies from that address.
//
// With --loss-at the line is steady instead: replies of 10 to 20 ms, one in 500 of
// 900 ms, no gaps, and lost requests only in the window given.
//
// For the report's tests and its benchmark; the output is never committed.
#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>

#include "app/settings.h"
#include "ping/log_entry.h"
#include "ping/target.h"

int main(int argc, char** argv) {
  long cycles = 1000;
  long interval_minutes = 1;
  long loss_minutes = 0;
  unsigned long seed = 12345;  // another seed: outages and gaps at other times
  std::string start = "2021-01-01 00:00:00", host = "router1", loss_at;
  for (int i = 1; i + 1 < argc; i += 2) {
    const std::string option = argv[i];
    if (option == "--cycles") cycles = std::atol(argv[i + 1]);
    if (option == "--interval") interval_minutes = std::atol(argv[i + 1]);
    if (option == "--start") start = argv[i + 1];
    if (option == "--host") host = argv[i + 1];
    if (option == "--loss-at") loss_at = argv[i + 1];
    if (option == "--loss-minutes") loss_minutes = std::atol(argv[i + 1]);
    if (option == "--seed") seed = std::strtoul(argv[i + 1], nullptr, 10);
  }
  using namespace pinglog;
  std::mt19937 random(static_cast<std::mt19937::result_type>(seed));
  std::uniform_int_distribution<int> percent(0, 99), fast(3, 25), spike(80, 900);
  CalendarTime time = EndTimeFromText(start);
  // A host that begins with a digit is its own address, as the logger takes it.
  const bool numeric = host[0] >= '0' && host[0] <= '9';
  const IPv4Bytes target = numeric ? ParseDottedQuad(host) : IPv4Bytes{192, 0, 2, 1};
  const IPv4Bytes router{198, 51, 100, 254};
  int outage_left = 0;
  const bool steady = !loss_at.empty();
  const CalendarTime loss_from = steady ? EndTimeFromText(loss_at) : 0;
  const CalendarTime loss_to = static_cast<CalendarTime>(loss_from + loss_minutes * 60);
  std::uniform_int_distribution<int> steady_fast(10, 20), per_mille(0, 999);
  for (long cycle = 0; cycle < cycles;
       ++cycle, time += static_cast<CalendarTime>(interval_minutes * 60)) {
    if (!steady && percent(random) == 0 && percent(random) < 5) continue;  // logger not running
    if (!steady && percent(random) == 0 && percent(random) < 2) {
      outage_left = 1 + percent(random) / 10;
    }
    CycleResult result;
    result.time_stamp = FormatTime(kLogTimeMask, time);
    result.host = host;
    result.by_name = !numeric;
    result.resolved_address = numeric ? host : "192.0.2.1";
    for (AttemptOutcome& attempt : result.attempts) {
      const int roll = percent(random);
      if (steady && time >= loss_from && time < loss_to && roll < 40) {
        attempt.error = 11010;
      } else if (steady) {
        attempt.replied = true;
        attempt.source = target;
        attempt.data_size = 32;
        attempt.round_trip_ms =
            static_cast<std::int16_t>(per_mille(random) < 2 ? 900 : steady_fast(random));
        attempt.ttl = 57;
      } else if (outage_left > 0 || roll < 2) {
        attempt.error = 11010;
      } else if (roll < 3) {
        attempt.replied = true;
        attempt.source = router;
        attempt.round_trip_ms = static_cast<std::int16_t>(fast(random));
        attempt.ttl = 254;
      } else {
        attempt.replied = true;
        attempt.source = target;
        attempt.data_size = 32;
        attempt.round_trip_ms = static_cast<std::int16_t>(roll < 5 ? spike(random) : fast(random));
        attempt.ttl = 57;
      }
    }
    if (outage_left > 0) --outage_left;
    result.stats = ComputeStatistics(result.attempts);
    const std::string entry = ComposeLogEntry(result);
    std::fwrite(entry.data(), 1, entry.size(), stdout);
  }
  return 0;
}
