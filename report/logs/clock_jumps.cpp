#include "report/logs/clock_jumps.h"

#include <algorithm>

namespace pinglog::report {
namespace {

constexpr std::int64_t kDay = 86400;

// A run of entries whose times increase without a jump: [first, last) of `order`.
struct Run {
  std::size_t first = 0, last = 0;
  CalendarTime start = 0, end = 0;
  bool placed = false;
};

// The entries of one file and host, by index in file order.
void FindInSequence(LogSet& logs, const std::vector<std::size_t>& order) {
  std::vector<Entry>& entries = logs.entries;
  std::vector<std::int64_t> steps;
  for (std::size_t k = 1; k < order.size(); ++k) {
    const std::int64_t step = std::int64_t{entries[order[k]].time} - entries[order[k - 1]].time;
    if (step > 0) steps.push_back(step);
  }
  if (steps.empty()) steps.push_back(1);
  std::nth_element(steps.begin(), steps.begin() + steps.size() / 2, steps.end());
  // Forward steps longer than this may be a wrong clock, or a logger that was off: the
  // runs on either side tell which.
  const std::int64_t far = std::max(kDay, 1000 * steps[steps.size() / 2]);

  std::vector<Run> runs;
  for (std::size_t k = 0; k < order.size(); ++k) {
    const CalendarTime time = entries[order[k]].time;
    bool jumped = runs.empty();
    if (!jumped) {
      const std::int64_t step = std::int64_t{time} - runs.back().end;
      jumped = step < 0 || step > far;
    }
    if (jumped) runs.push_back({k, k, time, time, false});
    runs.back().last = k + 1;
    runs.back().end = time;
  }
  // The longest run is placed; so is every run near the placed span.
  auto longest = std::max_element(runs.begin(), runs.end(), [](const Run& a, const Run& b) {
    return a.last - a.first < b.last - b.first;
  });
  longest->placed = true;
  std::int64_t from = longest->start, to = longest->end;
  for (bool grew = true; grew;) {
    grew = false;
    const std::int64_t near = std::max(kDay, to - from);
    for (Run& run : runs) {
      if (run.placed || run.end < from - near || run.start > to + near) continue;
      run.placed = grew = true;
      from = std::min<std::int64_t>(from, run.start);
      to = std::max<std::int64_t>(to, run.end);
    }
  }
  // A step forward that the clock never comes back from cannot be told from a
  // logger that was off: its run stays placed, and the stretch counts as missing.
  for (std::size_t r = 1; r < runs.size(); ++r) {
    const bool entered_forward = runs[r].start > runs[r - 1].end;
    const bool left_backward = r + 1 < runs.size() && runs[r + 1].start < runs[r].end;
    if (entered_forward && !left_backward) runs[r].placed = true;
  }
  for (std::size_t r = 0; r < runs.size(); ++r) {
    for (std::size_t k = runs[r].first; k < runs[r].last; ++k) {
      entries[order[k]].off_clock = !runs[r].placed;
    }
    if (r == 0) continue;
    const Entry& before = entries[order[runs[r].first - 1]];
    const Entry& after = entries[order[runs[r].first]];
    if (after.time < before.time || !runs[r].placed || !runs[r - 1].placed) {
      logs.clock_jumps.push_back({after.host, after.file, after.line, before.time, after.time});
    }
  }
}

}  // namespace

void FindClockJumps(LogSet& logs) {
  std::map<std::pair<std::uint16_t, std::uint16_t>, std::vector<std::size_t>> sequences;
  for (std::size_t i = 0; i < logs.entries.size(); ++i) {
    sequences[{logs.entries[i].file, logs.entries[i].host}].push_back(i);
  }
  for (const auto& [key, order] : sequences) FindInSequence(logs, order);
}

}  // namespace pinglog::report
