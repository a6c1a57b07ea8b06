// Windows' zones: the registry's records as the time-zone API gives them, each year's
// rules included (Windows Update keeps them current). TzSpecificLocalTimeToSystemTimeEx
// would answer one reading of a repeated hour; the program needs both, so it takes the
// rules (GetTimeZoneInformationForYear) and applies them itself.
#include <windows.h>

#include <cctype>

#include "platform/time_zone.h"

namespace pinglog {
namespace {

std::string Narrow(const wchar_t* text) {
  const int size = ::WideCharToMultiByte(CP_UTF8, 0, text, -1, nullptr, 0, nullptr, nullptr);
  if (size <= 1) return "";
  std::string narrow(static_cast<std::size_t>(size), '\0');
  ::WideCharToMultiByte(CP_UTF8, 0, text, -1, narrow.data(), size, nullptr, nullptr);
  narrow.resize(static_cast<std::size_t>(size - 1));
  return narrow;
}

bool SameName(const std::string& a, const std::string& b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (std::tolower(static_cast<unsigned char>(a[i])) !=
        std::tolower(static_cast<unsigned char>(b[i]))) {
      return false;
    }
  }
  return true;
}

// The zone's record by key name; false when the system lists none of that name.
// EnumDynamicTimeZoneInformation: Windows 8 and later.
bool ZoneRecord(const std::string& name, DYNAMIC_TIME_ZONE_INFORMATION& record) {
  for (DWORD index = 0;; ++index) {
    if (::EnumDynamicTimeZoneInformation(index, &record) != ERROR_SUCCESS) return false;
    if (SameName(Narrow(record.TimeZoneKeyName), name)) return true;
  }
}

ZoneChangeRule FromSystemTime(const SYSTEMTIME& time) {
  ZoneChangeRule rule;
  rule.year = time.wYear;
  rule.month = time.wMonth;
  rule.week = time.wDay;
  rule.day_of_week = time.wDayOfWeek;
  rule.hour = time.wHour;
  rule.minute = time.wMinute;
  // A change "at 23:59:59.999" happens at midnight.
  rule.second = time.wSecond + (time.wMilliseconds >= 500 ? 1 : 0);
  return rule;
}

}  // namespace

std::string FindTimeZone(const std::string& name) {
  DYNAMIC_TIME_ZONE_INFORMATION record{};
  if (name.empty()) {
    if (::GetDynamicTimeZoneInformation(&record) == TIME_ZONE_ID_INVALID) return "";
    return Narrow(record.TimeZoneKeyName);
  }
  return ZoneRecord(name, record) ? Narrow(record.TimeZoneKeyName) : "";
}

bool TimeZoneYear(const std::string& key, int year, ZoneYearRules& rules) {
  DYNAMIC_TIME_ZONE_INFORMATION record{};
  TIME_ZONE_INFORMATION information{};
  if (!ZoneRecord(key, record) || year < 1601 || year > 30827 ||
      !::GetTimeZoneInformationForYear(static_cast<USHORT>(year), &record, &information)) {
    return false;
  }
  rules.bias = static_cast<int>(information.Bias);
  rules.standard_bias = static_cast<int>(information.StandardBias);
  rules.daylight_bias = static_cast<int>(information.DaylightBias);
  rules.standard_begins = FromSystemTime(information.StandardDate);
  rules.daylight_begins = FromSystemTime(information.DaylightDate);
  return true;
}

}  // namespace pinglog
