// The logs' numbers as Prometheus metrics: one set of families, counted per host from
// the same cycle counting as the summary, for the OpenMetrics history and the live
// textfile alike.
#pragma once

#include <array>
#include <cstdint>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "report/logs/log_set.h"
#include "report/model/cycle_counts.h"

namespace pinglog::report {

// Upper bounds of the round-trip histogram, in seconds: network latency from 1 ms to
// the echo time-out and beyond.
inline constexpr std::array<double, 12> kRttBuckets = {0.001, 0.0025, 0.005, 0.01, 0.025, 0.05,
                                                       0.1,   0.25,   0.5,   1,    2.5,   5};

enum class MetricType { kCounter, kGauge, kHistogram };

struct MetricFamily {
  const char* name;  // without _total for counters
  MetricType type;
  const char* label;  // the family's own label beside host, or nullptr
  const char* help;
  const char* unit = nullptr;  // OpenMetrics' unit, or nullptr
};

inline constexpr MetricFamily kCyclesFamily = {"pinglog_cycles", MetricType::kCounter, nullptr,
                                               "Logged cycles."};
inline constexpr MetricFamily kRequestsFamily = {"pinglog_requests", MetricType::kCounter, nullptr,
                                                 "Echo requests sent."};
inline constexpr MetricFamily kNotSentFamily = {
    "pinglog_not_sent", MetricType::kCounter, "error",
    "Echo requests that never left the machine (5 no permission, 1214 invalid destination)."};
inline constexpr MetricFamily kRepliesFamily = {"pinglog_replies", MetricType::kCounter, nullptr,
                                                "Replies from the target."};
inline constexpr MetricFamily kRouterFamily = {
    "pinglog_router_replies", MetricType::kCounter, "router",
    "Reports from a router instead of the target (bytes = 0)."};
inline constexpr MetricFamily kFailuresFamily = {
    "pinglog_failures", MetricType::kCounter, "error",
    "Sent echo requests that failed, by the echo service's error number."};
inline constexpr MetricFamily kRttFamily = {"pinglog_rtt_seconds", MetricType::kHistogram, nullptr,
                                            "Round trips of replies from the target.", "seconds"};
inline constexpr MetricFamily kLastCycleFamily = {
    "pinglog_last_cycle_timestamp_seconds", MetricType::kGauge, nullptr,
    "Unix time of the latest logged cycle.", "seconds"};
inline constexpr MetricFamily kUnansweredFamily = {
    "pinglog_unanswered_cycles", MetricType::kGauge, nullptr,
    "Cycles in a row, up to the latest, that sent requests and got no reply (0: the latest "
    "was answered); cycles that sent nothing change nothing."};
// The host's address as it was last looked up: one series per address, 1 while it is
// the current one, so that a new address does not split the counters.
inline constexpr MetricFamily kTargetInfoFamily = {
    "pinglog_target_info", MetricType::kGauge, "address",
    "The address the host's requests go to (1 while current)."};

inline constexpr std::array<const MetricFamily*, 10> kMetricFamilies = {
    &kCyclesFamily,   &kRequestsFamily, &kNotSentFamily,   &kRepliesFamily,    &kRouterFamily,
    &kFailuresFamily, &kRttFamily,      &kLastCycleFamily, &kUnansweredFamily, &kTargetInfoFamily};

// The parts of the counters a family's samples read: a walk through a host's history
// for one family counts only those (the OpenMetrics history walks it once a series).
struct MetricParts {
  bool requests = true;     // cycles, requests, replies; the cycles unanswered
  bool round_trips = true;  // the histogram
  bool target = true;       // the address
  bool attempts = true;     // failures, requests not sent, routers' replies
  bool last_cycle = true;
  bool changes = false;  // which labelled series each cycle changed (HostMetrics::changed)
};
MetricParts PartsOf(const MetricFamily& family);

// A series of a family beside the histogram: its own label's value ("" for none).
struct SeriesKey {
  std::string text;
  std::uint32_t error = 0;  // the same, as a number, for the error label
};

// One host's counters, cumulative.
struct HostMetrics {
  Requests requests;  // cycles, sent, received, router, not_sent: the summary's counting
  std::map<std::uint32_t, std::int64_t> failures, not_sent;  // by error number
  std::map<std::string, std::int64_t> routers;               // by router address
  std::int64_t rtt_count = 0;
  std::int64_t rtt_sum_ms = 0;
  std::int64_t last_cycle = 0;  // Unix seconds
  std::int64_t unanswered = 0;  // cycles in a row that sent requests and got no reply
  std::string address;          // where the latest cycle's requests went
  std::set<std::string> addresses;
  std::int64_t address_changes = 0;  // how often `address` changed
  // The labelled series the cycles added since it was last cleared changed, when the
  // parts ask for them: a history samples such a series only where it changes.
  struct Change {
    const MetricFamily* family = nullptr;
    SeriesKey key;
  };
  std::vector<Change> changed;

  // Adds one cycle, logged at the given Unix time (only the parts given).
  void Add(const Entry& entry, std::int64_t unix_time, const MetricParts& parts = {});

  // The histogram's buckets, cumulative: the round trips of at most each bound.
  std::array<std::int64_t, kRttBuckets.size()> Buckets() const;

 private:
  // Failures, requests not sent, routers' replies.
  void AddAttempts(const Entry& entry, bool note_changes);

  Address target_{};  // `address` as bytes
  // The round trips above the bound before and at most this one (the last: above all).
  std::array<std::int64_t, kRttBuckets.size() + 1> within_{};
};

// The series a host has so far, and the value of one (none: no sample now).
std::vector<SeriesKey> SeriesKeys(const MetricFamily& family, const HostMetrics& metrics);
std::optional<std::int64_t> SeriesValue(const MetricFamily& family, const HostMetrics& metrics,
                                        const SeriesKey& key);

}  // namespace pinglog::report
