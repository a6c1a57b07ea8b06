// When it happens, as evidence: the hours of the day whose loss stands out day after
// day, stated in figures; never one event called a pattern.
#pragma once

#include <optional>

#include "report/model/report.h"
#include "support/domain.h"

namespace pinglog::report {

// A window of hours stands out when it holds at least half the loss and at least this
// many times the loss rate of the other hours; a day shows it when its own hours in the
// window lose at that rate too. It holds on a kind of day (weekdays, weekends) when at
// least kLeastDays and a third of the days of that kind with entries show it.
inline constexpr double kStandsOut = 3;
inline constexpr std::int64_t kLeastDays = 3;
// Outages longer than this are left out of the comparison: one event, not a pattern.
inline constexpr std::int64_t kLongestCounted = kSecondsPerHour;

// The worst hours of a host's entries (in time order), or nothing when no hours stand
// out day after day.
std::optional<WorstHours> WorstHoursOf(const HostReport& host);

// Whether a day (its midnight) is a Saturday or a Sunday.
bool Weekend(LogTime day);

}  // namespace pinglog::report
