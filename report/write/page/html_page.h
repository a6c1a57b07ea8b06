// The self-contained page: an overview of all hosts, then per host a heading, the
// chart and the summary tables; the script zooms the charts, from every cycle the
// page carries (at its levels of detail) and the chart's own rules, which the page hands it.
#pragma once

#include <ostream>

#include "report/model/chart_model.h"
#include "report/write/page/detail_levels.h"

namespace pinglog::report {

// With PageDetail::kLevels the page carries every cycle of about the last ten days and
// consolidated buckets before them (detail_levels.h); kEveryCycle, all cycles.
void WriteHtml(std::ostream& out, const Report& report, const ChartOptions& options,
               PageDetail detail = PageDetail::kLevels);

}  // namespace pinglog::report
