// One year of a zone given by yearly rules (the Windows kind): its two offsets and the
// moments daylight saving begins and ends, and the Unix times a local time has then.
#pragma once

#include <cstdint>

#include "platform/time_zone.h"

namespace pinglog::report {

struct ZoneYear {
  std::int64_t standard_offset = 0;  // seconds east of UTC
  std::int64_t daylight_offset = 0;
  bool daylight = false;             // whether the year has daylight saving
  std::int64_t daylight_begins = 0;  // Unix times
  std::int64_t daylight_ends = 0;
};

// The year's offsets and changes under the rules the system gives for it.
ZoneYear ApplyZoneRules(const ZoneYearRules& rules, int year);

// The Unix times of a local time of that year (wall-clock seconds counted as if UTC),
// earlier first: two in the hour repeated when daylight saving ends, else one; a local
// time skipped when it begins has the moment of the change. Returns how many.
int LocalReadings(const ZoneYear& zone, std::int64_t local, std::int64_t readings[2]);

}  // namespace pinglog::report
