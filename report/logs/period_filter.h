// --from and --to: the period every output is limited to, in local wall-clock time
// like the log's.
#pragma once

#include <optional>
#include <string>

#include "report/logs/log_set.h"

namespace pinglog::report {

// "YYYY-MM-DD[ HH:MM[:SS]]" (or a "T" between date and time) as the first second it
// names and the first second after it: a date names its whole day, a minute its
// whole minute. Nothing for any other text, or an impossible date.
struct TimeSpan {
  LogTime start = 0;
  std::int64_t end = 0;  // exclusive
};
std::optional<TimeSpan> ParseLocalTime(const std::string& text);

// Keeps the entries from `from` to `to` (both taken whole); returns how many remain.
std::size_t KeepPeriod(LogSet& logs, const std::optional<TimeSpan>& from,
                       const std::optional<TimeSpan>& to);

}  // namespace pinglog::report
