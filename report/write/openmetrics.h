// The history for Prometheus: every family as OpenMetrics text that promtool's
// backfill takes as it is. Per series one sample per distinct second of the logged
// cycles, counters cumulative from the first entry; written family by family, series
// by series, counting again for each, so that memory does not grow with the output.
#pragma once

#include <cstdint>
#include <ostream>

#include "report/model/report.h"
#include "report/model/zone_time.h"
#include "report/write/exposition.h"

namespace pinglog::report {

// Each host's entries are taken in the order of the logs, which resolves a repeated
// hour; `labels` go on every series (those a live scrape adds: job, instance). Returns
// the number of entries whose time went backwards: their counts went into the next
// sample that could be stored.
std::int64_t WriteOpenMetrics(std::ostream& out, const Report& report, const ZoneTime& zone,
                              const ExtraLabels& labels = {});

}  // namespace pinglog::report
