// Where it broke: the outages and gaps of several hosts that overlap in time, taken
// together as incidents, each with what every host did meanwhile and what that points
// to along the hosts' tree. Read from the hosts' outages, gaps and entries, never from
// the log lines; the hosts must be in path order (OrderHosts). With one host there
// are none.
#pragma once

#include <cstdint>
#include <vector>

#include "report/model/incident.h"
#include "report/model/report.h"

namespace pinglog::report {

// With at most this many hosts, each incident lists every host (those that answered
// with their loss); with more, the hosts that failed, the others counted.
inline constexpr std::size_t kHostsListedAtMost = 30;

// The incidents of hosts in path order, by time, stretches without entries in any log
// among them (kNotLogging). Outages and gaps join an incident when they begin within
// one cycle of its end: loggers started seconds apart see one fault at once. An outage
// of a single cycle while no other host failed is no incident: noise, that a
// degradation episode speaks for. Its verdict comes from the hosts that failed at one
// moment, the most at once: a host down more than once in it is flapping, hosts down
// one after another and never all at once are down in turn.
std::vector<Incident> FindIncidents(const std::vector<HostReport>& hosts);

// Tells each host's gaps what the other logs say of them (Gap::cause).
void ExplainGaps(const std::vector<Incident>& incidents, std::vector<HostReport>& hosts);

// The time a host was not observed (its gaps) during the incidents: the part of its
// period that its availability does not speak for.
std::int64_t UnobservedInIncidents(const std::vector<Incident>& incidents, std::size_t host);

}  // namespace pinglog::report
