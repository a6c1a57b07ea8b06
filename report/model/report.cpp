#include "report/model/report.h"

#include <map>
#include <set>
#include <stdexcept>

#include "report/model/heat_map.h"
#include "report/model/incidents.h"
#include "report/model/path_order.h"
#include "report/model/worst_hours.h"
#include "support/safe_text.h"
#include "support/text.h"

namespace pinglog::report {
namespace {

// Names as every output shows them: safe anywhere, and still one per name (two that
// differ only in bytes that are no UTF-8 show those bytes rather than one mark).
std::vector<std::string> ShownNames(const std::vector<std::string>& names) {
  std::vector<std::string> shown;
  std::multiset<std::string> seen;
  for (const std::string& name : names) seen.insert(shown.emplace_back(SafeText(name)));
  for (std::size_t i = 0; i < names.size(); ++i) {
    if (seen.count(shown[i]) > 1) shown[i] = SafeText(names[i], true);
  }
  return shown;
}

// Gives each host the name the reader calls it by; returns the hosts named that no log
// holds.
std::vector<std::string> NameHosts(std::vector<HostReport>& hosts,
                                   const std::vector<std::pair<std::string, std::string>>& names) {
  std::vector<std::string> unknown;
  for (const auto& [host, name] : names) {
    bool found = false;
    for (HostReport& h : hosts) {
      if (host != h.summary.host && host != FormatAddress(h.summary.target)) continue;
      h.summary.name = SafeText(name);
      found = true;
    }
    if (!found) unknown.push_back(host);
  }
  return unknown;
}

// Each host's entries: where they lie together (a host's own logs), as that run of
// them; else by their positions among the others.
std::map<std::uint32_t, EntryList> EntriesByHost(const LogSet& logs) {
  const std::vector<Entry>& entries = logs.entries;
  if (entries.size() > UINT32_MAX) throw std::length_error("too many entries for one report");
  // Per host: where its entries begin and end in the set, and how many there are.
  struct Run {
    std::size_t first, end, count;
    bool Together() const { return end - first == count; }
  };
  std::vector<Run> runs(logs.hosts.size());
  for (std::size_t i = 0; i < entries.size(); ++i) {
    Run& run = runs[entries[i].host];
    if (run.count++ == 0) run.first = i;
    run.end = i + 1;
  }
  std::vector<std::vector<std::uint32_t>> positions(runs.size());
  for (std::size_t host = 0; host < runs.size(); ++host) {
    if (!runs[host].Together()) positions[host].reserve(runs[host].count);
  }
  for (std::size_t i = 0; i < entries.size(); ++i) {
    const Run& run = runs[entries[i].host];
    if (!run.Together()) positions[entries[i].host].push_back(static_cast<std::uint32_t>(i));
  }
  std::map<std::uint32_t, EntryList> by_host;
  for (std::uint32_t host = 0; host < runs.size(); ++host) {
    const Run& run = runs[host];
    if (run.count == 0) continue;
    by_host[host] = run.Together() ? EntryList(&entries[run.first], run.count)
                                   : EntryList(entries.data(), std::move(positions[host]));
  }
  return by_host;
}

}  // namespace

Report BuildReport(LogSet logs, const ReportOptions& options) {
  Report report;
  report.logs = std::move(logs);
  report.logs.hosts = ShownNames(report.logs.hosts);
  report.logs.files = ShownNames(report.logs.files);
  report.logs.host_indexes.clear();  // by the names as read: done with
  for (const auto& [files, count] : report.logs.duplicates) report.duplicates_dropped += count;
  std::map<std::uint32_t, EntryList> by_host = EntriesByHost(report.logs);
  report.hosts.reserve(by_host.size());
  for (auto& [host, entries] : by_host) {
    HostSummary summary =
        Summarize(report.logs.hosts[host], entries, options.summary, report.logs.clock_jumps);
    report.hosts.push_back({std::move(summary), std::move(entries)});
    HostReport& added = report.hosts.back();
    added.summary.worst_hours = WorstHoursOf(added);
    if (by_host.size() > 1) added.summary.hops = HopsOf(added.entries);
  }
  report.unknown_names = NameHosts(report.hosts, options.names);
  report.unknown_path = OrderHosts(report.hosts, options.path);
  report.incidents_sought =
      options.incidents && report.hosts.size() > 1 && report.hosts.size() <= kMostHostsForIncidents;
  if (report.incidents_sought) report.incidents = FindIncidents(report.hosts);
  ExplainGaps(report.incidents, report.hosts);
  for (std::size_t h = 0; h < report.hosts.size(); ++h) {
    report.hosts[h].summary.unobserved_in_incidents = UnobservedInIncidents(report.incidents, h);
  }
  return report;
}

}  // namespace pinglog::report
