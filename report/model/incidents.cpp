#include "report/model/incidents.h"

#include <algorithm>

namespace pinglog::report {
namespace {

// An outage or a gap of one host: when it had no answer, or no entries.
struct Span {
  LogTime from = 0, to = 0;
  std::size_t host = 0;
  HostState state = HostState::kDown;
};

std::vector<Span> SpansOf(const std::vector<HostReport>& hosts) {
  std::vector<Span> spans;
  for (std::size_t h = 0; h < hosts.size(); ++h) {
    const HostSummary& s = hosts[h].summary;
    for (const Outage& o : s.outages) spans.push_back({o.start, o.end, h, HostState::kDown});
    for (const Gap& gap : s.gaps) {
      spans.push_back({gap.start, gap.before, h, HostState::kNoEntries});
    }
  }
  std::sort(spans.begin(), spans.end(), [](const Span& a, const Span& b) {
    return a.from != b.from ? a.from < b.from : a.host < b.host;
  });
  return spans;
}

// What a host that was neither down nor without entries did in [from, to).
IncidentHost Answered(const HostReport& host, std::size_t index, LogTime from, LogTime to) {
  IncidentHost state{index, HostState::kAnswered, from, to, {}};
  const HostSummary& s = host.summary;
  if (to <= s.first || from >= s.End()) state.state = HostState::kNotLogging;
  const auto begin = std::lower_bound(host.entries.begin(), host.entries.end(), from,
                                      [](const Entry& e, LogTime t) { return e.time < t; });
  for (auto it = begin; it != host.entries.end(); ++it) {
    const Entry entry = *it;
    if (entry.time >= to) break;
    if (!entry.off_clock) CountCycle(entry, state.requests);
  }
  return state;
}

// Whether the host states, in path order, read as one of the plain verdicts.
Verdict VerdictOf(const std::vector<IncidentHost>& hosts) {
  std::vector<bool> failing;  // of the hosts that were logging, nearest first
  bool down = false, answered = false;
  for (const IncidentHost& h : hosts) {
    if (h.state == HostState::kNotLogging) continue;
    failing.push_back(h.state != HostState::kAnswered);
    down = down || h.state == HostState::kDown;
    answered = answered || h.state == HostState::kAnswered;
  }
  if (!down) return answered ? Verdict::kNoEntries : Verdict::kNotLogging;
  if (!answered) return Verdict::kAllDown;
  const auto first_failing = std::find(failing.begin(), failing.end(), true);
  if (std::find(first_failing, failing.end(), false) == failing.end()) return Verdict::kBeyond;
  return std::count(failing.begin(), failing.end(), true) == 1 ? Verdict::kOneHost
                                                               : Verdict::kMixed;
}

Incident MakeIncident(const std::vector<HostReport>& hosts, const std::vector<Span>& members) {
  Incident incident;
  incident.start = members.front().from;
  incident.end = members.front().to;
  for (const Span& span : members) incident.end = std::max(incident.end, span.to);
  for (std::size_t h = 0; h < hosts.size(); ++h) {
    IncidentHost state = Answered(hosts[h], h, incident.start, incident.end);
    for (const HostState kind : {HostState::kDown, HostState::kNoEntries}) {
      if (state.state == HostState::kDown) break;
      bool seen = false;
      for (const Span& span : members) {
        if (span.host != h || span.state != kind) continue;
        state.from = seen ? std::min(state.from, span.from) : span.from;
        state.to = seen ? std::max(state.to, span.to) : span.to;
        state.state = kind;
        seen = true;
      }
    }
    incident.hosts.push_back(state);
  }
  incident.verdict = VerdictOf(incident.hosts);
  return incident;
}

}  // namespace

const IncidentHost* Incident::First(HostState state) const {
  for (const IncidentHost& h : hosts) {
    if (h.state == state) return &h;
  }
  return nullptr;
}

std::vector<Incident> FindIncidents(const std::vector<HostReport>& hosts) {
  std::vector<Incident> incidents;
  if (hosts.size() < 2 || hosts.size() > kMostHostsForIncidents) return incidents;
  std::int64_t tolerance = 0;  // one cycle of the slowest logger
  for (const HostReport& host : hosts) tolerance = std::max(tolerance, host.summary.period);
  const std::vector<Span> spans = SpansOf(hosts);
  for (std::size_t first = 0; first < spans.size();) {
    std::size_t last = first + 1;
    LogTime end = spans[first].to;
    while (last < spans.size() && spans[last].from <= end + tolerance) {
      end = std::max(end, spans[last].to);
      ++last;
    }
    incidents.push_back(
        MakeIncident(hosts, std::vector<Span>(spans.begin() + static_cast<std::ptrdiff_t>(first),
                                              spans.begin() + static_cast<std::ptrdiff_t>(last))));
    first = last;
  }
  return incidents;
}

void ExplainGaps(const std::vector<Incident>& incidents, std::vector<HostReport>& hosts) {
  for (const Incident& incident : incidents) {
    const GapCause cause = incident.verdict == Verdict::kNotLogging ? GapCause::kNoLog
                           : incident.First(HostState::kDown)       ? GapCause::kLineDown
                                                                    : GapCause::kOthersWrote;
    for (const IncidentHost& h : incident.hosts) {
      if (h.state != HostState::kNoEntries) continue;
      HostSummary& s = hosts[h.host].summary;
      for (Gap& gap : s.gaps) {
        if (gap.start >= h.from && gap.before <= h.to) gap.cause = cause;
      }
    }
  }
}

std::int64_t UnobservedInIncidents(const std::vector<Incident>& incidents, std::size_t host) {
  std::int64_t seconds = 0;
  for (const Incident& incident : incidents) {
    if (incident.verdict == Verdict::kNotLogging) continue;
    const IncidentHost& h = incident.hosts[host];
    if (h.state == HostState::kNoEntries) seconds += h.to - h.from;
  }
  return seconds;
}

}  // namespace pinglog::report
