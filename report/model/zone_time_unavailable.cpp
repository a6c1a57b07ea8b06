// Where no zone database can be had (the Windows build): every zone is unknown, so
// the outputs that need Unix times say so and the rest of the report works as ever.
#include <stdexcept>

#include "report/model/zone_time.h"

namespace pinglog::report {

struct ZoneTime::Zone {};

ZoneTime::ZoneTime(const std::string&) {
  throw std::runtime_error("time zones are not available in this build");
}

ZoneTime::~ZoneTime() = default;

std::string ZoneTime::Name() const { return ""; }

std::optional<std::int64_t> ZoneTime::ToUnix(CalendarTime, std::int64_t) const {
  return std::nullopt;
}

}  // namespace pinglog::report
