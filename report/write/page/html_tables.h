// The page's tables: the overview of all hosts (each row linking to the host's
// section, "#host-N"), and a host's summary and day (or hour) table.
#pragma once

#include <ostream>
#include <string>
#include <vector>

#include "report/model/report.h"

namespace pinglog::report {

void WriteOverviewTable(std::ostream& out, const Report& report);
void WriteSummaryTables(std::ostream& out, const HostSummary& summary,
                        const std::vector<std::string>& files);

}  // namespace pinglog::report
