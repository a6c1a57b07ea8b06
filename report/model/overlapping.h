// Spans of several hosts taken together where they overlap in time, as incidents take
// outages and gaps, and episodes stretches of degradation.
#pragma once

#include <algorithm>
#include <cstdint>
#include <vector>

#include "report/model/report.h"

namespace pinglog::report {

// One cycle of the slowest logger: loggers started seconds apart see one fault at once.
inline std::int64_t SlowestPeriod(const std::vector<HostReport>& hosts) {
  std::int64_t slowest = 0;
  for (const HostReport& host : hosts) slowest = std::max(slowest, host.summary.period);
  return slowest;
}

// Calls take(first, last) for each run [first, last) of spans (by start, each with
// `from` and `to`) in which every span begins within `tolerance` of the run's end so
// far.
template <typename Span, typename Take>
void ForEachOverlappingRun(const std::vector<Span>& spans, std::int64_t tolerance, Take take) {
  for (std::size_t first = 0; first < spans.size();) {
    std::size_t last = first + 1;
    auto end = spans[first].to;
    while (last < spans.size() && spans[last].from <= end + tolerance) {
      end = std::max(end, spans[last].to);
      ++last;
    }
    take(first, last);
    first = last;
  }
}

}  // namespace pinglog::report
