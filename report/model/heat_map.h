// When it happens: a host's cycles by day and hour of the day, and the hours of the
// day whose loss stands out over the whole period.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <vector>

#include "report/model/report.h"

namespace pinglog::report {

struct HourCell {
  Requests requests;  // cycles 0: no entries in that hour
  int median = 0;     // of the replies' round trips, when there are any
  bool replies = false;
};

// A day of the map: its hours, or a run of days without any entry folded into one
// row, so that the map grows with the days logged, not with the span between them.
struct HeatRow {
  LogTime day = 0;              // the (first) day's midnight
  std::int64_t empty_days = 0;  // > 0: a folded run of that many days without entries
  std::array<HourCell, 24> hours;
};

// Runs of at least this many days without entries are folded; shorter ones (a weekend
// away) keep their empty rows.
inline constexpr std::int64_t kFoldedDays = 3;

struct HeatMap {
  std::vector<HeatRow> rows;  // first day to last
};

HeatMap BuildHeatMap(const HostReport& host);

// The heat map's loss steps, so that one request lost in a hundred does not look like
// one in ten: 0 none, 1 under 1 %, 2 from 1 %, 3 from 5 %, 4 from 20 %, 5 all.
inline constexpr std::array<double, 3> kLossStepsFrom = {1, 5, 20};  // percent
int LossStep(const Requests& requests);

}  // namespace pinglog::report
