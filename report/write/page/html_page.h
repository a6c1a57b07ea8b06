// The self-contained page: an overview of all hosts, then per host a heading, the
// chart and the summary tables; the script zooms the charts, from every cycle the
// page carries and the chart's own rules, which the page hands it.
#pragma once

#include <ostream>

#include "report/model/chart_model.h"

namespace pinglog::report {

void WriteHtml(std::ostream& out, const Report& report, const ChartOptions& options);

}  // namespace pinglog::report
