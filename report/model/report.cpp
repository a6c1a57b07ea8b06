#include "report/model/report.h"

#include <map>
#include <set>

#include "report/model/degradations.h"
#include "report/model/episodes.h"
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

// Gives each host the name the reader calls it by (by its text or its address); returns
// the hosts named that no log holds, and says where a host is named both ways.
std::vector<std::string> NameHosts(std::vector<HostReport>& hosts, const HostNames& names,
                                   std::vector<std::string>& warnings) {
  std::set<const HostNames::Mapping*> used;
  for (HostReport& h : hosts) {
    const std::string address = FormatAddress(h.summary.target);
    const HostNames::Mapping* by_text = names.Of(h.summary.host);
    const HostNames::Mapping* by_address = address == h.summary.host ? nullptr : names.Of(address);
    used.insert({by_text, by_address});
    const HostNames::Mapping* chosen = names.Find(h.summary.host, address);
    if (chosen != nullptr) h.summary.name = SafeText(chosen->name);
    if (by_text != nullptr && by_address != nullptr) {
      const bool text_first = by_text->order < by_address->order;
      warnings.push_back(NamedTwice(h.summary.host + " (" + address + ")",
                                    text_first ? *by_text : *by_address, *chosen));
    }
  }
  std::vector<std::string> unknown;
  for (const HostNames::Mapping* mapping : names.All()) {
    if (used.count(mapping) == 0) unknown.push_back(mapping->host);
  }
  return unknown;
}

// Each host's entries, ordered by host and time: the run of them that lies together.
std::map<std::uint32_t, EntryList> EntriesByHost(const EntryStore& entries) {
  std::map<std::uint32_t, EntryList> by_host;
  for (std::size_t first = 0, end = 0; first < entries.size(); first = end) {
    const std::uint32_t host = entries.HostAt(first);
    while (end < entries.size() && entries.HostAt(end) == host) ++end;
    by_host[host] = EntryList(entries, first, end - first);
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
  SortByHostAndTime(report.logs);    // as they are when loaded: then a check
  for (const auto& [files, count] : report.logs.duplicates) report.duplicates_dropped += count;
  std::map<std::uint32_t, EntryList> by_host = EntriesByHost(report.logs.entries);
  report.hosts.reserve(by_host.size());
  for (auto& [host, entries] : by_host) {
    HostSummary summary =
        Summarize(report.logs.hosts[host], entries, options.summary, report.logs.clock_jumps);
    report.hosts.push_back({std::move(summary), std::move(entries)});
    HostReport& added = report.hosts.back();
    added.summary.worst_hours = WorstHoursOf(added);
    FindDegradations(added, added.summary.usual, added.summary.degradations);
    if (by_host.size() > 1) added.summary.hops = HopsOf(added.entries);
  }
  report.unknown_names = NameHosts(report.hosts, options.names, report.name_warnings);
  report.unknown_path = OrderHosts(report.hosts, options.path);
  report.incidents_sought = options.incidents && report.hosts.size() > 1;
  if (report.incidents_sought) {
    report.incidents = FindIncidents(report.hosts);
    report.episodes = FindEpisodes(report.hosts);
  }
  ExplainGaps(report.incidents, report.hosts);
  for (std::size_t h = 0; h < report.hosts.size(); ++h) {
    report.hosts[h].summary.unobserved_in_incidents = UnobservedInIncidents(report.incidents, h);
  }
  return report;
}

}  // namespace pinglog::report
