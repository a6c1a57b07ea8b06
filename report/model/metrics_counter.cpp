#include "report/model/metrics_counter.h"

#include "support/safe_text.h"

namespace pinglog::report {

void MetricsCounter::Count(const Entry& entry, const std::string& host, const std::string& name) {
  HostCount& count = hosts_[entry.host];
  if (count.host.empty()) {
    count.host = SafeText(host);  // a label that spoils no textfile
    count.name = SafeText(name);
  }
  const auto unix_time = zone_.NextInLog(entry.time, count.last);
  if (unix_time) count.last = *unix_time;  // a clock stepped back keeps the latest time
  count.metrics.Add(entry, count.last);
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
