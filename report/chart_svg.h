// One host's chart as SVG, smoke-style: per time bucket the spread of the round trips
// as shaded bands (minimum to maximum, 10th to 90th, 25th to 75th percentile) and the
// median as a line coloured by the bucket's loss; the scale ends just above the bulk
// of the round trips, with marks pinned at the top for what lies above; natural time
// ticks and a line at the start of each day; gaps and outages shaded, each with its
// start, end and length on hover; loss marks under the axis.
#pragma once

#include <ostream>
#include <vector>

#include "report/summary.h"

namespace pinglog::report {

struct ChartOptions {
  int max_ms = 0;  // the scale's top; 0: just above the bulk
  // The time axis, from its first second to the one after its last; both 0: the
  // host's own entries (and the last one's period).
  CalendarTime axis_start = 0, axis_end = 0;
};

// One time axis for several hosts' charts: from the first entry of any to the end of
// the last one's period.
ChartOptions SharedAxis(const std::vector<HostSummary>& summaries, ChartOptions options);

// The chart's look, for a page and for a chart standing alone.
extern const char* const kChartStyle;

void WriteChart(std::ostream& out, const HostSummary& summary,
                const std::vector<const Entry*>& entries, const ChartOptions& options);

// Text for HTML and SVG: & < > " escaped.
std::string Html(std::string_view text);

}  // namespace pinglog::report
