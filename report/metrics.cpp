#include "report/metrics.h"

#include <charconv>

#include "report/summary.h"
#include "support/text.h"

namespace pinglog::report {

void HostMetrics::Add(const Entry& entry, std::int64_t unix_time) {
  times_.clear();
  CountCycle(entry, requests, times_);
  for (const int ms : times_) {
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

std::string Seconds(std::int64_t milliseconds) {
  std::string text = std::to_string(milliseconds / 1000);
  const auto fraction = static_cast<int>(milliseconds % 1000);
  if (fraction == 0) return text;
  char digits[4] = {static_cast<char>('0' + fraction / 100),
                    static_cast<char>('0' + fraction / 10 % 10),
                    static_cast<char>('0' + fraction % 10), '\0'};
  std::string decimals = digits;
  while (decimals.back() == '0') decimals.pop_back();
  return text + '.' + decimals;
}

std::int64_t SeriesValue(const MetricFamily& family, const HostMetrics& m, const SeriesKey& key) {
  const auto count = [](const auto& by_key, const auto& k) -> std::int64_t {
    const auto found = by_key.find(k);
    return found == by_key.end() ? 0 : found->second;
  };
  if (&family == &kCyclesFamily) return m.requests.cycles;
  if (&family == &kRequestsFamily) return m.requests.sent;
  if (&family == &kRepliesFamily) return m.requests.received;
  if (&family == &kLastCycleFamily) return m.last_cycle;
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
