// What a host's chart shows, before it is drawn: the time axis, the buckets of
// cycles along it and the scale's top. The rules here (bucket widths, the scale's
// bulk, the loss classes) are the page script's too: the page hands them over.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "report/model/reply_times.h"
#include "report/model/report.h"

namespace pinglog::report {

// Bucket widths that read well: the first that keeps the chart at most kMostBuckets.
inline constexpr std::int64_t kMostBuckets = 800;
inline constexpr std::array<std::int64_t, 20> kBucketWidths = {
    1,   2,    5,    10,   15,    30,    60,    120,   300,    600,
    900, 1800, 3600, 7200, 10800, 21600, 43200, 86400, 172800, 604800};
// The scale ends a round value (1, 2 or 5 times a power of ten) above the bulk: the
// kBulkOfBuckets percentile of each bucket's kBulkInBucket percentile, plus half (at
// least 1 ms).
inline constexpr int kBulkInBucket = 75;
inline constexpr int kBulkOfBuckets = 95;
// The median's colour by the bucket's loss: none, a little (up to this), more, total.
inline constexpr double kLittleLossPercent = 10;
enum class LossLevel { kNone, kLittle, kMuch, kTotal };

struct ChartOptions {
  int max_ms = 0;  // the scale's top; 0: just above the bulk
  // The time axis, from its first second to the one after its last; both 0: the
  // host's own entries (and the last one's period).
  LogTime axis_start = 0, axis_end = 0;
};

struct ChartBucket {
  LogTime start = 0;
  ReplyTimes times;  // the replies' round trips
  Requests requests;
  // Seconds of the bucket that outages shorter than a bucket took: at this scale
  // they are marked under the axis, not shaded across the plot.
  std::int64_t short_outage_seconds = 0;
};

struct ChartModel {
  std::int64_t start = 0, span = 1, width = 1;  // the axis and a bucket's seconds
  int top = 1;                                  // the scale's top, in ms
  std::vector<ChartBucket> buckets;
};

ChartModel BuildChart(const HostReport& host, const ChartOptions& options);

// Whether an outage is shaded across the plot at this scale: it lasts a bucket or more.
inline bool ShadedAcross(const Outage& outage, const ChartModel& chart) {
  return outage.Seconds() >= chart.width;
}

// The longest interval among the hosts, in seconds (at least 1): the widest step any
// of their charts or strips must allow for.
std::int64_t LongestInterval(const Report& report);

// One time axis for every host's chart: from the first entry of any to the end of
// the last one's period.
ChartOptions SharedAxis(const Report& report, ChartOptions options);

// The scale's top for a bulk of `bulk` ms: a round value above it and half again.
int TopAboveBulk(int bulk);

// The loss level of a bucket's requests.
LossLevel LossLevelOf(const Requests& requests);

// The first width of kBucketWidths at least `period` long that keeps a span of
// `span` seconds within `most` buckets.
std::int64_t BucketWidth(std::int64_t span, std::int64_t period, std::int64_t most = kMostBuckets);

}  // namespace pinglog::report
