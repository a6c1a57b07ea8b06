// The page's tables: the overview of all hosts (each row linking to the host's
// section, "#host-N"), and a host's summary and day (or hour) table.
#pragma once

#include <cstddef>
#include <ostream>
#include <string>
#include <vector>

#include "report/model/chart_model.h"
#include "report/model/report.h"

namespace pinglog::report {

// With more hosts than this the page is a fleet's: it carries each host's section as
// inert text and its chart as the data it is drawn from alone, and its script builds
// the section and draws the chart when it comes near the view; the strips are compact
// and coarser, titled by the script when hovered, their later rows put in place when
// scrolled to. A host then costs the page about what its entries pack to (a day of
// one-minute cycles, 7 kB), not a drawn chart (300 kB whatever its span), and a
// fleet's page opens: the browser parses inert text several times faster than it
// builds what the text describes.
inline constexpr std::size_t kHostsDrawnAhead = 10;
// Such a page's strips have at most this many buckets (a day's: a quarter of an hour).
inline constexpr std::int64_t kFleetStripBuckets = 100;

void WriteOverviewTable(std::ostream& out, const Report& report);

// With more than one host: a row per incident, when (a link that zooms every chart to
// it, with a margin either side), how long, what it points to and the hosts down or
// without entries; then the hosts' strips on the axis.
void WriteIncidents(std::ostream& out, const Report& report, const ChartOptions& axis);

// "#from=2021-03-07T21:00&to=2021-03-08T00:00": the address of a period, to the minute.
std::string PeriodAddress(std::int64_t from, std::int64_t to);
void WriteSummaryTables(std::ostream& out, const HostSummary& summary,
                        const std::vector<std::string>& files);

}  // namespace pinglog::report
