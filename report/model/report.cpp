#include "report/model/report.h"

#include <map>

#include "report/model/heat_map.h"

namespace pinglog::report {

Report BuildReport(LogSet logs, const SummaryOptions& options) {
  Report report;
  report.logs = std::move(logs);
  for (const auto& [files, count] : report.logs.duplicates) report.duplicates_dropped += count;
  std::map<std::uint16_t, std::vector<const Entry*>> by_host;
  for (const Entry& entry : report.logs.entries) by_host[entry.host].push_back(&entry);
  for (auto& [host, entries] : by_host) {
    HostSummary summary =
        Summarize(report.logs.hosts[host], entries, options, report.logs.clock_jumps);
    report.hosts.push_back({std::move(summary), std::move(entries)});
    report.hosts.back().summary.worst_hours = WorstHoursOf(BuildHeatMap(report.hosts.back()));
  }
  return report;
}

}  // namespace pinglog::report
