// The levels of detail the page carries, as the round-robin archives keep them: every
// cycle of the recent past, and before it consolidated buckets of half an hour, two
// and six hours, a day and a week (each a whole number of the one before), the finer
// reaching back less far. A zoom into older days draws the buckets of the widest
// level that is no wider than its span would take from every cycle (the same
// buckets), and of half an hour at the finest.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "report/model/chart_model.h"
#include "support/domain.h"

namespace pinglog::report {

enum class PageDetail { kLevels, kEveryCycle };

inline constexpr std::int64_t kEveryCycleSeconds = 10 * kSecondsPerDay;  // kept whole at least
inline constexpr std::array<std::int64_t, 5> kLevelWidths = {1800, 7200, 21600, 86400, 604800};
// A level reaches back this many of its buckets at most: the finer, the more recent.
inline constexpr std::int64_t kMostLevelBuckets = 20000;

// The round tops a scale can take: 1, 2, 5, 10 ... ms.
inline constexpr std::array<int, 18> kRoundTops = {1,     2,     5,     10,     20,     50,
                                                   100,   200,   500,   1000,   2000,   5000,
                                                   10000, 20000, 50000, 100000, 200000, 500000};
// The percentiles a consolidated bucket keeps besides its minimum (100: the maximum).
inline constexpr std::array<int, 6> kPercentiles = {10, 25, 50, 75, 90, 100};

struct DetailLevel {
  std::int64_t width = 0;  // seconds a bucket
  LogTime start = 0;       // its first bucket's; the last ends at DetailLevels::recent
};

struct DetailLevels {
  LogTime recent = 0;  // cycles from here on are carried one by one
  std::vector<DetailLevel> levels;
};

// The levels for the page's shared time axis, whose hosts' longest interval is
// `interval_seconds`: none for a period of little more than ten days, or with
// PageDetail::kEveryCycle. Each level's buckets lie on multiples of its width, and
// `recent` on a multiple of all, so that no bucket a zoom draws straddles it.
DetailLevels PlanDetailLevels(const ChartOptions& axis, std::int64_t interval_seconds,
                              PageDetail detail);

// A host's buckets before `recent`, packed in the cycles' base-64 numbers (PackCycles).
// First the lowest top a zoomed chart's scale can take (`max_ms` if set; else the top
// above the lowest 75th percentile of any bucket at these widths), then level after
// level, separated by a space. Per bucket: its cycles less those its width holds at
// the host's interval, zigzag-coded; if any, lost and not sent requests (the rest of
// three a cycle were answered); if any replies, the round trips' minimum, the steps
// up to the 10th, 25th, 50th, 75th and 90th percentile and to the maximum; then, for
// each top the scale can take (`max_ms`, or 1, 2, 5, 10 ... ms from the lowest on)
// from the minimum up to below the maximum, the replies above it.
std::string PackLevels(const EntryList& entries, const DetailLevels& levels, LogTime axis_end,
                       std::int64_t interval_seconds, int max_ms);

}  // namespace pinglog::report
