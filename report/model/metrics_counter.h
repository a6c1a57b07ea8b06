// The live counters of every host, cycle by cycle: the one counting behind a
// textfile written once and one rewritten while following logs.
#pragma once

#include <cstdint>
#include <map>
#include <string>

#include "report/model/host_names.h"
#include "report/model/metrics.h"
#include "report/model/report.h"
#include "report/model/zone_time.h"

namespace pinglog::report {

struct HostCount {
  std::string host;
  std::string name;  // what the reader calls it (--name), or ""
  HostMetrics metrics;
  std::int64_t last = INT64_MIN;  // Unix time of the latest entry, in the log's order
  std::int64_t named_at = -1;     // metrics.address_changes when it was named
};

class MetricsCounter {
 public:
  // With `names`, each host is named by its text or its latest address, as the report
  // names it; without, by the name Count is given.
  explicit MetricsCounter(const ZoneTime& zone, const HostNames* names = nullptr)
      : zone_(zone), names_(names) {}

  // Adds one cycle of the host named `host` (a host's entries in the order of its log),
  // whom the reader calls `name` ("": no name).
  void Count(const Entry& entry, const std::string& host, const std::string& name = "");

  // Names every host anew from these names (read again).
  void Rename(const HostNames* names);

  // By the host's number in its set of logs: the order the hosts first appeared in.
  const std::map<std::uint32_t, HostCount>& hosts() const { return hosts_; }

 private:
  void Name(HostCount& count) const;

  const ZoneTime& zone_;
  const HostNames* names_;
  std::map<std::uint32_t, HostCount> hosts_;
};

// Every entry of the report counted, host by host in time order.
MetricsCounter CountMetrics(const Report& report, const ZoneTime& zone);

}  // namespace pinglog::report
