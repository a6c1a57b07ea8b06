#include "report/write/incident_words.h"
#include "report/write/host_words.h"

#include <algorithm>

#include "report/model/incidents.h"
#include "report/write/words.h"

namespace pinglog::report {
namespace {

std::string Name(const Report& report, const IncidentHost& host) {
  return Called(report.hosts[host.host].summary);
}

// "gw.isp, dns.isp and remote.example".
std::string Names(const Report& report, const Incident& incident, bool (*pick)(HostState)) {
  std::vector<std::string> names;
  for (const IncidentHost& h : incident.hosts) {
    if (pick(h.state)) names.push_back(Name(report, h));
  }
  std::string text;
  for (std::size_t i = 0; i < names.size(); ++i) {
    text += (i == 0 ? "" : i + 1 == names.size() ? " and " : ", ") + names[i];
  }
  return text;
}

bool Failing(HostState state) {
  return state == HostState::kDown || state == HostState::kNoEntries;
}
bool Answering(HostState state) { return state == HostState::kAnswered; }

// The nearest host that failed, and the last that answered before it.
const IncidentHost* FirstFailing(const Incident& incident) {
  for (const IncidentHost& h : incident.hosts) {
    if (Failing(h.state)) return &h;
  }
  return nullptr;
}
const IncidentHost* LastAnswering(const Incident& incident) {
  const IncidentHost* last = nullptr;
  for (const IncidentHost& h : incident.hosts) {
    if (Failing(h.state)) break;
    if (h.state == HostState::kAnswered) last = &h;
  }
  return last;
}

std::string NoEntriesVerdict(const Incident& incident, const Report& report) {
  const std::string names =
      Names(report, incident, [](HostState s) { return s == HostState::kNoEntries; });
  const IncidentHost* first = incident.First(HostState::kNoEntries);
  const bool one = std::count_if(incident.hosts.begin(), incident.hosts.end(), [](const auto& h) {
                     return h.state == HostState::kNoEntries;
                   }) == 1;
  const bool named = first != nullptr && report.hosts[first->host].summary.LookedUp();
  return "no entries from " + names + " while the others answered: " +
         (one ? std::string(named ? "its name could not be looked up, or its logger was not "
                                    "running"
                                  : "its logger was not running")
              : std::string("their names could not be looked up, or their loggers were not "
                            "running"));
}

}  // namespace

std::string HopsText(const HostSummary& s) {
  if (!s.hops) return "hops unknown";
  return Plural(*s.hops, "hop", "hops");
}

std::string CalledWithHops(const HostSummary& s) {
  if (s.name.empty()) return s.host + " (" + HopsText(s) + ")";
  return s.name + " (" + s.host + ", " + HopsText(s) + ")";
}

const char* VerdictKind(Verdict verdict) {
  switch (verdict) {
    case Verdict::kAllDown:
      return "all_down";
    case Verdict::kBeyond:
      return "beyond";
    case Verdict::kOneHost:
      return "one_host";
    case Verdict::kNoEntries:
      return "no_entries";
    case Verdict::kNotLogging:
      return "not_logging";
    case Verdict::kMixed:
      break;
  }
  return "mixed";
}

std::string VerdictText(const Incident& incident, const Report& report) {
  const IncidentHost* failing = FirstFailing(incident);
  switch (incident.verdict) {
    case Verdict::kAllDown: {
      const HostSummary& nearest = report.hosts[failing->host].summary;
      const auto logging =
          std::count_if(incident.hosts.begin(), incident.hosts.end(),
                        [](const IncidentHost& h) { return h.state != HostState::kNotLogging; });
      return "all " + std::to_string(logging) + " hosts down, the nearest host " +
             CalledWithHops(nearest) + " too: the fault is at " + Called(nearest) +
             " or between this machine and it";
    }
    case Verdict::kBeyond: {
      const std::string answered = Name(report, *LastAnswering(incident));
      return answered + " answered, everything beyond it was down: the fault lies between " +
             answered + " and " + Name(report, *failing);
    }
    case Verdict::kOneHost:
      return "only " + Name(report, *failing) +
             " was down: the fault is at that host or on its own path";
    case Verdict::kNoEntries:
      return NoEntriesVerdict(incident, report);
    case Verdict::kNotLogging:
      return "no entries in any log: this machine was off, asleep or not logging";
    case Verdict::kMixed:
      break;
  }
  return Names(report, incident, Failing) + " down while " + Names(report, incident, Answering) +
         " answered: no one place explains it";
}

std::string IncidentWhen(const Incident& incident) {
  return ReadableTime(incident.start) + " to " + ReadableTime(incident.end) + " (" +
         Duration(incident.Seconds()) + ")";
}

const char* HostStateName(HostState state) {
  switch (state) {
    case HostState::kDown:
      return "down";
    case HostState::kNoEntries:
      return "no_entries";
    case HostState::kNotLogging:
      return "not_logging";
    case HostState::kAnswered:
      break;
  }
  return "answered";
}

std::string HostStateText(const Incident& incident, const IncidentHost& host,
                          const Report& report) {
  switch (host.state) {
    case HostState::kDown:
      return "down " + ReadableTime(host.from) + " to " + ReadableTime(host.to);
    case HostState::kNotLogging:
      return "not logging then (outside its log's period)";
    case HostState::kNoEntries: {
      const bool named = report.hosts[host.host].summary.LookedUp();
      const bool line_down = incident.First(HostState::kDown) != nullptr;
      return "no entries " + ReadableTime(host.from) + " to " + ReadableTime(host.to) + ": " +
             (!named      ? "its logger was not running"
              : line_down ? "its name could not be looked up while the line was down"
                          : "its name could not be looked up, or its logger was not running");
    }
    case HostState::kAnswered:
      break;
  }
  return "answered (" + FormatFixed(host.requests.LossPercent(), 2) + " % loss)";
}

std::string UnobservedText(const HostSummary& s) {
  if (s.unobserved_in_incidents == 0) return "";
  return "; not observed " + Duration(s.unobserved_in_incidents) + " during incidents";
}

std::string IncidentsHeading(const Report& report) {
  const auto incidents =
      std::count_if(report.incidents.begin(), report.incidents.end(),
                    [](const Incident& i) { return i.verdict != Verdict::kNotLogging; });
  std::string hosts;
  for (const HostReport& host : report.hosts) {
    hosts += (hosts.empty() ? "" : ", ") + CalledWithHops(host.summary);
  }
  const std::string found =
      report.incidents_sought ? "Incidents: " + std::to_string(incidents) + ". " : "";
  const std::string too_many = report.hosts.size() > kMostHostsForIncidents
                                   ? " (Incidents are looked for among " +
                                         std::to_string(kMostHostsForIncidents) +
                                         " hosts at most: give fewer logs to see them.)"
                                   : "";
  return found + "The hosts, nearest first: " + hosts + "." + too_many;
}

}  // namespace pinglog::report
