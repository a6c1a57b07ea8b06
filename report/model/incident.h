// An incident: when several hosts' outages and gaps overlap, what each host did
// meanwhile, and what that points to (FindIncidents makes them).
#pragma once

#include <cstdint>
#include <optional>
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
  // Down: the first of its outages in the incident began at `from`, the last ended at
  // `to`; no entries: the same of its gaps.
  LogTime from = 0, to = 0;
  std::int64_t times = 0;    // down or no entries: how many outages (or gaps)
  std::int64_t seconds = 0;  // their lengths added up
  Requests requests;         // answered: what it sent and lost meanwhile
};

// What the hosts' states point to, along the hosts' tree.
enum class Verdict : std::uint8_t {
  kAllDown,     // every host down (or without entries) at one moment, the nearest too
  kBeyond,      // a host answered, every host behind it was down
  kOneHost,     // one host down while the hosts before it answered
  kNoEntries,   // no host down; some without entries while others answered
  kMixed,       // down and answered hosts in no such order
  kNotLogging,  // no entries in any log: no incident, the machine was not logging
  kFlapping,    // a host down and up again more than once within it
  kInTurn,      // hosts down one after another, never all of them at once
};

struct Incident {
  LogTime start = 0, end = 0;  // the first start and the last end of its outages and gaps
  Verdict verdict = Verdict::kMixed;
  // Every host that was down or without entries, and, with few hosts, every other
  // one; in path order.
  std::vector<IncidentHost> hosts;
  // All the hosts that answered (listed or not), and what they sent and lost meanwhile;
  // the hosts not logging then.
  std::int64_t answered = 0, not_logging = 0;
  Requests answered_requests;
  // The most hosts down or without entries at one moment.
  std::int64_t most_at_once = 0;
  // Where it points: the host that answered, behind which every failing host lies (if
  // one does; kBeyond: behind which every host failed), with how many hosts lie
  // behind it; the failing hosts nearest the machine (behind no other failing host).
  std::optional<std::size_t> beyond;
  std::int64_t behind = 0;
  bool whole_branch = false;  // every host behind `beyond` failed
  std::vector<std::size_t> first_failing;

  std::int64_t Seconds() const { return end - start; }
  // The first host (in path order) in this state, or nullptr.
  const IncidentHost* First(HostState state) const;
  // The host's state, or nullptr when it is not listed (it answered, with many hosts).
  const IncidentHost* Of(std::size_t host) const;
  // How many hosts were down or without entries.
  std::int64_t Failing() const;
};

}  // namespace pinglog::report
