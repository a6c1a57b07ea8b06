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

struct HeatMap {
  CalendarTime first_day = 0;                  // the first row's midnight
  std::vector<std::array<HourCell, 24>> days;  // one row per day, first to last
};

HeatMap BuildHeatMap(const HostReport& host);

// Nothing when no hours stand out: too little loss, or spread over the day.
std::optional<WorstHours> WorstHoursOf(const HeatMap& map);

}  // namespace pinglog::report
