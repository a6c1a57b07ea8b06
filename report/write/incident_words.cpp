#include "report/write/incident_words.h"
#include "report/write/host_words.h"

#include <algorithm>

#include "report/model/incidents.h"
#include "report/write/words.h"

namespace pinglog::report {
namespace {

// Hosts named in running text at most; more are counted.
constexpr std::size_t kNamedAtMost = 3;

std::string Name(const Report& report, std::size_t host) {
  return Called(report.hosts[host].summary);
}

std::vector<std::size_t> HostsIn(const Incident& incident, bool (*pick)(HostState)) {
  std::vector<std::size_t> hosts;
  for (const IncidentHost& h : incident.hosts) {
    if (pick(h.state)) hosts.push_back(h.host);
  }
  return hosts;
}

bool Failing(HostState state) {
  return state == HostState::kDown || state == HostState::kNoEntries;
}
bool Answering(HostState state) { return state == HostState::kAnswered; }

// "ispdns and 100.64.0.1 answered", or "the other 3 answered" where not all are listed.
std::string AnsweredPart(const Incident& incident, const Report& report) {
  const std::vector<std::size_t> answered = HostsIn(incident, Answering);
  if (static_cast<std::int64_t>(answered.size()) == incident.answered &&
      answered.size() <= kNamedAtMost + 1) {
    return HostList(report, answered) + " answered";
  }
  return "the other " + std::to_string(incident.answered) + " answered";
}

std::string NoEntriesVerdict(const Incident& incident, const Report& report) {
  const std::vector<std::size_t> silent =
      HostsIn(incident, [](HostState s) { return s == HostState::kNoEntries; });
  const bool one = silent.size() == 1;
  const bool named = !silent.empty() && report.hosts[silent.front()].summary.LookedUp();
  return "no entries from " + HostList(report, silent) + " while the others answered: " +
         (one ? std::string(named ? "its name could not be looked up, or its logger was not "
                                    "running"
                                  : "its logger was not running")
              : std::string("their names could not be looked up, or their loggers were not "
                            "running"));
}

// "router (192.168.1.1) down 72 times (50 % of the time), 192.0.2.9 down 72 times (60 %)".
std::string FlappingVerdict(const Incident& incident, const Report& report) {
  std::string text = "flapping, at most " + std::to_string(incident.most_at_once) + " of " +
                     Plural(incident.Failing(), "host", "hosts") + " down at once: ";
  std::size_t named = 0;
  for (const IncidentHost& h : incident.hosts) {
    if (h.state != HostState::kDown) continue;
    if (named == kNamedAtMost) {
      text += " and others";
      break;
    }
    const double share = 100.0 * static_cast<double>(h.seconds) /
                         static_cast<double>(std::max<std::int64_t>(1, incident.Seconds()));
    text += std::string(named == 0 ? "" : ", ") + Name(report, h.host) + " down " +
            Plural(h.times, "time", "times") + " (" + FormatFixed(share, 0) +
            (named == 0 ? " % of the time)" : " %)");
    ++named;
  }
  return text;
}

std::string BeyondVerdict(const Incident& incident, const Report& report) {
  const std::string top = Name(report, incident.first_failing.front());
  if (!incident.beyond) {
    return top +
           " and everything behind it were down while other hosts answered: the fault "
           "lies between this machine and " +
           top;
  }
  const std::string answered = Name(report, *incident.beyond);
  if (!incident.whole_branch) {
    return answered + " answered, " + top + " and everything behind it were down: the fault " +
           "lies between " + answered + " and " + top;
  }
  const std::int64_t failing = incident.Failing();
  const std::string what =
      "everything beyond it was down" + (failing > static_cast<std::int64_t>(kNamedAtMost)
                                             ? " (" + std::to_string(failing) + " hosts)"
                                             : std::string());
  if (incident.first_failing.size() == 1) {
    return answered + " answered, " + what + ": the fault lies between " + answered + " and " + top;
  }
  return answered + " answered, " + what + ": the fault lies between " + answered +
         " and the hosts behind it (" + HostList(report, incident.first_failing) + ")";
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
    case Verdict::kFlapping:
      return "flapping";
    case Verdict::kInTurn:
      return "in_turn";
    case Verdict::kMixed:
      break;
  }
  return "mixed";
}

std::string VerdictText(const Incident& incident, const Report& report) {
  const std::vector<std::size_t> failing = HostsIn(incident, Failing);
  switch (incident.verdict) {
    case Verdict::kAllDown: {
      const std::string all = "all " + std::to_string(failing.size()) + " hosts down";
      if (incident.first_failing.size() != 1) {
        return all + ", the nearest ones too (" + HostList(report, incident.first_failing) +
               "): the fault is at this machine's own link or just beyond it";
      }
      const HostSummary& nearest = report.hosts[incident.first_failing.front()].summary;
      return all + ", the nearest host " + CalledWithHops(nearest) + " too: the fault is at " +
             Called(nearest) + " or between this machine and it";
    }
    case Verdict::kBeyond:
      return BeyondVerdict(incident, report);
    case Verdict::kOneHost:
      return "only " + Name(report, failing.front()) +
             " was down: the fault is at that host or on its own path";
    case Verdict::kNoEntries:
      return NoEntriesVerdict(incident, report);
    case Verdict::kNotLogging:
      return "no entries in any log: this machine was off, asleep or not logging";
    case Verdict::kFlapping:
      return FlappingVerdict(incident, report);
    case Verdict::kInTurn:
      return HostList(report, failing) + " down one after another, at most " +
             std::to_string(incident.most_at_once) + " at once, while " +
             AnsweredPart(incident, report) + ": no one place explains it";
    case Verdict::kMixed:
      break;
  }
  if (failing.size() <= kNamedAtMost + 1) {
    return HostList(report, failing) + " down while " + AnsweredPart(incident, report) +
           ": no one place explains it";
  }
  // Many: counted, among the hosts behind the one they all lie behind where there is one.
  const std::int64_t among = incident.beyond
                                 ? incident.behind
                                 : static_cast<std::int64_t>(failing.size()) + incident.answered;
  const std::int64_t others = among - static_cast<std::int64_t>(failing.size());
  return std::to_string(failing.size()) + " of " + std::to_string(among) + " hosts" +
         (incident.beyond ? " behind " + Name(report, *incident.beyond) : "") + " down (" +
         HostList(report, failing) + ")" +
         (others > 0 ? ", the other " + std::to_string(others) + " answered" : "") +
         ": no one place explains it";
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
  // "20:10:03 to 21:45:03", or "3 times, 27 min in all, 20:10:03 to 21:45:03".
  const std::string when = (host.times > 1 ? std::to_string(host.times) + " times, " +
                                                 Duration(host.seconds) + " in all, "
                                           : "") +
                           ReadableTime(host.from) + " to " + ReadableTime(host.to);
  switch (host.state) {
    case HostState::kDown:
      return "down " + when;
    case HostState::kNotLogging:
      return "not logging then (outside its log's period)";
    case HostState::kNoEntries: {
      const bool named = report.hosts[host.host].summary.LookedUp();
      const bool line_down = incident.First(HostState::kDown) != nullptr;
      return "no entries " + when + ": " +
             (!named      ? "its logger was not running"
              : line_down ? "its name could not be looked up while the line was down"
                          : "its name could not be looked up, or its logger was not running");
    }
    case HostState::kAnswered:
      break;
  }
  return "answered (" + FormatFixed(host.requests.LossPercent(), 2) + " % loss)";
}

std::string OthersAnsweredText(const Incident& incident) {
  std::int64_t listed = 0;
  for (const IncidentHost& h : incident.hosts) listed += h.state == HostState::kAnswered ? 1 : 0;
  if (listed == incident.answered) return "";
  return "the other " + Plural(incident.answered, "host", "hosts") + " answered (" +
         FormatFixed(incident.answered_requests.LossPercent(), 2) + " % loss)";
}

std::vector<const Incident*> ListedIncidents(const Report& report) {
  return LongestInTimeOrder(report.incidents);
}

std::string MoreIncidentsText(const Report& report, std::size_t listed) {
  return MoreText(report.incidents.size(), listed);
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
  const std::size_t named = std::min(report.hosts.size(), kHostsListedAtMost);
  for (std::size_t h = 0; h < named; ++h) {
    hosts += (hosts.empty() ? "" : ", ") + CalledWithHops(report.hosts[h].summary);
  }
  if (named < report.hosts.size()) {
    hosts += " and " + std::to_string(report.hosts.size() - named) + " more";
  }
  const std::string found =
      report.incidents_sought ? "Incidents: " + std::to_string(incidents) + ". " : "";
  return found + "The hosts, nearest first: " + hosts + ".";
}

}  // namespace pinglog::report
