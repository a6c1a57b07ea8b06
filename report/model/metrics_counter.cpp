#include "report/model/metrics_counter.h"

#include "support/safe_text.h"

namespace pinglog::report {

void MetricsCounter::Count(const Entry& entry, const std::string& host, const std::string& name) {
  HostCount& count = hosts_[entry.host];
  if (count.host.empty()) {
    count.host = SafeText(host);  // a label that spoils no textfile
    count.name = SafeText(name);
  }
  // The entry's own time, also when it lies before the one before (a clock set back):
  // the latest cycle is the one logged last.
  std::optional<std::int64_t> unix_time = zone_.NextInLog(entry.time, count.last);
  if (!unix_time) unix_time = zone_.ToUnix(entry.time, INT64_MIN);
  if (unix_time) count.last = *unix_time;
  count.metrics.Add(entry, count.last);
  if (names_ != nullptr && count.named_at != count.metrics.address_changes) Name(count);
}

void MetricsCounter::Name(HostCount& count) const {
  const HostNames::Mapping* mapping = names_->Find(count.host, count.metrics.address);
  count.name = mapping == nullptr ? "" : SafeText(mapping->name);
  count.named_at = count.metrics.address_changes;
}

void MetricsCounter::Rename(const HostNames* names) {
  names_ = names;
  for (auto& [index, count] : hosts_) {
    if (names_ == nullptr) {
      count.name.clear();
    } else {
      Name(count);
    }
  }
}

MetricsCounter CountMetrics(const Report& report, const ZoneTime& zone) {
  MetricsCounter counter(zone);
  for (const HostReport& host : report.hosts) {
    for (const Entry& entry : host.entries) {
      counter.Count(entry, host.summary.host, host.summary.name);
    }
  }
  return counter;
}

}  // namespace pinglog::report
