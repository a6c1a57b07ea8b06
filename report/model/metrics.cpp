#include "report/model/metrics.h"

#include "support/text.h"

namespace pinglog::report {
namespace {

// The histogram's bounds in whole milliseconds: a reply of `ms` lies within a bound
// when ms / 1000.0 is at most that bound, so when ms is at most this.
constexpr std::array<int, kRttBuckets.size()> MillisecondBounds() {
  std::array<int, kRttBuckets.size()> bounds{};
  for (std::size_t b = 0; b < bounds.size(); ++b) {
    while ((bounds[b] + 1) / 1000.0 <= kRttBuckets[b]) ++bounds[b];
  }
  return bounds;
}
constexpr std::array<int, kRttBuckets.size()> kRttBoundsMs = MillisecondBounds();

// The bucket of each round trip up to the highest bound, looked up: a year counts
// millions of replies once per series.
constexpr std::array<std::uint8_t, kRttBoundsMs.back() + 1> BucketOfMs() {
  std::array<std::uint8_t, kRttBoundsMs.back() + 1> bucket{};
  for (std::size_t ms = 0; ms < bucket.size(); ++ms) {
    std::size_t b = 0;
    while (static_cast<int>(ms) > kRttBoundsMs[b]) ++b;
    bucket[ms] = static_cast<std::uint8_t>(b);
  }
  return bucket;
}
constexpr auto kBucketOfMs = BucketOfMs();

std::size_t BucketOf(int ms) {
  if (ms < 0) return 0;
  return ms < static_cast<int>(kBucketOfMs.size()) ? kBucketOfMs[static_cast<std::size_t>(ms)]
                                                   : kRttBoundsMs.size();
}

}  // namespace

MetricParts PartsOf(const MetricFamily& family) {
  MetricParts parts{false, false, false, false, false};
  if (&family == &kRttFamily) {
    parts.round_trips = true;
  } else if (&family == &kTargetInfoFamily) {
    parts.target = true;
  } else if (&family == &kNotSentFamily || &family == &kRouterFamily ||
             &family == &kFailuresFamily) {
    parts.attempts = true;
  } else if (&family == &kLastCycleFamily) {
    parts.last_cycle = true;
  } else {
    parts.requests = true;
  }
  parts.changes = family.label != nullptr;
  return parts;
}

void HostMetrics::AddAttempts(const Entry& entry, bool note_changes) {
  for (const Attempt& attempt : entry.attempts) {
    if (attempt.outcome == Outcome::kRouter) {
      std::string router = FormatAddress(attempt.source());
      ++routers[router];
      if (note_changes) changed.push_back({&kRouterFamily, {std::move(router), 0}});
    }
    if (attempt.outcome != Outcome::kFailure) continue;
    const bool never_sent = NeverSent(attempt.error());
    ++(never_sent ? not_sent : failures)[attempt.error()];
    if (note_changes) {
      changed.push_back({never_sent ? &kNotSentFamily : &kFailuresFamily, {"", attempt.error()}});
    }
  }
}

void HostMetrics::Add(const Entry& entry, std::int64_t unix_time, const MetricParts& parts) {
  if (parts.requests || parts.round_trips) {
    const CycleCounts counts = CountCycleWith(entry, requests, [&](int ms) {
      if (!parts.round_trips) return;
      ++within_[BucketOf(ms)];
      ++rtt_count;
      rtt_sum_ms += ms;
    });
    if (counts.sent > 0) unanswered = counts.replies > 0 ? 0 : unanswered + 1;
  }
  // The address's text only when it changes.
  if (parts.target && (address.empty() || !SameAddress(entry.target, target_))) {
    target_ = entry.target;
    if (parts.changes && !address.empty()) changed.push_back({&kTargetInfoFamily, {address, 0}});
    address = FormatAddress(entry.target);
    addresses.insert(address);
    ++address_changes;
    if (parts.changes) changed.push_back({&kTargetInfoFamily, {address, 0}});
  }
  if (parts.attempts) AddAttempts(entry, parts.changes);
  if (parts.last_cycle) last_cycle = unix_time;
}

std::array<std::int64_t, kRttBuckets.size()> HostMetrics::Buckets() const {
  std::array<std::int64_t, kRttBuckets.size()> cumulative{};
  std::int64_t sum = 0;
  for (std::size_t b = 0; b < cumulative.size(); ++b) cumulative[b] = sum += within_[b];
  return cumulative;
}

std::vector<SeriesKey> SeriesKeys(const MetricFamily& family, const HostMetrics& m) {
  std::vector<SeriesKey> keys;
  if (family.label == nullptr) {
    keys.push_back({});
  } else if (&family == &kRouterFamily) {
    for (const auto& [router, count] : m.routers) keys.push_back({router, 0});
  } else if (&family == &kTargetInfoFamily) {
    for (const std::string& address : m.addresses) keys.push_back({address, 0});
  } else {
    for (const auto& [error, count] : &family == &kNotSentFamily ? m.not_sent : m.failures) {
      keys.push_back({std::to_string(error), error});
    }
  }
  return keys;
}

std::optional<std::int64_t> SeriesValue(const MetricFamily& family, const HostMetrics& m,
                                        const SeriesKey& key) {
  const auto count = [](const auto& by_key, const auto& k) -> std::int64_t {
    const auto found = by_key.find(k);
    return found == by_key.end() ? 0 : found->second;
  };
  if (&family == &kCyclesFamily) return m.requests.cycles;
  if (&family == &kRequestsFamily) return m.requests.sent;
  if (&family == &kRepliesFamily) return m.requests.received;
  if (&family == &kLastCycleFamily) return m.last_cycle;
  if (&family == &kUnansweredFamily) return m.unanswered;
  if (&family == &kTargetInfoFamily) {
    return key.text == m.address ? std::optional<std::int64_t>(1) : std::nullopt;
  }
  if (&family == &kNotSentFamily) return count(m.not_sent, key.error);
  if (&family == &kRouterFamily) return count(m.routers, key.text);
  if (&family == &kFailuresFamily) return count(m.failures, key.error);
  return 0;
}

}  // namespace pinglog::report
