#include "report/model/incidents.h"

#include <algorithm>
#include <map>

#include "report/model/fault_place.h"
#include "report/model/overlapping.h"

namespace pinglog::report {
namespace {

// An outage or a gap of one host: when it had no answer, or no entries.
struct Span {
  LogTime from = 0, to = 0;
  std::size_t host = 0;
  HostState state = HostState::kDown;
  std::int64_t cycles = 0;  // an outage's unanswered cycles
};

bool Single(const Span& span) { return span.state == HostState::kDown && span.cycles == 1; }

// Which single-cycle outages (by their place in `spans`) began while another host had a
// longer outage or a gap.
std::vector<bool> BesideLongerFailures(const std::vector<Span>& spans) {
  std::vector<bool> beside(spans.size(), false);
  // The two latest ends so far, of different hosts, of spans that are no single cycle.
  std::pair<LogTime, std::size_t> latest{INT64_MIN, SIZE_MAX}, second{INT64_MIN, SIZE_MAX};
  for (std::size_t i = 0; i < spans.size(); ++i) {
    const Span& span = spans[i];
    if (Single(span)) {
      const LogTime before = latest.second != span.host ? latest.first : second.first;
      beside[i] = before > span.from;
      for (std::size_t j = i + 1; !beside[i] && j < spans.size() && spans[j].from < span.to; ++j) {
        beside[i] = !Single(spans[j]) && spans[j].host != span.host;
      }
      continue;
    }
    if (span.host == latest.second) {
      latest.first = std::max(latest.first, span.to);
    } else if (span.to > latest.first) {
      second = latest;
      latest = {span.to, span.host};
    } else if (span.to > second.first && span.host != second.second) {
      second = {span.to, span.host};
    }
  }
  return beside;
}

// Every outage and gap, by start, but for outages of a single cycle that are noise: a
// single cycle counts where another host had a longer outage or a gap meanwhile, or
// where every host that was logging lost a cycle at once; else it belongs to the
// loss a degradation episode speaks for.
std::vector<Span> SpansOf(const std::vector<HostReport>& hosts) {
  std::vector<Span> spans;
  for (std::size_t h = 0; h < hosts.size(); ++h) {
    const HostSummary& s = hosts[h].summary;
    for (const Outage& o : s.outages)
      spans.push_back({o.start, o.end, h, HostState::kDown, o.cycles});
    for (const Gap& gap : s.gaps)
      spans.push_back({gap.start, gap.before, h, HostState::kNoEntries, 0});
  }
  std::sort(spans.begin(), spans.end(), [](const Span& a, const Span& b) {
    return a.from != b.from ? a.from < b.from : a.host < b.host;
  });
  std::vector<bool> kept = BesideLongerFailures(spans);
  // Single cycles that overlap, one cluster at a time: kept when every host lost one.
  for (std::size_t i = 0; i < spans.size();) {
    if (!Single(spans[i])) {
      kept[i] = true;
      ++i;
      continue;
    }
    std::vector<std::size_t> cluster = {i};
    LogTime end = spans[i].to;
    std::size_t j = i + 1;
    for (; j < spans.size() && spans[j].from < end; ++j) {
      if (!Single(spans[j])) continue;
      cluster.push_back(j);
      end = std::max(end, spans[j].to);
    }
    std::vector<bool> lost(hosts.size(), false);
    for (const std::size_t k : cluster) lost[spans[k].host] = true;
    bool every = true;
    for (std::size_t h = 0; h < hosts.size() && every; ++h) {
      const HostSummary& s = hosts[h].summary;
      every = lost[h] || spans[i].from < s.first || spans[i].from >= s.End();
    }
    for (const std::size_t k : cluster) kept[k] = kept[k] || every;
    i = cluster.back() + 1;
    while (i < j && !Single(spans[i])) kept[i++] = true;  // longer ones passed over
  }
  std::vector<Span> counted;
  for (std::size_t i = 0; i < spans.size(); ++i) {
    if (kept[i]) counted.push_back(spans[i]);
  }
  return counted;
}

// What a host did in [from, to) beside failing: whether it was logging, and what it
// sent and lost.
IncidentHost Answered(const HostReport& host, std::size_t index, LogTime from, LogTime to) {
  IncidentHost state{index, HostState::kAnswered, from, to, 0, 0, {}};
  const HostSummary& s = host.summary;
  if (to <= s.first || from >= s.End()) {
    state.state = HostState::kNotLogging;
    return state;
  }
  const auto begin = std::lower_bound(host.entries.begin(), host.entries.end(), from,
                                      [](const Entry& e, LogTime t) { return e.time < t; });
  for (auto it = begin; it != host.entries.end(); ++it) {
    const Entry entry = *it;
    if (entry.time >= to) break;
    if (!entry.off_clock) CountCycle(entry, state.requests);
  }
  return state;
}

// The most hosts failing at one moment, and which.
std::vector<std::size_t> MostAtOnce(const std::vector<Span>& members) {
  std::map<std::size_t, std::vector<std::pair<LogTime, LogTime>>> by_host;
  for (const Span& span : members) by_host[span.host].emplace_back(span.from, span.to);
  std::vector<std::pair<LogTime, std::ptrdiff_t>> changes;  // time, +host+1 or -(host+1)
  for (const Span& span : members) {
    changes.emplace_back(span.from, static_cast<std::ptrdiff_t>(span.host) + 1);
    changes.emplace_back(span.to, -static_cast<std::ptrdiff_t>(span.host) - 1);
  }
  std::sort(changes.begin(), changes.end());  // ends before starts at one moment
  std::map<std::size_t, int> open;
  std::size_t most = 0;
  LogTime at = 0;
  for (const auto& [time, change] : changes) {
    const std::size_t host = static_cast<std::size_t>(std::abs(change) - 1);
    if (change < 0 && --open[host] == 0) open.erase(host);
    if (change > 0) ++open[host];
    if (open.size() > most) {
      most = open.size();
      at = time;
    }
  }
  std::vector<std::size_t> hosts;
  for (const auto& [host, spans] : by_host) {
    for (const auto& [from, to] : spans) {
      if (from <= at && at < to) {
        hosts.push_back(host);
        break;
      }
    }
  }
  return hosts;
}

// A host's outages (or gaps) in the incident: their count, their lengths added up, and
// their bounds.
IncidentHost FailingHost(std::size_t h, const std::vector<Span>& members, HostState kind) {
  IncidentHost state{h, kind, 0, 0, 0, 0, {}};
  for (const Span& span : members) {
    if (span.host != h || span.state != kind) continue;
    state.from = state.times == 0 ? span.from : std::min(state.from, span.from);
    state.to = state.times == 0 ? span.to : std::max(state.to, span.to);
    state.seconds += span.to - span.from;
    ++state.times;
  }
  return state;
}

void SetVerdict(Incident& incident, const std::vector<HostReport>& hosts,
                const std::vector<Span>& members);

Incident MakeIncident(const std::vector<HostReport>& hosts, const std::vector<Span>& members) {
  Incident incident;
  incident.start = members.front().from;
  incident.end = members.front().to;
  for (const Span& span : members) incident.end = std::max(incident.end, span.to);
  std::vector<HostState> failed(hosts.size(), HostState::kAnswered);
  for (const Span& span : members) {
    if (failed[span.host] != HostState::kDown) failed[span.host] = span.state;
  }
  const bool listed = hosts.size() <= kHostsListedAtMost;
  for (std::size_t h = 0; h < hosts.size(); ++h) {
    if (failed[h] != HostState::kAnswered) {
      incident.hosts.push_back(FailingHost(h, members, failed[h]));
      continue;
    }
    const IncidentHost state = Answered(hosts[h], h, incident.start, incident.end);
    if (state.state == HostState::kNotLogging) {
      ++incident.not_logging;
    } else {
      ++incident.answered;
      incident.answered_requests += state.requests;
    }
    if (listed) incident.hosts.push_back(state);
  }
  SetVerdict(incident, hosts, members);
  return incident;
}

void SetVerdict(Incident& incident, const std::vector<HostReport>& hosts,
                const std::vector<Span>& members) {
  const bool down = incident.First(HostState::kDown) != nullptr;
  const std::vector<std::size_t> at_once = MostAtOnce(members);
  incident.most_at_once = static_cast<std::int64_t>(at_once.size());
  if (!down) {
    incident.verdict = incident.answered > 0 ? Verdict::kNoEntries : Verdict::kNotLogging;
    return;
  }
  const bool again =
      std::any_of(incident.hosts.begin(), incident.hosts.end(),
                  [](const IncidentHost& h) { return h.state == HostState::kDown && h.times > 1; });
  if (again) {
    incident.verdict = Verdict::kFlapping;
    return;
  }
  if (incident.most_at_once < incident.Failing()) {
    incident.verdict = Verdict::kInTurn;
    return;
  }
  std::vector<bool> failing(hosts.size(), false), logging(hosts.size(), false);
  for (const std::size_t h : at_once) failing[h] = true;
  for (std::size_t h = 0; h < hosts.size(); ++h) {
    const HostSummary& s = hosts[h].summary;
    logging[h] = failing[h] || !(incident.end <= s.first || incident.start >= s.End());
  }
  const FaultPlace place = PlaceFault(hosts, failing, logging);
  incident.first_failing = place.first_failing;
  incident.beyond = place.answered;
  incident.behind = place.behind;
  incident.whole_branch = place.whole_branch;
  static constexpr Verdict kVerdicts[] = {Verdict::kAllDown, Verdict::kBeyond, Verdict::kOneHost,
                                          Verdict::kMixed};
  incident.verdict = kVerdicts[static_cast<int>(place.place)];
}

}  // namespace

const IncidentHost* Incident::First(HostState state) const {
  for (const IncidentHost& h : hosts) {
    if (h.state == state) return &h;
  }
  return nullptr;
}

const IncidentHost* Incident::Of(std::size_t host) const {
  const auto found =
      std::lower_bound(hosts.begin(), hosts.end(), host,
                       [](const IncidentHost& h, std::size_t i) { return h.host < i; });
  return found != hosts.end() && found->host == host ? &*found : nullptr;
}

std::int64_t Incident::Failing() const {
  return std::count_if(hosts.begin(), hosts.end(), [](const IncidentHost& h) {
    return h.state == HostState::kDown || h.state == HostState::kNoEntries;
  });
}

std::vector<Incident> FindIncidents(const std::vector<HostReport>& hosts) {
  std::vector<Incident> incidents;
  if (hosts.size() < 2) return incidents;
  const std::vector<Span> spans = SpansOf(hosts);
  ForEachOverlappingRun(spans, SlowestPeriod(hosts), [&](std::size_t first, std::size_t last) {
    incidents.push_back(
        MakeIncident(hosts, std::vector<Span>(spans.begin() + static_cast<std::ptrdiff_t>(first),
                                              spans.begin() + static_cast<std::ptrdiff_t>(last))));
  });
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
        if (gap.start >= incident.start && gap.before <= incident.end) gap.cause = cause;
      }
    }
  }
}

std::int64_t UnobservedInIncidents(const std::vector<Incident>& incidents, std::size_t host) {
  std::int64_t seconds = 0;
  for (const Incident& incident : incidents) {
    if (incident.verdict == Verdict::kNotLogging) continue;
    const IncidentHost* h = incident.Of(host);
    if (h != nullptr && h->state == HostState::kNoEntries) seconds += h->seconds;
  }
  return seconds;
}

}  // namespace pinglog::report
