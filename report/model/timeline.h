// All hosts at a glance: per host a strip along the shared time axis, each bucket of
// it in the state the host was in (answered, lost some, down, no entries). The page's
// script draws zoomed strips by the same rules from the data the page carries.
#pragma once

#include <cstdint>
#include <vector>

#include "report/model/chart_model.h"
#include "report/model/report.h"

namespace pinglog::report {

// A bucket's state, the worst that holds for any of its time: an outage over any
// part of it is down; no cycle and a gap over part of it is no entries.
enum class StripState : std::uint8_t { kNone, kAnswered, kLoss, kNoEntries, kDown };

struct Timeline {
  LogTime start = 0;
  std::int64_t span = 1, width = 1;             // the axis and a bucket's seconds
  std::vector<std::vector<StripState>> strips;  // per host, in the report's order
};

// The strips of every host on the axis (SharedAxis's), in buckets of the widest
// interval among the hosts at least, and at most `most_buckets` of them.
Timeline BuildTimeline(const Report& report, const ChartOptions& axis,
                       std::int64_t most_buckets = kMostBuckets);

}  // namespace pinglog::report
