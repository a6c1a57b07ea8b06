// Incidents in words: when, how long, what each host did and what that points to.
// The terminal, the page, the SVG and the JSON say them alike.
#pragma once

#include <string>

#include "report/model/report.h"

namespace pinglog::report {

// "1 hop", "6 hops", "hops unknown" (no replies).
std::string HopsText(const HostSummary& summary);

// "gw.isp (1 hop)", "router (192.168.1.1, 0 hops)".
std::string CalledWithHops(const HostSummary& summary);

// "only remote.example was down: the fault is at that host or on its own path".
std::string VerdictText(const Incident& incident, const Report& report);

// The verdict's kind for the JSON: "all_down", "beyond", "one_host", "no_entries",
// "mixed", "not_logging".
const char* VerdictKind(Verdict verdict);

// "30.11.2026 20:10:00 to 30.11.2026 21:45:00 (1 h 35 min)".
std::string IncidentWhen(const Incident& incident);

// What one host did: "down 20:10:03 to 21:45:03", "answered (0.00 % loss)", "no
// entries: its name could not be looked up while the line was down", "not logging".
std::string HostStateText(const Incident& incident, const IncidentHost& host, const Report& report);

// The state's name for the JSON and the page's classes: "answered", "down",
// "no_entries", "not_logging".
const char* HostStateName(HostState state);

// "; not observed 6 h during incidents", or "" when it was observed throughout.
std::string UnobservedText(const HostSummary& summary);

// "Incidents: 3. The hosts, nearest first: router (0 hops), ...": the list's heading
// (without the count when incidents are not sought).
std::string IncidentsHeading(const Report& report);

}  // namespace pinglog::report
