// The words and numbers every output shares: times, lengths, plurals.
#pragma once

#include <algorithm>
#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "report/logs/log_line.h"
#include "support/domain.h"
#include "support/text.h"

namespace pinglog::report {

// "31.05.2013 08:05:09", local wall-clock time as the logger wrote it.
inline constexpr const char* kReadableTimeMask = "%dd.%mm.%yyyy %hh:%ii:%ss";
std::string ReadableTime(LogTime time);
// "2013-05-31T08:05:09", without a zone: the logger's times have none.
std::string IsoTime(LogTime time);
// "1 d 2 h 3 min 4 s", leaving out the parts that are 0.
struct DurationUnit {
  std::int64_t length;
  const char* unit;
};
inline constexpr std::array<DurationUnit, 4> kDurationUnits = {
    {{kSecondsPerDay, "d"}, {kSecondsPerHour, "h"}, {60, "min"}, {1, "s"}}};
std::string Duration(std::int64_t seconds);
// "1h25m", "25m", "40s", "0": a length for a narrow column.
std::string ShortDuration(std::int64_t seconds);
// "5 min 0.3 s": a period that need not be whole seconds.
std::string PeriodText(double seconds);
// "1 cycle", "2 cycles".
std::string Plural(std::int64_t count, const char* one, const char* many);
// The terminal and the page list this many incidents or episodes at most: the longest.
inline constexpr std::size_t kEventsListed = 20;

// All of `all` (in time order), or the `most` longest of them, in time order.
template <typename Event>
std::vector<const Event*> LongestInTimeOrder(const std::vector<Event>& all,
                                             std::size_t most = kEventsListed) {
  std::vector<const Event*> listed;
  listed.reserve(all.size());
  for (const Event& event : all) listed.push_back(&event);
  if (listed.size() > most) {
    std::stable_sort(listed.begin(), listed.end(),
                     [](const Event* a, const Event* b) { return a->Seconds() > b->Seconds(); });
    listed.resize(most);
    std::sort(listed.begin(), listed.end());
  }
  return listed;
}

// "... and 12 shorter ones (--json lists them all)", or "" when all are listed.
std::string MoreText(std::size_t all, std::size_t listed);

// What to do about requests with this error that never left the machine.
const char* NotSentFix(std::uint32_t error);

// Text for HTML and SVG: & < > " escaped.
std::string Html(std::string_view text);

}  // namespace pinglog::report
