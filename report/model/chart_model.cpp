#include "report/model/chart_model.h"

#include <algorithm>

namespace pinglog::report {
namespace {

// A round value for a scale: 1, 2 or 5 times a power of ten.
int NiceTop(int value) {
  for (int step = 1;; step *= 10) {
    for (const int m : {1, 2, 5}) {
      if (value <= m * step) return m * step;
    }
  }
}

// The bulk's upper values: each bucket's kBulkInBucket percentile, rare spikes left
// out; the scale ends a round value above the kBulkOfBuckets percentile of those and
// half again (at least 1 ms more: a bulk of 1 ms has a top of 2, never its own).
int ScaleTop(const std::vector<ChartBucket>& buckets) {
  std::vector<int> upper;
  for (const ChartBucket& b : buckets) {
    if (!b.times.empty()) upper.push_back(b.times.Rank(kBulkInBucket));
  }
  std::sort(upper.begin(), upper.end());
  return TopAboveBulk(upper.empty() ? 1 : NearestRank(upper, kBulkOfBuckets));
}

}  // namespace

int TopAboveBulk(int bulk) { return NiceTop(bulk + std::max(1, (bulk + 1) / 2)); }

LossLevel LossLevelOf(const Requests& r) {
  if (r.lost == 0) return LossLevel::kNone;
  if (r.lost == r.sent) return LossLevel::kTotal;
  return r.LossPercent() <= kLittleLossPercent ? LossLevel::kLittle : LossLevel::kMuch;
}

std::int64_t BucketWidth(std::int64_t span, std::int64_t period, std::int64_t most) {
  for (const std::int64_t width : kBucketWidths) {
    if (width >= period && span / width <= most) return width;
  }
  return std::max<std::int64_t>(period, (span + most - 1) / most);
}

ChartModel BuildChart(const HostReport& host, const ChartOptions& options) {
  const HostSummary& s = host.summary;
  ChartModel chart;
  const bool shared_axis = options.axis_end > options.axis_start;
  chart.start = shared_axis ? options.axis_start : s.first;
  chart.span = std::max<std::int64_t>(1, (shared_axis ? options.axis_end : s.End()) - chart.start);
  // Buckets of the interval at least: cycles drift by their own time, so a bucket now
  // and then holds two, and the one beside it none (which is no gap).
  chart.width = BucketWidth(chart.span, std::max<std::int64_t>(1, s.interval_minutes * 60));
  chart.buckets.resize(static_cast<std::size_t>((chart.span + chart.width - 1) / chart.width));
  for (std::size_t i = 0; i < chart.buckets.size(); ++i) {
    chart.buckets[i].start = chart.start + static_cast<std::int64_t>(i) * chart.width;
  }
  // The entries come in time order: each bucket's times are counted once it is left.
  ReplyTimes* filling = nullptr;
  for (const Entry& entry : host.entries) {
    // A wrong clock's stamps are placed nowhere.
    if (entry.off_clock || entry.time < chart.start || entry.time - chart.start >= chart.span) {
      continue;
    }
    ChartBucket& b =
        chart.buckets[static_cast<std::size_t>((entry.time - chart.start) / chart.width)];
    if (filling != &b.times && filling != nullptr) filling->Settle();
    filling = &b.times;
    CountCycleWith(entry, b.requests, [&](int ms) { b.times.Add(ms); });
  }
  if (filling != nullptr) filling->Settle();
  for (const Outage& o : s.outages) {
    if (ShadedAcross(o, chart)) continue;
    for (std::int64_t t = o.start; t < o.end;) {  // at most two buckets
      const std::int64_t offset = t - chart.start;
      if (offset < 0 || offset >= chart.span) break;
      const std::int64_t bucket_end = chart.start + (offset / chart.width + 1) * chart.width;
      const std::int64_t until = std::min<std::int64_t>(o.end, bucket_end);
      chart.buckets[static_cast<std::size_t>(offset / chart.width)].short_outage_seconds +=
          until - t;
      t = until;
    }
  }
  chart.top = options.max_ms > 0 ? options.max_ms : ScaleTop(chart.buckets);
  return chart;
}

ChartOptions SharedAxis(const Report& report, ChartOptions options) {
  if (report.hosts.empty() || options.axis_end > options.axis_start) return options;
  std::int64_t start = report.hosts.front().summary.first, end = start;
  for (const HostReport& host : report.hosts) {
    start = std::min<std::int64_t>(start, host.summary.first);
    end = std::max<std::int64_t>(end, host.summary.End());
  }
  options.axis_start = start;
  options.axis_end = end;
  return options;
}

std::int64_t LongestInterval(const Report& report) {
  std::int64_t longest = 1;
  for (const HostReport& host : report.hosts) {
    longest = std::max<std::int64_t>(longest, host.summary.interval_minutes * 60);
  }
  return longest;
}

}  // namespace pinglog::report
