// Calendar time: local wall-clock seconds from 1970-01-01 00:00:00, counted as if the
// local time were UTC on the proleptic Gregorian calendar (no zone, no daylight
// saving). The span is 0 to 2147483647 (2038-01-19 03:14:07); -1 marks an invalid time.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace pinglog {

using CalendarTime = std::int32_t;

constexpr CalendarTime kInvalidTime = -1;

struct CalendarFields {
  std::int32_t year = 0;
  std::int32_t month = 0;
  std::int32_t day = 0;
  std::int32_t hour = 0;
  std::int32_t minute = 0;
  std::int32_t second = 0;
};

// The first field that makes the fields no valid date and time ("month", "day",
// "hour", "minute", "second", "year"), or nullptr when they are valid.
const char* InvalidField(const CalendarFields& fields);

// The time of the given fields, or -1 when they name no valid date and time or one
// outside the span. Nothing is normalised: minute 60 is invalid, not the next hour.
CalendarTime ComposeTime(std::int32_t year, std::int32_t month, std::int32_t day, std::int32_t hour,
                         std::int32_t minute, std::int32_t second);

// The same count without the upper end of the span, 64 bits wide (logs read back may
// hold times past 2038): -1 for fields that name no valid date and time, or one before
// 1970.
std::int64_t ComposeWideTime(const CalendarFields& fields);

// Days from 1970-01-01 to the given date on the proleptic Gregorian calendar (negative
// before it); the date is not checked.
std::int64_t DaysFromCivil(std::int64_t year, std::int64_t month, std::int64_t day);

// The current local wall-clock time, truncated to the second.
CalendarTime LocalNow();

// The fields of a time (a CalendarTime or a wide one); all zero for a negative time.
CalendarFields SplitTime(std::int64_t time);

// The mask with each token (%yyyy %yy %mm %dd %hh %ii %ss, any case) replaced by its
// field of the time; any other character, and a "%" that begins no token, is copied.
std::string FormatTime(std::string_view mask, std::int64_t time);

}  // namespace pinglog
