// The one model every output reads: the logs' own facts and, per host, its summary
// (outages and gaps among them) and its entries in time order.
#pragma once

#include <cstdint>
#include <vector>

#include "report/logs/entry_list.h"
#include "report/logs/log_set.h"
#include "report/model/episode.h"
#include "report/model/host_names.h"
#include "report/model/incident.h"
#include "report/model/summary.h"

namespace pinglog::report {

struct HostReport {
  HostSummary summary;
  EntryList entries;  // in time order; they point into Report::logs
};

struct Report {
  Report() = default;
  Report(const Report&) = delete;  // the hosts' entries point into `logs`
  Report& operator=(const Report&) = delete;
  Report(Report&&) = default;
  Report& operator=(Report&&) = default;

  // Files, hosts, entries, lines not parsed, clock jumps, duplicates; the names of the
  // files and hosts made safe to show in any output (SafeText).
  LogSet logs;
  std::int64_t duplicates_dropped = 0;
  std::vector<HostReport> hosts;  // in path order (OrderHosts): the nearest first
  // With more than one host, logged on one machine: their outages and gaps taken
  // together, by time.
  std::vector<Incident> incidents;
  // With more than one host: their stretches of degradation taken together, by time.
  std::vector<Episode> episodes;
  bool incidents_sought = false;           // more than one host, and not --no-incidents
  std::vector<std::string> unknown_path;   // names in --path that no host has
  std::vector<std::string> unknown_names;  // hosts in --name that no log holds
  std::vector<std::string> name_warnings;  // hosts named by their text and by their address
  // The zone the logs' times were taken in, as far as the report knows it ("": not
  // known), and whether it was given (--tz) or is this machine's.
  std::string zone;
  bool zone_given = false;
  // When the report was made ("08.12.2026 14:05"), for a printed page's footer.
  std::string made;
};

struct ReportOptions {
  SummaryOptions summary;
  // --path, each a chain of hosts nearest first: where the hosts lie (OrderHosts).
  std::vector<std::vector<std::string>> path;
  // --name HOST=NAME, --names FILE: what the reader calls a host (given as the log
  // names it, or by its address).
  HostNames names;
  bool incidents = true;  // off for logs gathered from several machines
};

// The report of logs that are read and cleared of duplicates; their entries are put in
// order (SortByHostAndTime) where they are not yet.
Report BuildReport(LogSet logs, const ReportOptions& options);

}  // namespace pinglog::report
