#include "report/logs/log_set.h"

#include <algorithm>

namespace pinglog::report {

void EntryReader::Take(std::string_view line) {
  ++line_number_;
  const std::optional<LogLine> parsed = ParseLogLine(line);
  if (!parsed) {
    ++logs_.unparsed_count;
    if (logs_.unparsed.size() < LogSet::kUnparsedKept) {
      logs_.unparsed.push_back({file_, line_number_});
    }
    return;
  }
  Entry entry;
  entry.time = parsed->time;
  entry.host = HostIndex(parsed->host);
  entry.file = file_;
  entry.line = static_cast<std::uint32_t>(line_number_);
  entry.target = parsed->target;
  entry.attempts = parsed->attempts;
  logs_.entries.push_back(entry);
  ++entries_;
}

std::uint32_t EntryReader::HostIndex(std::string_view host) {
  if (last_host_ < logs_.hosts.size() && logs_.hosts[last_host_] == host) return last_host_;
  const auto found = logs_.host_indexes.find(host);
  if (found != logs_.host_indexes.end()) {
    last_host_ = found->second;
  } else {
    last_host_ = static_cast<std::uint32_t>(logs_.hosts.size());
    logs_.hosts.emplace_back(host);
    logs_.host_indexes.emplace(host, last_host_);
  }
  return last_host_;
}

bool SameMeasurement(const Entry& a, const Entry& b) {
  if (a.time != b.time || a.host != b.host || a.target != b.target) return false;
  for (std::size_t i = 0; i < a.attempts.size(); ++i) {
    const Attempt& x = a.attempts[i];
    const Attempt& y = b.attempts[i];
    if (x.outcome != y.outcome || x.ttl != y.ttl || x.bytes != y.bytes || x.time_ms != y.time_ms ||
        x.source != y.source || x.error != y.error) {
      return false;
    }
  }
  return true;
}

void SortByTime(LogSet& logs) {
  std::vector<Entry>& entries = logs.entries;
  const auto by_time = [](const Entry& a, const Entry& b) { return a.time < b.time; };
  // The runs already in time order: a log as the logger wrote it is one, and each
  // step of its clock back begins another. They are merged, not sorted: a pass for
  // logs in order, a merge per pair of runs and round otherwise, each keeping the
  // earlier run's entries first among those of the same second.
  std::vector<std::size_t> bounds = {0};
  for (std::size_t i = 1; i < entries.size(); ++i) {
    if (entries[i].time < entries[i - 1].time) bounds.push_back(i);
  }
  bounds.push_back(entries.size());
  while (bounds.size() > 2) {
    const std::size_t runs = bounds.size() - 1;
    std::vector<std::size_t> merged = {0};
    for (std::size_t r = 0; r < runs; r += 2) {
      if (r + 1 < runs) {
        std::inplace_merge(entries.begin() + static_cast<std::ptrdiff_t>(bounds[r]),
                           entries.begin() + static_cast<std::ptrdiff_t>(bounds[r + 1]),
                           entries.begin() + static_cast<std::ptrdiff_t>(bounds[r + 2]), by_time);
      }
      merged.push_back(bounds[std::min(r + 2, runs)]);
    }
    bounds = std::move(merged);
  }
}

}  // namespace pinglog::report
