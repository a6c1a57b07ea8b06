// Zones from the system's yearly rules, where there is no zone database (Windows): the
// zone by the system's key name ("W. Europe Standard Time"), or this machine's own.
#include <algorithm>
#include <iterator>
#include <map>
#include <stdexcept>
#include <string_view>

#include "report/model/zone_time.h"
#include "report/model/zone_year.h"

namespace pinglog::report {
namespace {

struct ZoneName {
  std::string_view iana;
  // cppcheck-suppress unusedStructMember ; read through the search's iterator
  std::string_view windows;
};

constexpr ZoneName kWindowsNames[] = {
#include "report/model/windows_zone_names.inc"
};

// The Windows name of a zone of the IANA database, or "" for a name it does not have.
std::string_view WindowsName(const std::string& iana) {
  const auto* found = std::lower_bound(
      std::begin(kWindowsNames), std::end(kWindowsNames), iana,
      [](const ZoneName& entry, const std::string& name) { return entry.iana < name; });
  return found != std::end(kWindowsNames) && found->iana == iana ? found->windows : "";
}

}  // namespace

struct ZoneTime::Zone {
  std::string key;
  std::map<int, ZoneYear> years;  // the years asked for so far

  const ZoneYear& Year(int year) {
    auto found = years.find(year);
    if (found != years.end()) return found->second;
    ZoneYearRules rules;
    // A year the system has no rules for counts as UTC: the name said the zone exists.
    const ZoneYear zone = TimeZoneYear(key, year, rules) ? ApplyZoneRules(rules, year) : ZoneYear{};
    return years.emplace(year, zone).first->second;
  }
};

ZoneTime::ZoneTime(const std::string& name) : zone_(std::make_unique<Zone>()) {
  zone_->key = FindTimeZone(name);
  if (!zone_->key.empty()) return;
  if (name.empty()) throw std::runtime_error("this machine's time zone cannot be read");
  const std::string_view windows = WindowsName(name);
  if (!windows.empty()) {
    throw std::runtime_error("Windows names this zone \"" + std::string(windows) +
                             "\" (tzutil /l lists the names)");
  }
  throw std::runtime_error("unknown time zone " + name + " (tzutil /l lists the names)");
}

ZoneTime::~ZoneTime() = default;

std::string ZoneTime::Name() const { return zone_->key; }

std::optional<std::int64_t> ZoneTime::ToUnix(LogTime local, std::int64_t after) const {
  std::int64_t readings[2] = {0, 0};
  const int count = LocalReadings(zone_->Year(SplitTime(local).year), local, readings);
  for (int i = 0; i < count; ++i) {
    if (readings[i] > after) return readings[i];
  }
  return std::nullopt;
}

}  // namespace pinglog::report
