#include "report/logs/period_filter.h"

#include <algorithm>

#include "support/domain.h"

namespace pinglog::report {
namespace {

// The number of `width` digits at `at`, or -1.
int Digits(const std::string& text, std::size_t at, std::size_t width) {
  int value = 0;
  for (std::size_t i = at; i < at + width; ++i) {
    if (i >= text.size() || text[i] < '0' || text[i] > '9') return -1;
    value = value * 10 + (text[i] - '0');
  }
  return value;
}

}  // namespace

std::optional<TimeSpan> ParseLocalTime(const std::string& text) {
  if (text.size() != 10 && text.size() != 16 && text.size() != 19) return std::nullopt;
  if (text[4] != '-' || text[7] != '-') return std::nullopt;
  if (text.size() > 10 && ((text[10] != ' ' && text[10] != 'T') || text[13] != ':')) {
    return std::nullopt;
  }
  if (text.size() > 16 && text[16] != ':') return std::nullopt;
  const int hour = text.size() > 10 ? Digits(text, 11, 2) : 0;
  const int minute = text.size() > 10 ? Digits(text, 14, 2) : 0;
  const int second = text.size() > 16 ? Digits(text, 17, 2) : 0;
  const LogTime start = ComposeWideTime(
      {Digits(text, 0, 4), Digits(text, 5, 2), Digits(text, 8, 2), hour, minute, second});
  if (start == kInvalidTime) return std::nullopt;
  const std::int64_t length = text.size() == 10 ? kSecondsPerDay : text.size() == 16 ? 60 : 1;
  return TimeSpan{start, std::int64_t{start} + length};
}

std::size_t KeepPeriod(LogSet& logs, const std::optional<TimeSpan>& from,
                       const std::optional<TimeSpan>& to) {
  logs.entries.KeepOnly([&](std::size_t i) {
    const LogTime time = logs.entries.TimeAt(i);
    return !(from && time < from->start) && !(to && time >= to->end);
  });
  return logs.entries.size();
}

}  // namespace pinglog::report
