// The logger's local wall-clock times as Unix times, through the system's zones (no
// tables of our own): the zone database on Linux (zone_time.cpp), Windows' yearly rules
// on Windows (zone_time_rules.cpp). A repeated hour (the fall back of daylight saving)
// is resolved by the order of the entries: the later reading comes later.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "report/logs/log_line.h"

namespace pinglog::report {

class ZoneTime {
 public:
  // The zone by its name (IANA's; Windows' on Windows); "" for the machine's own (TZ
  // honoured on Linux). Throws std::runtime_error for a zone the system does not know.
  explicit ZoneTime(const std::string& name);
  ~ZoneTime();
  ZoneTime(const ZoneTime&) = delete;
  ZoneTime& operator=(const ZoneTime&) = delete;

  // The zone's name ("Europe/Berlin").
  std::string Name() const;

  // The Unix time of a local time, the earliest that lies after `after`; nothing when
  // every reading of it lies at or before `after` (a clock stepped back). A local
  // time that a spring-forward skipped maps to the moment of the change.
  std::optional<std::int64_t> ToUnix(LogTime local, std::int64_t after) const;

  // The time of the next entry of a log: the earliest reading at or after the previous
  // entry's time (INT64_MIN before the first), so that entries of one second stay in
  // one second.
  std::optional<std::int64_t> NextInLog(LogTime local, std::int64_t previous) const {
    return ToUnix(local, previous == INT64_MIN ? INT64_MIN : previous - 1);
  }

 private:
  struct Zone;
  std::unique_ptr<Zone> zone_;
};

}  // namespace pinglog::report
