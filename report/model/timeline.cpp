#include "report/model/timeline.h"

#include <algorithm>

namespace pinglog::report {
namespace {

// Raises the buckets that [from, to) touches to `state`, if it is worse.
void Mark(std::vector<StripState>& strip, const Timeline& t, LogTime from, LogTime to,
          StripState state, bool only_empty = false) {
  from = std::max(from, t.start);
  to = std::min(to, t.start + t.span);
  if (from >= to) return;
  const auto first = static_cast<std::size_t>((from - t.start) / t.width);
  const auto last = static_cast<std::size_t>((to - 1 - t.start) / t.width);
  for (std::size_t b = first; b <= last && b < strip.size(); ++b) {
    if (only_empty && strip[b] != StripState::kNone) continue;
    strip[b] = std::max(strip[b], state);
  }
}

std::vector<StripState> StripOf(const HostReport& host, const Timeline& t, std::size_t buckets) {
  std::vector<Requests> counts(buckets);
  for (const Entry& entry : host.entries) {
    if (entry.off_clock || entry.time < t.start || entry.time >= t.start + t.span) continue;
    CountCycle(entry, counts[static_cast<std::size_t>((entry.time - t.start) / t.width)]);
  }
  std::vector<StripState> strip(buckets, StripState::kNone);
  for (std::size_t b = 0; b < buckets; ++b) {
    if (counts[b].cycles == 0) continue;
    strip[b] = counts[b].lost > 0 ? StripState::kLoss : StripState::kAnswered;
  }
  const HostSummary& s = host.summary;
  for (const Gap& gap : s.gaps) Mark(strip, t, gap.start, gap.before, StripState::kNoEntries, true);
  for (const Outage& o : s.outages) Mark(strip, t, o.start, o.end, StripState::kDown);
  return strip;
}

}  // namespace

Timeline BuildTimeline(const Report& report, const ChartOptions& axis, std::int64_t most_buckets) {
  Timeline t;
  t.start = axis.axis_start;
  t.span = std::max<std::int64_t>(1, axis.axis_end - axis.axis_start);
  t.width = BucketWidth(t.span, LongestInterval(report), most_buckets);
  const auto buckets = static_cast<std::size_t>((t.span + t.width - 1) / t.width);
  for (const HostReport& host : report.hosts) t.strips.push_back(StripOf(host, t, buckets));
  return t;
}

}  // namespace pinglog::report
