// Degradation: stretches in which a host lost requests, or answered slowly, clearly
// beyond its own usual, while it was not down. The rule, on windows of at least ten
// cycles and a minute (outages of more than one cycle left out, windows never across a
// gap or such an outage, each overlapping the next by half):
//   - loss: at least 10 % of the window's requests lost, at least 5 points above the
//     host's usual, in at least two cycles (one lost cycle is no degradation), and more
//     than the usual loses by chance: losing that many of the window's requests at the
//     usual rate (at least 0.5 %), each request alike, is less likely than 1 in 10,000;
//   - round trip: the window's median at least 20 ms above the usual median and twice
//     it, over at least five replies.
// The usual is the host's: the middle window's loss (the median of the windows'), and
// the median of all its replies. A stretch runs over the windows that meet the rule,
// from the first cycle that showed it to where the cycle after the last one that did
// was due.
#pragma once

#include <vector>

#include "report/model/report.h"

namespace pinglog::report {

inline constexpr double kDegradedLossPercent = 10;
inline constexpr double kDegradedLossAboveUsual = 5;
inline constexpr double kLeastUsualLoss = 0.5;        // percent: a host that lost none
inline constexpr double kChanceAtMost = 1.0 / 10000;  // of a window's loss at the usual
inline constexpr int kSlowerByMs = 20;
inline constexpr double kSlowerTimes = 2;

// The chance of losing at least `lost` of `sent` requests, each lost with chance `p`.
double ChanceOfLosing(std::int64_t lost, std::int64_t sent, double p);

// The host's usual and its stretches of degradation (its summary's outages, gaps and
// period are known).
void FindDegradations(const HostReport& host, Usual& usual, std::vector<Degradation>& found);

}  // namespace pinglog::report
