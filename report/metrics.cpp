#include "report/metrics.h"

#include <charconv>

#include "report/summary.h"
#include "support/text.h"

namespace pinglog::report {

void HostMetrics::Add(const Entry& entry, std::int64_t unix_time) {
  std::vector<int> times;
  CountCycle(entry, requests, times);
  for (const int ms : times) {
    const double seconds = ms / 1000.0;
    for (std::size_t b = 0; b < kRttBuckets.size(); ++b) {
      if (seconds <= kRttBuckets[b]) ++buckets[b];
    }
    ++rtt_count;
    rtt_sum_ms += ms;
  }
  for (const Attempt& attempt : entry.attempts) {
    if (attempt.outcome == Outcome::kRouter) ++routers[FormatAddress(attempt.source)];
    if (attempt.outcome != Outcome::kFailure) continue;
    ++(NeverSent(attempt.error) ? not_sent : failures)[attempt.error];
  }
  last_cycle = std::max(last_cycle, unix_time);
}

std::string MetricNumber(double value) {
  char text[64];
  const auto result = std::to_chars(text, text + sizeof text, value);
  return std::string(text, result.ptr);
}

std::string LabelValue(const std::string& text) {
  std::string escaped;
  for (const char c : text) {
    if (c == '\\' || c == '"') escaped += '\\';
    if (c == '\n') {
      escaped += "\\n";
      continue;
    }
    escaped += c;
  }
  return escaped;
}

std::vector<SeriesKey> SeriesKeys(const MetricFamily& family, const HostMetrics& m) {
  std::vector<SeriesKey> keys;
  if (family.label == nullptr) {
    keys.push_back({});
  } else if (&family == &kRouterFamily) {
    for (const auto& [router, count] : m.routers) keys.push_back({router, 0});
  } else {
    for (const auto& [error, count] : &family == &kNotSentFamily ? m.not_sent : m.failures) {
      keys.push_back({std::to_string(error), error});
    }
  }
  return keys;
}

double SeriesValue(const MetricFamily& family, const HostMetrics& m, const SeriesKey& key) {
  const auto count = [](const auto& by_key, const auto& k) {
    const auto found = by_key.find(k);
    return found == by_key.end() ? 0.0 : static_cast<double>(found->second);
  };
  if (&family == &kCyclesFamily) return static_cast<double>(m.requests.cycles);
  if (&family == &kRequestsFamily) return static_cast<double>(m.requests.sent);
  if (&family == &kRepliesFamily) return static_cast<double>(m.requests.received);
  if (&family == &kLastCycleFamily) return static_cast<double>(m.last_cycle);
  if (&family == &kNotSentFamily) return count(m.not_sent, key.error);
  if (&family == &kRouterFamily) return count(m.routers, key.text);
  if (&family == &kFailuresFamily) return count(m.failures, key.error);
  return 0;
}

std::string HostLabels(const std::string& host, const Address& target) {
  const std::string address =
      !host.empty() && host[0] >= '0' && host[0] <= '9' ? host : FormatAddress(target);
  return "host=\"" + LabelValue(host) + "\",address=\"" + LabelValue(address) + "\"";
}

}  // namespace pinglog::report
