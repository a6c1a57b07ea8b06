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

// Half a window: cycles in a row, none in an outage of more than one cycle. A year of
// one-minute cycles makes a hundred thousand of them a host: kept small.
struct Half {
  std::uint32_t first = 0, last = 0;  // its entries, [first, last) of the host's
  std::int32_t sent = 0, lost = 0, replies = 0;
  std::int32_t lossy = 0;   // cycles that lost a request
  std::int32_t slow = 0;    // replies at least as slow as a slow window's median
  bool after_half = false;  // follows the half before it, no gap or outage between
};

// A window: the half `second` and the one before it (which it follows).
struct Window {
  std::int64_t sent = 0, lost = 0, lossy = 0, replies = 0, slow = 0;
  double LossPercent() const {
    return sent == 0 ? 0 : 100.0 * static_cast<double>(lost) / static_cast<double>(sent);
  }
  // The median is slow when the replies below it are no more than its rank.
  bool Slow() const { return replies >= kLeastReplies && replies - slow <= RankIndex(replies, 50); }
};
Window WindowOf(const std::vector<Half>& halves, std::size_t second) {
  const Half& a = halves[second - 1];
  const Half& b = halves[second];
  return {std::int64_t{a.sent} + b.sent, std::int64_t{a.lost} + b.lost,
          std::int64_t{a.lossy} + b.lossy, std::int64_t{a.replies} + b.replies,
          std::int64_t{a.slow} + b.slow};
}

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

// The halves of a host's counted cycles; a reply of at least `slow_ms` is slow.
std::vector<Half> HalvesOf(const HostReport& host, int slow_ms) {
  std::vector<Half> halves;
  halves.reserve(host.entries.size() / kHalfCycles + 1);
  Half half;
  Requests requests;
  std::optional<LogTime> from;
  const auto close = [&] {
    if (!from) return;
    half.sent = static_cast<std::int32_t>(requests.sent);
    half.lost = static_cast<std::int32_t>(requests.lost);
    half.replies = static_cast<std::int32_t>(requests.received);
    halves.push_back(half);
    half = Half{};
    requests = Requests{};
    from.reset();
  };
  EachCounted(host, [&](std::size_t i, const Entry& entry, bool after_break) {
    if (after_break) close();
    if (!from) {
      from = entry.time;
      half.first = static_cast<std::uint32_t>(i);
      half.after_half = !after_break && !halves.empty();
    }
    const CycleCounts counts = CountCycleWith(entry, requests, [&](int ms) {
      if (ms >= slow_ms) ++half.slow;
    });
    half.lossy += counts.sent > counts.replies ? 1 : 0;
    half.last = static_cast<std::uint32_t>(i + 1);
    if (requests.cycles >= kHalfCycles && entry.time - *from >= kHalfSeconds) close();
  });
  close();
  return halves;
}

// The usual loss: the middle window's.
Usual UsualOf(const std::vector<Half>& halves, int median) {
  Usual usual;
  std::vector<float> losses;
  for (std::size_t h = 1; h < halves.size(); ++h) {
    if (halves[h].after_half)
      losses.push_back(static_cast<float>(WindowOf(halves, h).LossPercent()));
  }
  if (losses.empty()) return usual;
  usual.known = true;
  const auto middle = losses.begin() + static_cast<std::ptrdiff_t>(losses.size() / 2);
  std::nth_element(losses.begin(), middle, losses.end());
  usual.loss_percent = *middle;
  usual.median = median;
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

double ChanceOfLosing(std::int64_t lost, std::int64_t sent, double p) {
  if (lost <= 0) return 1;
  if (lost > sent || p <= 0) return 0;
  if (p >= 1) return 1;
  // The binomial tail, term by term from `lost` on (each the one before times
  // (sent - j) / (j + 1) * p / (1 - p)), the first from logarithms.
  const std::int64_t fewer = std::min(lost, sent - lost);
  double log_choose = 0;  // of choosing `lost` of `sent`
  for (std::int64_t i = 1; i <= fewer; ++i) {
    log_choose += std::log(static_cast<double>(sent - fewer + i) / static_cast<double>(i));
  }
  const auto n = static_cast<double>(sent), k = static_cast<double>(lost);
  double term = std::exp(log_choose + k * std::log(p) + (n - k) * std::log1p(-p));
  double sum = 0;
  for (std::int64_t j = lost; j <= sent && term > sum * 1e-12; ++j) {
    sum += term;
    term *= static_cast<double>(sent - j) / static_cast<double>(j + 1) * p / (1 - p);
  }
  return std::min(sum, 1.0);
}

void FindDegradations(const HostReport& host, Usual& usual, std::vector<Degradation>& found) {
  const int median = host.summary.round_trip.median;
  const int slow_ms =
      std::max(median + kSlowerByMs, static_cast<int>(std::ceil(median * kSlowerTimes)));
  const std::vector<Half> halves = HalvesOf(host, slow_ms);
  usual = UsualOf(halves, median);
  if (!usual.known) return;
  const double chance_rate = std::max(usual.loss_percent, kLeastUsualLoss) / 100;
  std::vector<bool> loss(halves.size(), false), slow(halves.size(), false);
  for (std::size_t h = 1; h < halves.size(); ++h) {
    if (!halves[h].after_half) continue;
    const Window w = WindowOf(halves, h);
    const double percent = w.LossPercent();
    const bool lossy = percent >= kDegradedLossPercent &&
                       percent >= usual.loss_percent + kDegradedLossAboveUsual &&
                       w.lossy >= kLeastLossyCycles &&
                       ChanceOfLosing(w.lost, w.sent, chance_rate) < kChanceAtMost;
    const bool slowly = w.Slow();
    loss[h - 1] = loss[h - 1] || lossy;
    loss[h] = loss[h] || lossy;
    slow[h - 1] = slow[h - 1] || slowly;
    slow[h] = slow[h] || slowly;
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
