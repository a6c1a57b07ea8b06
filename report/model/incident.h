// An incident: when several hosts' outages and gaps overlap, what each host did
// meanwhile, and what that points to (FindIncidents makes them).
#pragma once

#include <cstdint>
#include <vector>

#include "report/logs/log_line.h"
#include "report/model/cycle_counts.h"

namespace pinglog::report {

enum class HostState : std::uint8_t {
  kAnswered,    // its requests were answered (some may have been lost)
  kDown,        // an outage
  kNoEntries,   // a gap in its log
  kNotLogging,  // outside its log's period
};

struct IncidentHost {
  std::size_t host = 0;  // index into Report::hosts
  HostState state = HostState::kAnswered;
  LogTime from = 0, to = 0;  // down: the outage's bounds; no entries: the gap's
  Requests requests;         // answered: what it sent and lost meanwhile
};

// What the hosts' states point to, in path order.
enum class Verdict : std::uint8_t {
  kAllDown,     // every host down (or without entries), the nearest too
  kBeyond,      // the nearest hosts answered, every farther one was down
  kOneHost,     // one host down while nearer and farther ones answered
  kNoEntries,   // no host down; some without entries while others answered
  kMixed,       // down and answered hosts in no such order
  kNotLogging,  // no entries in any log: no incident, the machine was not logging
};

struct Incident {
  LogTime start = 0, end = 0;  // the first start and the last end of its outages and gaps
  Verdict verdict = Verdict::kMixed;
  std::vector<IncidentHost> hosts;  // every host, in path order
  std::int64_t Seconds() const { return end - start; }
  // The first host (in path order) in this state, or nullptr.
  const IncidentHost* First(HostState state) const;
};

}  // namespace pinglog::report
