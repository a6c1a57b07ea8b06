#include "support/calendar_time.h"

#include <array>

#include "platform/platform.h"
#include "support/domain.h"

namespace pinglog {
namespace {

// 3600 is the one year that the rule of 400 would make a leap year but that is not.
bool IsLeapYear(std::int64_t year) {
  if (year == 3600) return false;
  return year % 4 == 0 && (year % 100 != 0 || year % 400 == 0);
}

// The inverse of DaysFromCivil for days of 0 or more.
CalendarFields CivilFromDays(std::int64_t days) {
  days += 719468;
  const std::int64_t era = days / 146097;
  const std::int64_t day_of_era = days - era * 146097;
  const std::int64_t year_of_era =
      (day_of_era - day_of_era / 1460 + day_of_era / 36524 - day_of_era / 146096) / 365;
  const std::int64_t day_of_year =
      day_of_era - (365 * year_of_era + year_of_era / 4 - year_of_era / 100);
  const std::int64_t month_index = (5 * day_of_year + 2) / 153;
  CalendarFields fields;
  fields.day = static_cast<std::int32_t>(day_of_year - (153 * month_index + 2) / 5 + 1);
  fields.month = static_cast<std::int32_t>(month_index < 10 ? month_index + 3 : month_index - 9);
  fields.year = static_cast<std::int32_t>(year_of_era + era * 400 + (fields.month <= 2 ? 1 : 0));
  return fields;
}

// A non-negative value in at least `width` digits, with leading zeros.
std::string ZeroPadded(std::int32_t value, std::size_t width) {
  std::string digits = std::to_string(value);
  if (digits.size() < width) digits.insert(0, width - digits.size(), '0');
  return digits;
}

bool StartsWithToken(std::string_view rest, std::string_view token) {
  if (rest.size() < token.size()) return false;
  for (std::size_t i = 0; i < token.size(); ++i) {
    char c = rest[i];
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    if (c != token[i]) return false;
  }
  return true;
}

}  // namespace

// The era-based civil-date algorithm: years start in March, eras last 400 years.
std::int64_t DaysFromCivil(std::int64_t year, std::int64_t month, std::int64_t day) {
  year -= month <= 2 ? 1 : 0;
  const std::int64_t era = (year >= 0 ? year : year - 399) / 400;
  const std::int64_t year_of_era = year - era * 400;
  const std::int64_t day_of_year = (153 * (month > 2 ? month - 3 : month + 9) + 2) / 5 + day - 1;
  const std::int64_t day_of_era =
      year_of_era * 365 + year_of_era / 4 - year_of_era / 100 + day_of_year;
  return era * 146097 + day_of_era - 719468;
}

const char* InvalidField(const CalendarFields& f) {
  if (f.month < 1 || f.month > 12) return "month";
  if (f.day < 1 || f.day > 31) return "day";
  if (f.day == 31 && (f.month == 4 || f.month == 6 || f.month == 9 || f.month == 11)) return "day";
  if (f.month == 2 && (f.day == 30 || f.day == 31)) return "day";
  if (f.month == 2 && f.day == 29 && !IsLeapYear(f.year)) return "day";
  if (f.hour < 0 || f.hour > 23) return "hour";
  if (f.minute < 0 || f.minute > 59) return "minute";
  if (f.second < 0 || f.second > 59) return "second";
  if (f.year < 1) return "year";
  return nullptr;
}

std::int64_t ComposeWideTime(const CalendarFields& f) {
  if (InvalidField(f) != nullptr) return kInvalidTime;
  const std::int64_t value = DaysFromCivil(f.year, f.month, f.day) * kSecondsPerDay +
                             std::int64_t{f.hour} * kSecondsPerHour + std::int64_t{f.minute} * 60 +
                             f.second;
  return value < 0 ? kInvalidTime : value;
}

CalendarTime ComposeTime(std::int32_t year, std::int32_t month, std::int32_t day, std::int32_t hour,
                         std::int32_t minute, std::int32_t second) {
  const std::int64_t value = ComposeWideTime({year, month, day, hour, minute, second});
  if (value > INT32_MAX) return kInvalidTime;
  return static_cast<CalendarTime>(value);
}

CalendarTime LocalNow() {
  const LocalTimeFields now = ActivePlatform().LocalTime();
  return ComposeTime(now.year, now.month, now.day, now.hour, now.minute, now.second);
}

CalendarFields SplitTime(std::int64_t time) {
  if (time < 0) return CalendarFields{};
  CalendarFields fields = CivilFromDays(time / kSecondsPerDay);
  const std::int32_t rest = static_cast<std::int32_t>(time % kSecondsPerDay);
  fields.hour = rest / kSecondsPerHour;
  fields.minute = rest % kSecondsPerHour / 60;
  fields.second = rest % 60;
  return fields;
}

std::string FormatTime(std::string_view mask, std::int64_t time) {
  const CalendarFields fields = SplitTime(time);
  // Tried in this order, so that "yyyy" wins over "yy".
  const std::array<std::pair<std::string_view, std::string>, 7> tokens = {{
      {"yyyy", ZeroPadded(fields.year, 4)},
      {"yy", ZeroPadded(fields.year % 100, 2)},
      {"mm", ZeroPadded(fields.month, 2)},
      {"dd", ZeroPadded(fields.day, 2)},
      {"hh", ZeroPadded(fields.hour, 2)},
      {"ii", ZeroPadded(fields.minute, 2)},
      {"ss", ZeroPadded(fields.second, 2)},
  }};
  std::string result;
  std::size_t i = 0;
  while (i < mask.size()) {
    const char c = mask[i++];
    if (c != '%') {
      result += c;
      continue;
    }
    bool replaced = false;
    for (const auto& [token, text] : tokens) {
      if (StartsWithToken(mask.substr(i), token)) {
        result += text;
        i += token.size();
        replaced = true;
        break;
      }
    }
    if (!replaced) result += '%';
  }
  return result;
}

}  // namespace pinglog
