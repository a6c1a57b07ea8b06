// The live numbers for node_exporter's textfile collector: every family in the
// Prometheus text format, the counters as they stand now, without time stamps.
#pragma once

#include <ostream>
#include <string>
#include <vector>

#include "report/metrics.h"

namespace pinglog::report {

struct LabelledMetrics {
  std::string labels;  // HostLabels()
  HostMetrics metrics;
};

void WriteTextfile(std::ostream& out, const std::vector<LabelledMetrics>& hosts);

}  // namespace pinglog::report
