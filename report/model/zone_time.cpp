#include "report/model/zone_time.h"

#include <date/tz.h>

#include <cstdlib>
#include <stdexcept>

namespace pinglog::report {

struct ZoneTime::Zone {
  const date::time_zone* zone = nullptr;
};

ZoneTime::ZoneTime(const std::string& name) : zone_(std::make_unique<Zone>()) {
  std::string wanted = name;
  if (wanted.empty()) {
    // TZ as the C library reads it ("Europe/Berlin" or ":Europe/Berlin"); without it,
    // the machine's /etc/localtime.
    const char* tz = std::getenv("TZ");  // NOLINT(concurrency-mt-unsafe): read at start
    if (tz != nullptr && *tz != '\0') wanted = tz[0] == ':' ? tz + 1 : tz;
  }
  try {
    if (!wanted.empty()) {
      zone_->zone = date::locate_zone(wanted);
    } else {
      // A machine without /etc/localtime keeps UTC, as the C library does then.
      try {
        zone_->zone = date::current_zone();
      } catch (const std::exception&) {
        zone_->zone = date::locate_zone("UTC");
      }
    }
  } catch (const std::exception&) {
    if (name.empty() && !wanted.empty()) {
      throw std::runtime_error("unknown time zone " + wanted + " (TZ names it)");
    }
    throw std::runtime_error("unknown time zone " + (wanted.empty() ? "(local)" : wanted));
  }
}

ZoneTime::~ZoneTime() = default;

std::string ZoneTime::Name() const { return std::string(zone_->zone->name()); }

std::optional<std::int64_t> ZoneTime::ToUnix(LogTime local, std::int64_t after) const {
  using std::chrono::seconds;
  const date::local_seconds wall{seconds(local)};
  const date::local_info info = zone_->zone->get_info(wall);
  std::int64_t candidates[2] = {0, 0};
  int count = 0;
  switch (info.result) {
    case date::local_info::unique:
      candidates[count++] = local - info.first.offset.count();
      break;
    case date::local_info::ambiguous:
      candidates[count++] = local - info.first.offset.count();
      candidates[count++] = local - info.second.offset.count();
      break;
    case date::local_info::nonexistent:
      candidates[count++] = info.second.begin.time_since_epoch().count();
      break;
  }
  for (int i = 0; i < count; ++i) {
    if (candidates[i] > after) return candidates[i];
  }
  return std::nullopt;
}

}  // namespace pinglog::report
