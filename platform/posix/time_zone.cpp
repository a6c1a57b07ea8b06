// POSIX systems keep their zones in the zone database, which the programs read through
// a library of their own: no zone records of this kind.
#include "platform/time_zone.h"

namespace pinglog {

std::string FindTimeZone(const std::string&) { return ""; }

bool TimeZoneYear(const std::string&, int, ZoneYearRules&) { return false; }

}  // namespace pinglog
