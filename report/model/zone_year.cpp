#include "report/model/zone_year.h"

#include <algorithm>

#include "support/calendar_time.h"
#include "support/domain.h"

namespace pinglog::report {
namespace {

// The day of a change in that year: a date, or the week-th weekday of the month, week
// 5 (or one past the month's end) meaning the last.
std::int64_t ChangeDay(const ZoneChangeRule& rule, int year) {
  if (rule.year != 0) return DaysFromCivil(year, rule.month, rule.week);
  const std::int64_t first = DaysFromCivil(year, rule.month, 1);
  const std::int64_t next_month =
      rule.month == 12 ? DaysFromCivil(year + 1, 1, 1) : DaysFromCivil(year, rule.month + 1, 1);
  // 1970-01-01 was a Thursday (4); days before it are negative.
  const std::int64_t weekday = (WeekdayOf(first) + 1) % 7;  // 0 for Sunday
  std::int64_t day =
      first + (rule.day_of_week - weekday + 7) % 7 + 7 * static_cast<std::int64_t>(rule.week - 1);
  while (day >= next_month) day -= 7;
  return day;
}

// The wall-clock time of a change, counted as if UTC.
std::int64_t ChangeWallClock(const ZoneChangeRule& rule, int year) {
  return ChangeDay(rule, year) * kSecondsPerDay +
         static_cast<std::int64_t>(rule.hour) * kSecondsPerHour +
         static_cast<std::int64_t>(rule.minute) * 60 + rule.second;
}

bool InDaylight(const ZoneYear& zone, std::int64_t unix_time) {
  if (!zone.daylight) return false;
  if (zone.daylight_begins < zone.daylight_ends) {
    return unix_time >= zone.daylight_begins && unix_time < zone.daylight_ends;
  }
  // Southern summers: daylight saving spans the turn of the year.
  return unix_time < zone.daylight_ends || unix_time >= zone.daylight_begins;
}

}  // namespace

ZoneYear ApplyZoneRules(const ZoneYearRules& rules, int year) {
  ZoneYear zone;
  zone.standard_offset = -60 * static_cast<std::int64_t>(rules.bias + rules.standard_bias);
  zone.daylight_offset = -60 * static_cast<std::int64_t>(rules.bias + rules.daylight_bias);
  // Dates with no change of offset (a zone that gave up daylight saving keeps them in
  // some years' records) change nothing.
  zone.daylight = rules.standard_begins.month != 0 && rules.daylight_begins.month != 0 &&
                  zone.daylight_offset != zone.standard_offset;
  if (!zone.daylight) return zone;
  // Each change is given in the wall-clock time in force before it.
  zone.daylight_begins = ChangeWallClock(rules.daylight_begins, year) - zone.standard_offset;
  zone.daylight_ends = ChangeWallClock(rules.standard_begins, year) - zone.daylight_offset;
  return zone;
}

int LocalReadings(const ZoneYear& zone, std::int64_t local, std::int64_t readings[2]) {
  const std::int64_t as_standard = local - zone.standard_offset;
  const std::int64_t as_daylight = local - zone.daylight_offset;
  int count = 0;
  if (!InDaylight(zone, as_standard)) readings[count++] = as_standard;
  if (as_daylight != as_standard && InDaylight(zone, as_daylight)) readings[count++] = as_daylight;
  if (count == 2 && readings[1] < readings[0]) std::swap(readings[0], readings[1]);
  if (count > 0) return count;
  // Neither reading holds: the local time lies in the skipped span, which ends at the
  // change between the two readings.
  const std::int64_t low = std::min(as_standard, as_daylight);
  const std::int64_t high = std::max(as_standard, as_daylight);
  const bool begins_between = zone.daylight_begins >= low && zone.daylight_begins <= high;
  readings[0] = begins_between ? zone.daylight_begins : zone.daylight_ends;
  return 1;
}

}  // namespace pinglog::report
