// Degradation: stretches in which a host lost requests, or answered slowly, clearly
// beyond its own usual, while it was not down. The rule, on windows of at least ten
// cycles and a minute (outages of more than one cycle left out, windows never across a
// gap or such an outage, each overlapping the next by half):
//   - loss: at least 10 % of the window's requests lost, at least 5 points above the
//     host's usual, in at least two cycles (one lost cycle is no degradation);
//   - round trip: the window's median at least 20 ms above the usual median and twice
//     it, over at least five replies.
// The usual is the middle window's: the median of the windows' loss, and of their
// medians. A stretch runs over the windows that meet the rule, from the first cycle
// that showed it to where the cycle after the last one that did was due.
#pragma once

#include <vector>

#include "report/model/report.h"

namespace pinglog::report {

inline constexpr double kDegradedLossPercent = 10;
inline constexpr double kDegradedLossAboveUsual = 5;
inline constexpr int kSlowerByMs = 20;
inline constexpr double kSlowerTimes = 2;

// The host's usual and its stretches of degradation (its summary's outages, gaps and
// period are known).
void FindDegradations(const HostReport& host, Usual& usual, std::vector<Degradation>& found);

}  // namespace pinglog::report
