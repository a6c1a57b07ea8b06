#include "report/model/degradations.h"

#include <algorithm>
#include <cmath>
#include <optional>

#include "report/model/cycle_counts.h"

namespace pinglog::report {
namespace {

// Half a window at least: this many cycles over this many seconds.
constexpr std::int64_t kHalfCycles = 5;
constexpr std::int64_t kHalfSeconds = 30;
constexpr std::int64_t kLeastReplies = 5;
constexpr std::int64_t kLeastLossyCycles = 2;

// Half a window: cycles in a row, none in an outage of more than one cycle.
struct Half {
  std::size_t first = 0, last = 0;  // its entries, [first, last) of the host's
  Requests requests;
  std::int64_t lossy = 0;   // cycles that lost a request
  bool after_half = false;  // follows the half before it, no gap or outage between
};

// A window (two halves in a row) as counted: its loss and the median of its replies.
struct Window {
  std::size_t second = 0;  // its second half; the first is the one before
  double loss_percent = 0;
  std::int64_t lossy = 0, replies = 0;
  int median = 0;
  bool loss = false, slow = false;  // which rule it meets
};

// The entries of a host that count: placed in time, and not in an outage of more than
// one cycle. Calls take(i, entry, after_break) for each, after_break when a gap or such
// an outage lies before it.
template <typename Take>
void EachCounted(const HostReport& host, Take take) {
  const HostSummary& s = host.summary;
  const double longest = LongestStepSeconds(s.interval_minutes);
  std::size_t outage = 0;
  bool broken = true;
  std::optional<LogTime> before;
  for (std::size_t i = 0; i < host.entries.size(); ++i) {
    const Entry entry = host.entries[i];
    if (entry.off_clock) continue;
    broken = broken || (before && static_cast<double>(entry.time - *before) > longest);
    before = entry.time;
    while (outage < s.outages.size() && s.outages[outage].end <= entry.time) ++outage;
    if (outage < s.outages.size() && s.outages[outage].cycles > 1 &&
        s.outages[outage].start <= entry.time) {
      broken = true;
      continue;
    }
    take(i, entry, broken);
    broken = false;
  }
}

// The halves of a host's counted cycles, and each window's figures.
void HalvesAndWindows(const HostReport& host, std::vector<Half>& halves,
                      std::vector<Window>& windows) {
  Half half;
  std::vector<int> times, times_before;  // the replies of this half and the one before
  std::optional<LogTime> from;
  const auto close = [&] {
    if (!from) return;
    if (half.after_half) {
      const Half& first = halves.back();
      Window window{halves.size(), 0, first.lossy + half.lossy, 0, 0, false, false};
      const std::int64_t sent = first.requests.sent + half.requests.sent;
      const std::int64_t lost = first.requests.lost + half.requests.lost;
      window.loss_percent =
          sent == 0 ? 0 : 100.0 * static_cast<double>(lost) / static_cast<double>(sent);
      std::vector<int> both = times_before;
      both.insert(both.end(), times.begin(), times.end());
      window.replies = static_cast<std::int64_t>(both.size());
      if (!both.empty()) window.median = NearestRankOf(both, 50);
      windows.push_back(window);
    }
    halves.push_back(half);
    times_before = std::move(times);
    times.clear();
    half = Half{};
    from.reset();
  };
  EachCounted(host, [&](std::size_t i, const Entry& entry, bool after_break) {
    if (after_break) close();
    if (!from) {
      from = entry.time;
      half.first = i;
      half.after_half = !after_break && !halves.empty();
      if (after_break) times_before.clear();
    }
    const CycleCounts counts =
        CountCycleWith(entry, half.requests, [&](int ms) { times.push_back(ms); });
    half.lossy += counts.sent > counts.replies ? 1 : 0;
    half.last = i + 1;
    if (half.requests.cycles >= kHalfCycles && entry.time - *from >= kHalfSeconds) close();
  });
  close();
}

// The usual: the middle window's loss, and the middle of the windows' medians.
Usual UsualOf(const std::vector<Window>& windows) {
  Usual usual;
  std::vector<double> losses;
  std::vector<int> medians;
  for (const Window& w : windows) {
    losses.push_back(w.loss_percent);
    if (w.replies >= kLeastReplies) medians.push_back(w.median);
  }
  if (losses.empty()) return usual;
  usual.known = true;
  const auto middle = losses.begin() + static_cast<std::ptrdiff_t>(losses.size() / 2);
  std::nth_element(losses.begin(), middle, losses.end());
  usual.loss_percent = *middle;
  if (!medians.empty()) usual.median = NearestRankOf(medians, 50);
  return usual;
}

// The stretch over halves [first, last]: from the first cycle that showed it to the
// last, and what the cycles between counted (no gap or long outage lies within).
Degradation Stretch(const HostReport& host, const std::vector<Half>& halves, std::size_t first,
                    std::size_t last, bool loss, bool slow, int slow_ms) {
  Degradation found{0, 0, {}, 0, 0, loss, slow};
  std::size_t first_bad = SIZE_MAX, last_bad = 0;
  for (std::size_t i = halves[first].first; i < halves[last].last; ++i) {
    const Entry entry = host.entries[i];
    if (entry.off_clock) continue;
    Requests ignored;
    bool bad = false;
    const CycleCounts counts =
        CountCycleWith(entry, ignored, [&](int ms) { bad = bad || (slow && ms >= slow_ms); });
    if (!bad && !(loss && counts.sent > counts.replies)) continue;
    first_bad = std::min(first_bad, i);
    last_bad = i;
  }
  std::vector<int> times;
  for (std::size_t i = first_bad; i <= last_bad; ++i) {
    const Entry entry = host.entries[i];
    if (!entry.off_clock)
      CountCycleWith(entry, found.requests, [&](int ms) { times.push_back(ms); });
  }
  found.from = host.entries.TimeAt(first_bad);
  found.to = host.entries.TimeAt(last_bad) + host.summary.period;
  found.replies = static_cast<std::int64_t>(times.size());
  if (!times.empty()) found.median = NearestRankOf(times, 50);
  return found;
}

}  // namespace

void FindDegradations(const HostReport& host, Usual& usual, std::vector<Degradation>& found) {
  std::vector<Half> halves;
  std::vector<Window> windows;
  HalvesAndWindows(host, halves, windows);
  usual = UsualOf(windows);
  if (!usual.known) return;
  const int slow_ms = std::max(usual.median + kSlowerByMs,
                               static_cast<int>(std::ceil(usual.median * kSlowerTimes)));
  std::vector<bool> loss(halves.size(), false), slow(halves.size(), false);
  for (Window& w : windows) {
    w.loss = w.loss_percent >= kDegradedLossPercent &&
             w.loss_percent >= usual.loss_percent + kDegradedLossAboveUsual &&
             w.lossy >= kLeastLossyCycles;
    w.slow = w.replies >= kLeastReplies && w.median >= slow_ms;
    for (const std::size_t h : {w.second - 1, w.second}) {
      if (w.loss) loss[h] = true;
      if (w.slow) slow[h] = true;
    }
  }
  for (std::size_t h = 0; h < halves.size();) {
    if (!loss[h] && !slow[h]) {
      ++h;
      continue;
    }
    std::size_t last = h;
    bool any_loss = loss[h], any_slow = slow[h];
    while (last + 1 < halves.size() && halves[last + 1].after_half &&
           (loss[last + 1] || slow[last + 1])) {
      ++last;
      any_loss = any_loss || loss[last];
      any_slow = any_slow || slow[last];
    }
    found.push_back(Stretch(host, halves, h, last, any_loss, any_slow, slow_ms));
    h = last + 1;
  }
}

}  // namespace pinglog::report
