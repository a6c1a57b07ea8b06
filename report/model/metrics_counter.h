// The live counters of every host, cycle by cycle: the one counting behind a
// textfile written once and one rewritten while following logs.
#pragma once

#include <cstdint>
#include <map>
#include <string>

#include "report/model/metrics.h"
#include "report/model/report.h"
#include "report/model/zone_time.h"

namespace pinglog::report {

struct HostCount {
  std::string host;
  std::string name;  // what the reader calls it (--name), or ""
  HostMetrics metrics;
  std::int64_t last = INT64_MIN;  // Unix time of the latest entry
};

class MetricsCounter {
 public:
  explicit MetricsCounter(const ZoneTime& zone) : zone_(zone) {}

  // Adds one cycle of the host named `host` (a host's entries in the order of its log),
  // whom the reader calls `name` ("": no name).
  void Count(const Entry& entry, const std::string& host, const std::string& name = "");

  // By the host's number in its set of logs: the order the hosts first appeared in.
  const std::map<std::uint32_t, HostCount>& hosts() const { return hosts_; }

 private:
  const ZoneTime& zone_;
  std::map<std::uint32_t, HostCount> hosts_;
};

// Every entry of the report counted, host by host in time order.
MetricsCounter CountMetrics(const Report& report, const ZoneTime& zone);

}  // namespace pinglog::report
