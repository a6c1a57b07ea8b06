// The system's own zone records, for a system without a zone database of the IANA kind
// (Windows): each zone has a key name ("W. Europe Standard Time", as `tzutil /l` lists
// them) and, for each year, rules for its daylight saving. Where the system has no such
// records (POSIX, which has the zone database), nothing is found.
#pragma once

#include <string>

namespace pinglog {

// When a change of offset happens, as a zone's yearly rule gives it. With year 0 it
// recurs: the `week`-th `day_of_week` (0 Sunday) of the month, week 5 being the last;
// otherwise it is that date of that year, `week` being the day of the month. The time of
// day is wall-clock time before the change.
struct ZoneChangeRule {
  int year = 0;
  int month = 0;  // 0: no change
  int week = 0;
  int day_of_week = 0;
  int hour = 0;
  int minute = 0;
  int second = 0;
};

// One year's rules of a zone. Local time = UTC - (bias + standard_bias) minutes in
// standard time, UTC - (bias + daylight_bias) minutes in daylight saving time.
struct ZoneYearRules {
  int bias = 0;
  int standard_bias = 0;
  int daylight_bias = 0;
  ZoneChangeRule standard_begins;  // month 0: no daylight saving that year
  ZoneChangeRule daylight_begins;
};

// The key name of the zone called `name` (any case), or of this machine's own zone for
// ""; "" when there is no such zone.
std::string FindTimeZone(const std::string& name);

// The rules of the zone with that key name for that year; false when there are none.
bool TimeZoneYear(const std::string& key, int year, ZoneYearRules& rules);

}  // namespace pinglog
