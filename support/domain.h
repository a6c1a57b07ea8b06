// The rules of pinglog's domain that the logger, the check and the report all read
// alike: time's units, the cycle's shape, the longest interval, which host text is an
// address, and (from the echo seam) the error numbers and their names.
#pragma once

#include <cstdint>
#include <string_view>

#include "platform/echo_errors.h"

namespace pinglog {

inline constexpr std::int64_t kSecondsPerHour = 3600;
inline constexpr std::int64_t kSecondsPerDay = 86400;

// Each cycle sends this many echo requests, one after the other.
inline constexpr int kAttemptsPerCycle = 3;

// The interval is kept in milliseconds in 32 bits (the minutes times 60,000, its low
// bits): the longest interval that does not wrap around.
inline constexpr std::int64_t kMillisecondsPerMinute = 60000;
inline constexpr std::int64_t kLongestIntervalMinutes = 0xFFFFFFFFLL / kMillisecondsPerMinute;

// The day of the week of a day counted from 1970-01-01 (a Thursday): 0 for Monday to 6
// for Sunday, days before 1970 too.
constexpr int WeekdayOf(std::int64_t day) { return static_cast<int>(((day + 3) % 7 + 7) % 7); }

// The logger takes a host text that begins with a digit as an address and never looks
// it up; a log entry shows such a host without an address in brackets.
constexpr bool IsAddressText(std::string_view host) {
  return !host.empty() && host.front() >= '0' && host.front() <= '9';
}

}  // namespace pinglog
