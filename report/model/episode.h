// An episode of degradation: when several hosts' stretches of loss or slowness
// overlap, each host's figures meanwhile, and where that points (FindEpisodes makes
// them).
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "report/logs/log_line.h"
#include "report/model/cycle_counts.h"
#include "report/model/place.h"

namespace pinglog::report {

struct EpisodeHost {
  std::size_t host = 0;
  bool degraded = false;  // one of its stretches lies in the episode
  bool logging = true;    // it had entries then
  Requests requests;      // what its cycles counted meanwhile (long outages left out)
  std::int64_t replies = 0;
  int median = 0;
};

struct Episode {
  LogTime start = 0, end = 0;       // the first start and the last end of its stretches
  bool loss = false, slow = false;  // what rose, in any of its hosts
  // Where it points, as for incidents; the degraded hosts nearest the machine.
  Place place = Place::kNoOnePlace;
  std::optional<std::size_t> beyond;
  std::int64_t behind = 0;
  std::vector<std::size_t> first_degraded;
  // The degraded hosts and, with few hosts, every other one; in path order. How many
  // hosts were degraded, and how many more were logging.
  std::vector<EpisodeHost> hosts;
  std::int64_t degraded = 0, others = 0;
  std::int64_t Seconds() const { return std::int64_t{end} - start; }
};

}  // namespace pinglog::report
