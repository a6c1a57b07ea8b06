#include "report/logs/clock_jumps.h"

#include <algorithm>
#include <map>

#include "report/logs/step_counts.h"
#include "support/domain.h"

namespace pinglog::report {
namespace {

// A run of entries whose times increase without a jump: [first, last) of `order`.
struct Run {
  std::size_t first = 0, last = 0;
  LogTime start = 0, end = 0;
  bool placed = false;
  std::int64_t shift = 0;  // an excursion's: what brings it back to where the clock stood
};

// The entries of one file and host in the log's order, by their index: a list of
// indexes, or (the usual case, a log of one host) the span they lie in.
struct Span {
  std::size_t first = 0, count = 0;
  std::size_t operator[](std::size_t k) const { return first + k; }
  std::size_t size() const { return count; }
};

// The usual step between the entries of one file and host (at least a second): the
// middle one of the steps forward in order.
template <typename Order>
std::int64_t MedianStep(const EntryStore& entries, const Order& order) {
  const MiddleStep middle = MiddleOfSteps(
      1, order.size(),
      [&](std::size_t k) {
        return std::int64_t{entries.TimeAt(order[k])} - entries.TimeAt(order[k - 1]);
      },
      [](std::int64_t step) { return step > 0; }, 0);
  return middle.count == 0 ? 1 : middle.median;
}

// Runs split at every step backwards and at every step forwards longer than `split`.
template <typename Order>
std::vector<Run> SplitRuns(const EntryStore& entries, const Order& order, std::int64_t split) {
  std::vector<Run> runs;
  for (std::size_t k = 0; k < order.size(); ++k) {
    const LogTime time = entries.TimeAt(order[k]);
    bool jumped = runs.empty();
    if (!jumped) {
      const std::int64_t step = std::int64_t{time} - runs.back().end;
      jumped = step < 0 || step > split;
    }
    if (jumped) runs.push_back({k, k, time, time, false, 0});
    runs.back().last = k + 1;
    runs.back().end = time;
  }
  return runs;
}

// A clock set away and back: a run entered by a jump one way and left by one the other
// way, after which the log goes on as if no time had passed but the run's own. Its
// entries are moved back to where the clock stood: nothing was missing meanwhile.
void FindExcursions(std::vector<Run>& runs, std::int64_t step) {
  for (std::size_t r = 1; r + 1 < runs.size(); ++r) {
    Run& run = runs[r];
    const Run& before = runs[r - 1];
    const Run& after = runs[r + 1];
    if (before.shift != 0) continue;
    const bool away_forward = run.start > before.end;
    if (away_forward == (after.start > run.end)) continue;  // not back the other way
    // What the log went on by, less the run's own time: about two steps, into and out.
    const std::int64_t between = static_cast<std::int64_t>(after.start) - before.end;
    const std::int64_t left_over = between - (static_cast<std::int64_t>(run.end) - run.start);
    if (left_over < 0 || left_over > 3 * step + 60) continue;
    run.shift = static_cast<std::int64_t>(before.end) + step - run.start;
  }
}

// Whether a run lies within a day, or within the placed span's own length, of that
// span (from the placed runs among the first `count`).
bool NearPlaced(const std::vector<Run>& runs, std::size_t count, const Run& run) {
  std::int64_t from = INT64_MAX, to = INT64_MIN;
  for (std::size_t r = 0; r < count; ++r) {
    if (!runs[r].placed || runs[r].shift != 0) continue;
    from = std::min<std::int64_t>(from, runs[r].start);
    to = std::max<std::int64_t>(to, runs[r].end);
  }
  if (from > to) return true;
  const std::int64_t near = std::max(kSecondsPerDay, to - from);
  return run.end >= from - near && run.start <= to + near;
}

// The longest run is placed; so is every run near the placed span. A step forward that
// the clock never comes back from cannot be told from a logger that was off: its run
// stays placed, and the stretch counts as missing; but the last run of a log, far
// beyond all before it (one entry stamped 2037 after a day of 2026), is a wrong clock
// at the end as it would be anywhere else.
void PlaceRuns(std::vector<Run>& runs) {
  auto longest = std::max_element(runs.begin(), runs.end(), [](const Run& a, const Run& b) {
    return (a.shift == 0 ? a.last - a.first : 0) < (b.shift == 0 ? b.last - b.first : 0);
  });
  longest->placed = true;
  std::int64_t from = longest->start, to = longest->end;
  for (bool grew = true; grew;) {
    grew = false;
    const std::int64_t near = std::max(kSecondsPerDay, to - from);
    for (Run& run : runs) {
      if (run.placed || run.shift != 0 || run.end < from - near || run.start > to + near) continue;
      run.placed = grew = true;
      from = std::min<std::int64_t>(from, run.start);
      to = std::max<std::int64_t>(to, run.end);
    }
  }
  for (std::size_t r = 1; r < runs.size(); ++r) {
    const bool last = r + 1 == runs.size();
    const bool entered_forward = runs[r].start > runs[r - 1].end;
    const bool left_backward = !last && runs[r + 1].start < runs[r].end;
    const bool off_at_end = last && !NearPlaced(runs, r, runs[r]);
    if (runs[r].shift != 0 || (entered_forward && !left_backward && !off_at_end)) {
      runs[r].placed = true;
    }
  }
}

// The entries of one file and host, by index in file order.
template <typename Order>
void FindInSequence(LogSet& logs, const Order& order) {
  EntryStore& entries = logs.entries;
  const std::int64_t step = MedianStep(entries, order);
  std::vector<Run> runs = SplitRuns(entries, order, 2 * step + 60);
  FindExcursions(runs, step);
  PlaceRuns(runs);
  for (std::size_t r = 1; r < runs.size(); ++r) {
    const Entry before = entries[order[runs[r].first - 1]];
    const Entry after = entries[order[runs[r].first]];
    const bool excursion = runs[r].shift != 0 || runs[r - 1].shift != 0;
    if (after.time < before.time || excursion || !runs[r].placed || !runs[r - 1].placed) {
      logs.clock_jumps.push_back({after.host, after.file, after.line, before.time, after.time});
    }
  }
  for (const Run& run : runs) {
    if (run.placed && run.shift == 0) continue;  // as read
    for (std::size_t k = run.first; k < run.last; ++k) {
      Entry entry = entries[order[k]];
      entry.off_clock = !run.placed;
      entry.time += run.shift;
      entries.Replace(order[k], entry);
    }
  }
}

}  // namespace

void FindClockJumps(LogSet& logs) {
  // Where the entries of each log and host lie, in the log's order: a log's entries
  // mostly share one host, and lie in one span.
  using Key = std::pair<std::uint32_t, std::uint32_t>;
  const EntryStore& entries = logs.entries;
  std::map<Key, std::vector<Span>> spans;
  for (std::size_t first = 0; first < entries.size();) {
    const Key key{entries[first].file, entries[first].host};
    std::size_t end = first + 1;
    while (end < entries.size() && Key{entries[end].file, entries[end].host} == key) ++end;
    spans[key].push_back({first, end - first});
    first = end;
  }
  for (const auto& [key, pieces] : spans) {
    if (pieces.size() == 1) {
      FindInSequence(logs, pieces.front());
      continue;
    }
    std::size_t count = 0;
    for (const Span& piece : pieces) count += piece.count;
    std::vector<std::size_t> order;
    order.reserve(count);
    for (const Span& piece : pieces) {
      for (std::size_t k = 0; k < piece.count; ++k) order.push_back(piece[k]);
    }
    FindInSequence(logs, order);
  }
}

}  // namespace pinglog::report
