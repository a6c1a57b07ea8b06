// Incidents in words: when, how long, what each host did and what that points to.
// The terminal, the page, the SVG and the JSON say them alike.
#pragma once

#include <string>
#include <vector>

#include "report/model/report.h"

namespace pinglog::report {

// "1 hop", "6 hops", "hops unknown" (no replies).
std::string HopsText(const HostSummary& summary);

// "gw.isp (2 hops)", "router (192.168.1.1, 1 hop)".
std::string CalledWithHops(const HostSummary& summary);

// "only remote.example was down: the fault is at that host or on its own path".
std::string VerdictText(const Incident& incident, const Report& report);

// The verdict's kind for the JSON: "all_down", "beyond", "one_host", "no_entries",
// "mixed", "not_logging", "flapping", "in_turn".
const char* VerdictKind(Verdict verdict);

// "30.11.2026 20:10:00 to 30.11.2026 21:45:00 (1 h 35 min)".
std::string IncidentWhen(const Incident& incident);

// What one host did: "down 20:10:03 to 21:45:03" (or "down 3 times, 27 min in all,
// ... to ..."), "answered (0.00 % loss)", "no entries ...: its name could not be looked
// up while the line was down", "not logging".
std::string HostStateText(const Incident& incident, const IncidentHost& host, const Report& report);

// The state's name for the JSON and the page's classes: "answered", "down",
// "no_entries", "not_logging".
const char* HostStateName(HostState state);

// What the hosts that answered did, where an incident does not list them all (with many
// hosts): "the other 37 hosts answered (0.12 % loss)"; else "".
std::string OthersAnsweredText(const Incident& incident);

// The incidents the terminal and the page list: all, or the longest 20, by time.
std::vector<const Incident*> ListedIncidents(const Report& report);
// "... and 10492 shorter ones (--json lists them all)", or "" when all are listed.
std::string MoreIncidentsText(const Report& report, std::size_t listed);

// "; not observed 6 h during incidents", or "" when it was observed throughout.
std::string UnobservedText(const HostSummary& summary);

// "Incidents: 3. The hosts, nearest first: router (0 hops), ...": the list's heading
// (without the count when incidents are not sought).
std::string IncidentsHeading(const Report& report);

}  // namespace pinglog::report
