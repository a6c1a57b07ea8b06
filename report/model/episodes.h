// Where it got bad: the hosts' stretches of degradation (loss or slowness clearly
// beyond each host's usual, Degradation) that overlap in time, taken together as
// episodes, as outages are taken together as incidents, each located along the hosts'
// tree with every host's figures during it beside its usual. The hosts must be in path
// order (OrderHosts).
#pragma once

#include <vector>

#include "report/model/episode.h"
#include "report/model/report.h"

namespace pinglog::report {

// The episodes, by time: stretches of several hosts join when they begin within one
// cycle of the episode's end.
std::vector<Episode> FindEpisodes(const std::vector<HostReport>& hosts);

}  // namespace pinglog::report
