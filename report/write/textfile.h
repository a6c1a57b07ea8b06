// The live numbers for node_exporter's textfile collector: every family in the
// Prometheus text format, the counters as they stand now, without time stamps.
#pragma once

#include <ostream>

#include "report/model/metrics_counter.h"

namespace pinglog::report {

void WriteTextfile(std::ostream& out, const MetricsCounter& counts);

}  // namespace pinglog::report
