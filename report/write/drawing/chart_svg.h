// One host's chart as SVG, smoke-style: per time bucket the spread of the round trips
// as shaded bands (minimum to maximum, 10th to 90th, 25th to 75th percentile) and the
// median as a line coloured by the bucket's loss; the scale ends just above the bulk
// of the round trips, with marks pinned at the top for what lies above; natural time
// ticks and a line at the start of each day; gaps and outages shaded, each with its
// start, end and length on hover; loss marks under the axis.
#pragma once

#include <ostream>
#include <string>
#include <string_view>

#include "report/model/chart_model.h"

namespace pinglog::report {

// The chart's classes of the loss levels, in their order: the page's script is
// handed them too.
inline constexpr const char* kLossClasses[] = {"loss-none", "loss-little", "loss-much",
                                               "loss-total"};
inline const char* LossClass(const Requests& requests) {
  return kLossClasses[static_cast<int>(LossLevelOf(requests))];
}

void WriteChart(std::ostream& out, const HostReport& host, const ChartOptions& options);
// The chart's empty frame, the same size, for the page's script to draw into when it
// comes into view.
void WriteChartFrame(std::ostream& out);

// "Outage: 21.03.2021 10:00:00 to 21.03.2021 10:20:00 (20 min)", with why it ended
// where it has no answered cycle: the hover text of an outage, here and in the script.
std::string OutageTitle(const Outage& outage);

}  // namespace pinglog::report
