// A host's summary in words: a heading per fact with its lines ("Period",
// "Outages", ...), and the day (or hour) table's cells; the terminal and the page
// lay out the same words.
#pragma once

#include <string>
#include <vector>

#include "report/summary.h"

namespace pinglog::report {

struct Fact {
  std::string heading;
  std::vector<std::string> lines;  // none: "none"; a line's leading spaces indent it
};

std::vector<Fact> SummaryFacts(const HostSummary& summary, const std::vector<std::string>& files);

// The day (or hour) table: a header row, then one row of cells per period.
std::vector<std::vector<std::string>> PeriodTable(const HostSummary& summary);

// The period from the first entry to the end of the last one's cycle: 20 cycles a
// minute apart cover 20 minutes.
std::int64_t CoveredSeconds(const HostSummary& summary);

}  // namespace pinglog::report
