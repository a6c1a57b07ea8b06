#include "report/write/openmetrics.h"

#include <algorithm>
#include <charconv>
#include <map>

#include "report/logs/find_byte.h"
#include "report/model/metrics.h"
#include "report/write/exposition.h"

namespace pinglog::report {
namespace {

// A stored sample: the counts of the entries before `end` (in log order), at `time`.
struct SamplePoint {
  std::int64_t time = 0;
  std::size_t end = 0;
};

struct HostSeries {
  EntryList in_log_order;
  std::vector<SamplePoint> points;
  // Each point's line end, " TIME\n", one after the other: written once per series.
  std::string line_ends;
  std::vector<std::int64_t> unix_times;  // per entry; -1 for a time that went backwards
  HostMetrics total;                     // by the end: which series there are
};

// Entries in the order the logs hold them, the logs ordered by their first entry (one
// log in order, the usual case, is already so).
EntryList LogOrder(const EntryList& entries) {
  std::map<std::uint32_t, LogTime> first_of_file;
  for (const Entry& e : entries) {
    auto [it, added] = first_of_file.try_emplace(e.file, e.time);
    if (!added) it->second = std::min(it->second, e.time);
  }
  std::vector<std::pair<LogTime, std::uint32_t>> file_order(
      first_of_file.empty() ? 0 : first_of_file.rbegin()->first + 1);
  for (const auto& [file, first] : first_of_file) file_order[file] = {first, file};
  const auto before = [&](const Entry& a, const Entry& b) {
    if (a.file != b.file) return file_order[a.file] < file_order[b.file];
    return a.line < b.line;
  };
  if (std::is_sorted(entries.begin(), entries.end(), before)) return entries;
  std::vector<std::uint32_t> order(entries.size());
  for (std::size_t i = 0; i < order.size(); ++i) order[i] = static_cast<std::uint32_t>(i);
  std::sort(order.begin(), order.end(),
            [&](std::uint32_t a, std::uint32_t b) { return before(entries[a], entries[b]); });
  return entries.Picked(order);
}

std::int64_t MakePoints(HostSeries& series, const ZoneTime& zone) {
  std::int64_t backwards = 0;
  std::int64_t last = INT64_MIN;
  series.unix_times.reserve(series.in_log_order.size());
  series.points.reserve(series.in_log_order.size());
  for (std::size_t i = 0; i < series.in_log_order.size(); ++i) {
    const std::optional<std::int64_t> unix_time =
        zone.NextInLog(series.in_log_order.TimeAt(i), last);
    if (!unix_time) {  // stepped back: counted with the next sample that can be stored
      ++backwards;
      series.unix_times.push_back(-1);
      continue;
    }
    series.unix_times.push_back(*unix_time);
    if (*unix_time == last) {
      series.points.back().end = i + 1;
    } else {
      series.points.push_back({*unix_time, i + 1});
      last = *unix_time;
    }
  }
  if (!series.points.empty()) series.points.back().end = series.in_log_order.size();
  return backwards;
}

// Each point's " TIME\n" (ten digits until the year 2286: twelve bytes a point).
void MakeLineEnds(HostSeries& series) {
  series.line_ends.reserve(series.points.size() * (sizeof " 1700000000\n" - 1));
  for (const SamplePoint& point : series.points) {
    char text[24] = {' '};
    char* end = std::to_chars(text + 1, text + 22, point.time).ptr;
    *end++ = '\n';
    series.line_ends.append(text, end);
  }
}

// Walks the sample points, adding the entries up to each to the counts, and gives
// each point's counts and line end.
void ForEachPoint(const HostSeries& series, const MetricFamily& family,
                  const ExposedHost::Visit& visit) {
  HostMetrics metrics;
  const MetricParts parts = PartsOf(family);
  std::size_t next = 0;
  const std::string_view ends = series.line_ends;
  std::size_t end_at = 0;
  for (const SamplePoint& point : series.points) {
    metrics.changed.clear();
    for (; next < point.end; ++next) {
      const std::int64_t at = series.unix_times[next];
      metrics.Add(series.in_log_order[next], at < 0 ? point.time : at, parts);
    }
    const std::size_t end_size = FindByte(ends, '\n', end_at) + 1 - end_at;
    visit(metrics, ends.substr(end_at, end_size));
    end_at += end_size;
  }
}

}  // namespace

std::int64_t WriteOpenMetrics(std::ostream& out, const Report& report, const ZoneTime& zone,
                              const ExtraLabels& labels) {
  std::int64_t backwards = 0;
  std::vector<HostSeries> series(report.hosts.size());
  std::vector<ExposedHost> hosts;
  for (std::size_t h = 0; h < report.hosts.size(); ++h) {
    const HostReport& host = report.hosts[h];
    HostSeries& one = series[h];
    one.in_log_order = LogOrder(host.entries);
    backwards += MakePoints(one, zone);
    MakeLineEnds(one);
    for (const Entry& entry : one.in_log_order) one.total.Add(entry, 0);
    if (one.points.empty()) continue;
    hosts.push_back({SeriesLabels(host.summary.host, labels), NumericHost(host.summary.host),
                     host.summary.name, &one.total,
                     [&one](const MetricFamily& family, const ExposedHost::Visit& visit) {
                       ForEachPoint(one, family, visit);
                     },
                     one.points.size()});
  }
  WriteExposition(out, ExpositionFormat::kOpenMetrics, hosts);
  return backwards;
}

}  // namespace pinglog::report
