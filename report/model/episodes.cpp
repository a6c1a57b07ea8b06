#include "report/model/episodes.h"

#include <algorithm>

#include "report/model/cycle_counts.h"
#include "report/model/fault_place.h"
#include "report/model/incidents.h"
#include "report/model/overlapping.h"

namespace pinglog::report {
namespace {

struct Stretch {
  LogTime from = 0, to = 0;
  std::size_t host = 0;
  bool loss = false, slow = false;
};

// What a host's cycles counted in [from, to): long outages left out, as in its
// stretches.
EpisodeHost FiguresOf(const HostReport& host, std::size_t index, LogTime from, LogTime to) {
  EpisodeHost figures{index, false, false, {}, 0, 0};
  const HostSummary& s = host.summary;
  const auto begin = std::lower_bound(host.entries.begin(), host.entries.end(), from,
                                      [](const Entry& e, LogTime t) { return e.time < t; });
  std::vector<int> times;
  auto outage = s.outages.begin();
  for (auto it = begin; it != host.entries.end(); ++it) {
    const Entry entry = *it;
    if (entry.time >= to) break;
    if (entry.off_clock) continue;
    while (outage != s.outages.end() && outage->end <= entry.time) ++outage;
    if (outage != s.outages.end() && outage->cycles > 1 && outage->start <= entry.time) continue;
    CountCycleWith(entry, figures.requests, [&](int ms) { times.push_back(ms); });
  }
  figures.logging = figures.requests.cycles > 0;
  figures.replies = static_cast<std::int64_t>(times.size());
  if (!times.empty()) figures.median = NearestRankOf(times, 50);
  return figures;
}

Episode MakeEpisode(const std::vector<HostReport>& hosts, const std::vector<Stretch>& members) {
  Episode episode;
  episode.start = members.front().from;
  episode.end = members.front().to;
  std::vector<bool> degraded(hosts.size(), false), logging(hosts.size(), false);
  for (const Stretch& stretch : members) {
    episode.end = std::max(episode.end, stretch.to);
    episode.loss = episode.loss || stretch.loss;
    episode.slow = episode.slow || stretch.slow;
    degraded[stretch.host] = true;
  }
  const bool listed = hosts.size() <= kHostsListedAtMost;
  for (std::size_t h = 0; h < hosts.size(); ++h) {
    if (!degraded[h] && !listed) {
      const HostSummary& s = hosts[h].summary;
      logging[h] = !(episode.end <= s.first || episode.start >= s.End());
      episode.others += logging[h] ? 1 : 0;
      continue;
    }
    EpisodeHost figures = FiguresOf(hosts[h], h, episode.start, episode.end);
    figures.degraded = degraded[h];
    logging[h] = figures.logging || degraded[h];
    if (degraded[h]) {
      ++episode.degraded;
    } else if (logging[h]) {
      ++episode.others;
    }
    episode.hosts.push_back(figures);
  }
  const FaultPlace place = PlaceFault(hosts, degraded, logging);
  episode.place = place.place;
  episode.beyond = place.answered;
  episode.behind = place.behind;
  episode.first_degraded = place.first_failing;
  return episode;
}

}  // namespace

std::vector<Episode> FindEpisodes(const std::vector<HostReport>& hosts) {
  std::vector<Stretch> stretches;
  for (std::size_t h = 0; h < hosts.size(); ++h) {
    for (const Degradation& d : hosts[h].summary.degradations) {
      stretches.push_back({d.from, d.to, h, d.loss, d.slow});
    }
  }
  std::sort(stretches.begin(), stretches.end(), [](const Stretch& a, const Stretch& b) {
    return a.from != b.from ? a.from < b.from : a.host < b.host;
  });
  std::vector<Episode> episodes;
  ForEachOverlappingRun(stretches, SlowestPeriod(hosts), [&](std::size_t first, std::size_t last) {
    episodes.push_back(MakeEpisode(
        hosts, std::vector<Stretch>(stretches.begin() + static_cast<std::ptrdiff_t>(first),
                                    stretches.begin() + static_cast<std::ptrdiff_t>(last))));
  });
  return episodes;
}

}  // namespace pinglog::report
