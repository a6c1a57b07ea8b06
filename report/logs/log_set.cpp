#include "report/logs/log_set.h"

#include <algorithm>

namespace pinglog::report {

bool ParseEntry(std::string_view line, Entry& entry, std::string_view& host, LineMemory* memory) {
  const std::optional<LogLine> parsed = ParseLogLine(line, memory);
  if (!parsed) return false;
  entry.time = parsed->time;
  entry.target = parsed->target;
  entry.attempts = parsed->attempts;
  host = parsed->host;
  return true;
}

void EntryReader::Take(std::string_view line) {
  ++line_number_;
  Entry entry;
  std::string_view host;
  if (!ParseEntry(line, entry, host, &memory_)) {
    ++logs_.unparsed_count;
    if (logs_.unparsed.size() < LogSet::kUnparsedKept) {
      logs_.unparsed.push_back({file_, line_number_});
    }
    return;
  }
  entry.host = HostIndex(host);
  entry.file = file_;
  entry.line = static_cast<std::uint32_t>(line_number_);
  logs_.entries.push_back(entry);
  ++entries_;
}

std::uint32_t FindOrAddHost(LogSet& logs, std::string_view host) {
  const auto found = logs.host_indexes.find(host);
  if (found != logs.host_indexes.end()) return found->second;
  const auto index = static_cast<std::uint32_t>(logs.hosts.size());
  logs.hosts.emplace_back(host);
  logs.host_indexes.emplace(host, index);
  return index;
}

std::uint32_t EntryReader::HostIndex(std::string_view host) {
  if (last_host_ < logs_.hosts.size() && logs_.hosts[last_host_] == host) return last_host_;
  last_host_ = FindOrAddHost(logs_, host);
  return last_host_;
}

bool SameMeasurement(const Entry& a, const Entry& b) {
  if (a.time != b.time || a.host != b.host || a.target != b.target) return false;
  for (std::size_t i = 0; i < a.attempts.size(); ++i) {
    const Attempt& x = a.attempts[i];
    const Attempt& y = b.attempts[i];
    if (x.outcome != y.outcome || x.ttl != y.ttl || x.bytes != y.bytes || x.time_ms != y.time_ms ||
        x.source() != y.source() || x.error() != y.error()) {
      return false;
    }
  }
  return true;
}

namespace {

using Index = std::uint32_t;

// Before in the order the report keeps: by host (as first read), then by time.
bool Before(const EntryStore& entries, std::size_t a, std::size_t b) {
  const std::uint32_t host_a = entries.HostAt(a), host_b = entries.HostAt(b);
  return host_a != host_b ? host_a < host_b : entries.TimeAt(a) < entries.TimeAt(b);
}

// The entries' indexes grouped by host, each host's in the order read (a count per
// host, then each index put in its host's place).
std::vector<Index> ByHost(const EntryStore& entries, std::size_t hosts) {
  std::vector<Index> place(hosts + 1, 0);
  for (std::size_t i = 0; i < entries.size(); ++i) ++place[entries.HostAt(i) + 1];
  for (std::size_t h = 1; h < place.size(); ++h) place[h] += place[h - 1];
  std::vector<Index> order(entries.size());
  for (std::size_t i = 0; i < entries.size(); ++i) order[place[entries.HostAt(i)]++] = Index(i);
  return order;
}

// Merges the runs of `order` (each in the order Before() gives, between `bounds`),
// pair by pair and round by round, each keeping the earlier run's entries first among
// those alike.
void MergeRuns(const EntryStore& entries, std::vector<Index>& order,
               std::vector<std::size_t> bounds) {
  std::vector<Index> merged(order.size());
  const auto before = [&](Index a, Index b) { return Before(entries, a, b); };
  while (bounds.size() > 2) {
    const std::size_t runs = bounds.size() - 1;
    std::vector<std::size_t> merged_bounds = {0};
    for (std::size_t r = 0; r < runs; r += 2) {
      const auto at = [&](std::size_t k) { return static_cast<std::ptrdiff_t>(bounds[k]); };
      const std::size_t end = std::min(r + 2, runs);
      std::merge(order.begin() + at(r), order.begin() + at(r + 1), order.begin() + at(r + 1),
                 order.begin() + at(end), merged.begin() + at(r), before);
      merged_bounds.push_back(bounds[end]);
    }
    order.swap(merged);
    bounds = std::move(merged_bounds);
  }
}

}  // namespace

void SortByHostAndTime(LogSet& logs) {
  EntryStore& entries = logs.entries;
  // Logs of one host each, in time order (the usual case), are so already. Otherwise
  // the entries are grouped by host and each host's runs in time order (a log as the
  // logger wrote it is one, and each step of its clock back begins another) merged,
  // not sorted: the order is found by indexes (four bytes an entry, where moving
  // entries to merge them would need room for half of them), and each entry then
  // moved once.
  bool in_order = true;
  for (std::size_t i = 1; i < entries.size() && in_order; ++i) {
    in_order = !Before(entries, i, i - 1);
  }
  if (in_order) return;
  std::vector<Index> order = ByHost(entries, logs.hosts.size());
  std::vector<std::size_t> bounds = {0};
  for (std::size_t i = 1; i < order.size(); ++i) {
    if (Before(entries, order[i], order[i - 1])) bounds.push_back(i);
  }
  bounds.push_back(order.size());
  MergeRuns(entries, order, std::move(bounds));
  entries.Arrange(order);
}

}  // namespace pinglog::report
