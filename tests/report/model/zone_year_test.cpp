// Zones from yearly rules (the Windows kind) against the zone database: every quarter
// hour of a year has the same readings, the repeated hour both, the skipped hour the
// moment of the change.
#include "report/model/zone_year.h"

#include <gtest/gtest.h>

#include "report/model/zone_time.h"

namespace pinglog::report {
namespace {

ZoneChangeRule Recurring(int month, int week, int hour) {
  ZoneChangeRule rule;
  rule.month = month;
  rule.week = week;
  rule.hour = hour;  // Sundays
  return rule;
}

ZoneYearRules Rules(int bias, ZoneChangeRule standard, ZoneChangeRule daylight) {
  ZoneYearRules rules;
  rules.bias = bias;
  rules.daylight_bias = standard.month == 0 ? 0 : -60;
  rules.standard_begins = standard;
  rules.daylight_begins = daylight;
  return rules;
}

TEST(ZoneYearTest, ReadsEveryLocalTimeOfAYearAsTheZoneDatabaseDoes) {
  // The 2026 rules as Windows gives them for the zones the database names.
  const struct {
    const char* iana;
    ZoneYearRules rules;
  } zones[] = {
      {"Europe/Berlin", Rules(-60, Recurring(10, 5, 3), Recurring(3, 5, 2))},
      {"Australia/Sydney", Rules(-600, Recurring(4, 1, 3), Recurring(10, 1, 2))},
      {"America/Anchorage", Rules(540, Recurring(11, 1, 2), Recurring(3, 2, 2))},
      {"Asia/Kabul", Rules(-270, {}, {})},
  };
  for (const auto& zone : zones) {
    const ZoneTime database(zone.iana);
    const ZoneYear year = ApplyZoneRules(zone.rules, 2026);
    int repeated = 0;
    for (CalendarTime local = ComposeTime(2026, 1, 1, 0, 0, 0);
         local < ComposeTime(2027, 1, 1, 0, 0, 0); local += 900) {
      std::int64_t readings[2] = {0, 0};
      const int count = LocalReadings(year, local, readings);
      ASSERT_EQ(readings[0], database.ToUnix(local, INT64_MIN)) << zone.iana << " " << local;
      const std::optional<std::int64_t> later = database.ToUnix(local, readings[0]);
      ASSERT_EQ(count, later ? 2 : 1) << zone.iana << " " << local;
      if (later) {
        EXPECT_EQ(readings[1], *later) << zone.iana << " " << local;
      }
      repeated += count - 1;
    }
    EXPECT_EQ(repeated, zone.rules.standard_begins.month == 0 ? 0 : 4) << zone.iana;
  }
}

TEST(ZoneYearTest, PlacesChangesOnTheirDaysAndOnlyWhereTheOffsetChanges) {
  ZoneChangeRule dated = Recurring(3, 29, 2);  // a dated rule: 29 March of that year
  dated.year = 2026;
  ZoneChangeRule half_past = Recurring(10, 1, 2);  // first Sunday of October, 02:30:15
  half_past.minute = 30;
  half_past.second = 15;
  const struct {
    ZoneChangeRule rule;
    CalendarTime begins;  // local standard time
  } cases[] = {
      {Recurring(3, 5, 2), ComposeTime(2026, 3, 29, 2, 0, 0)},  // last Sunday of March
      {Recurring(3, 1, 2), ComposeTime(2026, 3, 1, 2, 0, 0)},   // a month beginning on Sunday
      {Recurring(2, 4, 2), ComposeTime(2026, 2, 22, 2, 0, 0)},  // fourth, the last as well
      {Recurring(12, 5, 2), ComposeTime(2026, 12, 27, 2, 0, 0)},
      {dated, ComposeTime(2026, 3, 29, 2, 0, 0)},
      {half_past, ComposeTime(2026, 10, 4, 2, 30, 15)},
  };
  for (const auto& c : cases) {
    const ZoneYear year = ApplyZoneRules(Rules(0, Recurring(12, 5, 23), c.rule), 2026);
    EXPECT_EQ(year.daylight_begins, c.begins) << c.rule.month << "/" << c.rule.week;
  }
  // Dates without a change of offset: one reading all year.
  ZoneYearRules unchanged = Rules(-180, Recurring(10, 5, 3), Recurring(3, 5, 2));
  unchanged.daylight_bias = 0;
  const ZoneYear year = ApplyZoneRules(unchanged, 2026);
  for (const CalendarTime local :
       {ComposeTime(2026, 1, 1, 0, 0, 0), ComposeTime(2026, 3, 29, 2, 30, 0),
        ComposeTime(2026, 7, 1, 12, 0, 0), ComposeTime(2026, 10, 25, 2, 30, 0)}) {
    std::int64_t readings[2] = {0, 0};
    EXPECT_EQ(LocalReadings(year, local, readings), 1) << local;
    EXPECT_EQ(readings[0], local - 3 * 3600) << local;
  }
}

}  // namespace
}  // namespace pinglog::report
