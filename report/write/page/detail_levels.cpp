#include "report/write/page/detail_levels.h"

#include <algorithm>
#include <array>
#include <limits>
#include <numeric>

#include "report/model/cycle_counts.h"
#include "report/model/reply_times.h"
#include "report/write/page/cycle_pack.h"

namespace pinglog::report {
namespace {

std::int64_t FloorTo(std::int64_t t, std::int64_t width) {
  return t >= 0 ? t / width * width : -((-t + width - 1) / width) * width;
}

struct Bucket {
  Requests requests;
  ReplyTimes times;
};

// Every bucket of every width (each a whole number of the one before) from `start`
// (a multiple of the widest) to `end`, in one walk through the entries: a bucket of
// the finest width counted and its replies sorted, each wider one merged from the
// narrower ones it holds. visit(width's index, bucket's start, bucket).
template <typename Visit>
void ForEachBucket(const EntryList& entries, const std::vector<std::int64_t>& widths, LogTime start,
                   LogTime end, Visit visit) {
  auto entry = std::lower_bound(entries.begin(), entries.end(), start,
                                [](const Entry& e, LogTime t) { return e.time < t; });
  std::vector<Bucket> open(widths.size());
  const std::int64_t finest = widths.front();
  for (LogTime at = start; at < end; at += finest) {
    Bucket& bucket = open.front();
    for (; entry != entries.end(); ++entry) {
      const Entry cycle = *entry;
      if (cycle.time >= at + finest) break;
      if (cycle.off_clock) continue;
      CountCycleWith(cycle, bucket.requests, [&](int ms) { bucket.times.Add(ms); });
    }
    bucket.times.Settle();
    // The finest bucket, then each wider one that it completes, each added to the
    // next wider once complete.
    for (std::size_t w = 0; w < widths.size() && (at + finest) % widths[w] == 0; ++w) {
      visit(w, at + finest - widths[w], open[w]);
      if (w + 1 < widths.size()) {
        open[w + 1].requests += open[w].requests;
        open[w + 1].times.Add(open[w].times);
      }
      open[w] = {};
    }
  }
}

// A bucket as the page carries it: its counts, its round trips' minimum, percentiles
// and maximum, and the replies above each round top from its minimum to below its
// maximum (which of those are packed is known only once every bucket is seen). A
// year holds many thousands: those counts lie in one list for all of them.
struct Consolidated {
  std::int64_t cycles = 0, lost = 0, not_sent = 0;
  std::array<int, 7> rounds{};  // minimum, kPercentiles
  std::uint32_t above_at = 0;   // where its counts begin in the list
  // The tops counted: kRoundTops from first_top on, or max_ms alone when given.
  std::uint8_t first_top = 0, tops = 0;
};

Consolidated Consolidate(const Bucket& b, int max_ms, std::vector<std::int64_t>& above_counts) {
  Consolidated c{b.requests.cycles, b.requests.lost, b.requests.not_sent, {}, 0, 0, 0};
  if (b.times.empty()) return c;
  c.rounds[0] = std::max(b.times.Lowest(), 0);
  for (std::size_t i = 0; i < kPercentiles.size(); ++i) {
    c.rounds[i + 1] = std::max(b.times.Rank(kPercentiles[i]), c.rounds[i]);
  }
  c.above_at = static_cast<std::uint32_t>(above_counts.size());
  // The tops from the minimum to below the maximum: a run of the round ones.
  const auto above = [&](int top, std::size_t index) {
    if (top < b.times.Lowest() || top >= b.times.Highest()) return;
    if (c.tops++ == 0) c.first_top = static_cast<std::uint8_t>(index);
    above_counts.push_back(b.times.CountAbove(top));
  };
  if (max_ms > 0) {
    above(max_ms, 0);
  } else {
    for (std::size_t i = 0; i < kRoundTops.size(); ++i) above(kRoundTops[i], i);
  }
  return c;
}

// What packing a bucket needs beside it, known once every bucket is seen.
struct Packing {
  int max_ms = 0;
  int lowest_top = 0;
  const std::vector<std::int64_t>& above_counts;
};

void AppendBucket(std::string& out, const Consolidated& c, std::int64_t expected_cycles,
                  const Packing& packing) {
  AppendNumber(out, ZigZag(c.cycles - expected_cycles));
  if (c.cycles == 0) return;
  AppendNumber(out, static_cast<std::uint64_t>(c.lost));
  AppendNumber(out, static_cast<std::uint64_t>(c.not_sent));
  if (3 * c.cycles - c.not_sent - c.lost == 0) return;  // no replies
  AppendNumber(out, static_cast<std::uint64_t>(c.rounds[0]));
  for (std::size_t i = 1; i < c.rounds.size(); ++i) {
    AppendNumber(out, static_cast<std::uint64_t>(c.rounds[i] - c.rounds[i - 1]));
  }
  for (std::size_t i = 0; i < c.tops; ++i) {
    const int top = packing.max_ms > 0 ? packing.max_ms : kRoundTops[c.first_top + i];
    if (top < packing.lowest_top) continue;
    AppendNumber(out, static_cast<std::uint64_t>(packing.above_counts[c.above_at + i]));
  }
}

}  // namespace

DetailLevels PlanDetailLevels(const ChartOptions& axis, std::int64_t interval_seconds,
                              PageDetail detail) {
  DetailLevels plan{axis.axis_start, {}};
  if (detail == PageDetail::kEveryCycle) return plan;
  // The levels up to the first as wide as the whole period's buckets: no zoom is wider.
  const std::int64_t whole =
      BucketWidth(std::int64_t{axis.axis_end} - axis.axis_start, interval_seconds);
  std::vector<std::int64_t> widths;
  for (const std::int64_t width : kLevelWidths) {
    widths.push_back(width);
    if (width >= whole) break;
  }
  const LogTime recent = FloorTo(axis.axis_end - kEveryCycleSeconds, widths.back());
  if (recent <= axis.axis_start) return plan;
  plan.recent = recent;
  for (const std::int64_t width : widths) {
    plan.levels.push_back(
        {width, std::max(FloorTo(axis.axis_start, width), recent - kMostLevelBuckets * width)});
  }
  return plan;
}

std::string PackLevels(const EntryList& entries, const DetailLevels& levels, LogTime axis_end,
                       std::int64_t interval_seconds, int max_ms) {
  // The lowest top a zoom's scale can take: above the lowest bulk of any bucket it
  // may draw, older or recent.
  int lowest_bulk = std::numeric_limits<int>::max();
  const auto note_bulk = [&](const Bucket& b) {
    if (!b.times.empty()) lowest_bulk = std::min(lowest_bulk, b.times.Rank(kBulkInBucket));
  };
  std::vector<std::vector<Consolidated>> kept(levels.levels.size());
  std::vector<std::int64_t> above_counts;
  std::vector<std::int64_t> widths;
  for (std::size_t i = 0; i < levels.levels.size(); ++i) {
    const DetailLevel& level = levels.levels[i];
    widths.push_back(level.width);
    const LogTime kept_end = std::min(levels.recent, axis_end);
    if (kept_end > level.start) {
      kept[i].reserve(static_cast<std::size_t>((kept_end - level.start - 1) / level.width + 1));
    }
  }
  const std::int64_t widest = widths.back();
  ForEachBucket(entries, widths, FloorTo(levels.levels.back().start, widest),
                FloorTo(axis_end + widest - 1, widest),
                [&](std::size_t w, LogTime start, const Bucket& b) {
                  if (start < levels.levels[w].start || start >= axis_end) return;
                  note_bulk(b);
                  if (start < levels.recent) {
                    kept[w].push_back(Consolidate(b, max_ms, above_counts));
                  }
                });
  const int lowest_top =
      max_ms > 0 ? max_ms
                 : TopAboveBulk(lowest_bulk == std::numeric_limits<int>::max() ? 1 : lowest_bulk);
  std::string packed;
  AppendNumber(packed, static_cast<std::uint64_t>(lowest_top));
  for (std::size_t i = 0; i < levels.levels.size(); ++i) {
    packed += ' ';
    const std::int64_t width = levels.levels[i].width;
    const std::int64_t expected = interval_seconds > 0 ? width / interval_seconds : 0;
    for (const Consolidated& c : kept[i]) {
      AppendBucket(packed, c, expected, {max_ms, lowest_top, above_counts});
    }
  }
  return packed;
}

}  // namespace pinglog::report
