#include "report/openmetrics.h"

#include <algorithm>
#include <map>

#include "report/metrics.h"
#include "support/text.h"

namespace pinglog::report {
namespace {

// A stored sample: the counts of the entries before `end` (in log order), at `time`.
struct SamplePoint {
  std::int64_t time = 0;
  std::size_t end = 0;
};

struct HostSeries {
  std::string labels;  // host="...",address="..."
  std::vector<const Entry*> in_log_order;
  std::vector<SamplePoint> points;
  std::vector<std::int64_t> unix_times;  // per entry; -1 for a time that went backwards
};

// Entries in the order the logs hold them, the logs ordered by their first entry.
std::vector<const Entry*> LogOrder(const std::vector<const Entry*>& entries) {
  std::map<std::uint16_t, CalendarTime> first_of_file;
  for (const Entry* e : entries) {
    auto [it, added] = first_of_file.try_emplace(e->file, e->time);
    if (!added) it->second = std::min(it->second, e->time);
  }
  std::vector<const Entry*> ordered = entries;
  std::sort(ordered.begin(), ordered.end(), [&](const Entry* a, const Entry* b) {
    const CalendarTime fa = first_of_file[a->file], fb = first_of_file[b->file];
    if (fa != fb) return fa < fb;
    if (a->file != b->file) return a->file < b->file;
    return a->line < b->line;
  });
  return ordered;
}

std::int64_t MakePoints(HostSeries& series, const ZoneTime& zone) {
  std::int64_t backwards = 0;
  std::int64_t last = INT64_MIN;
  for (std::size_t i = 0; i < series.in_log_order.size(); ++i) {
    const std::optional<std::int64_t> unix_time =
        zone.ToUnix(series.in_log_order[i]->time, last == INT64_MIN ? INT64_MIN : last - 1);
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

// Walks the sample points, adding the entries up to each to `metrics`.
template <typename Visit>
void ForEachPoint(const HostSeries& series, Visit visit) {
  HostMetrics metrics;
  std::size_t next = 0;
  for (const SamplePoint& point : series.points) {
    for (; next < point.end; ++next) {
      const std::int64_t at = series.unix_times[next];
      metrics.Add(*series.in_log_order[next], at < 0 ? point.time : at);
    }
    visit(point, metrics);
  }
}

void WriteHeader(std::ostream& out, const MetricFamily& family) {
  static constexpr const char* kTypes[] = {"counter", "gauge", "histogram"};
  out << "# TYPE " << family.name << ' ' << kTypes[static_cast<int>(family.type)] << '\n';
  if (family.type != MetricType::kCounter) out << "# UNIT " << family.name << " seconds\n";
  out << "# HELP " << family.name << ' ' << family.help << '\n';
}

void WriteHistogram(std::ostream& out, const HostSeries& series) {
  const std::string& labels = series.labels;
  ForEachPoint(series, [&](const SamplePoint& point, const HostMetrics& m) {
    const std::string at = ' ' + std::to_string(point.time) + '\n';
    for (std::size_t b = 0; b < kRttBuckets.size(); ++b) {
      out << kRttFamily.name << "_bucket{" << labels << ",le=\"" << MetricNumber(kRttBuckets[b])
          << "\"} " << m.buckets[b] << at;
    }
    out << kRttFamily.name << "_bucket{" << labels << ",le=\"+Inf\"} " << m.rtt_count << at;
    out << kRttFamily.name << "_count{" << labels << "} " << m.rtt_count << at;
    out << kRttFamily.name << "_sum{" << labels << "} "
        << MetricNumber(static_cast<double>(m.rtt_sum_ms) / 1000) << at;
  });
}

void WriteFamily(std::ostream& out, const MetricFamily& family,
                 const std::vector<HostSeries>& hosts) {
  WriteHeader(out, family);
  const std::string sample =
      std::string(family.name) + (family.type == MetricType::kCounter ? "_total{" : "{");
  for (const HostSeries& series : hosts) {
    if (series.points.empty()) continue;
    if (family.type == MetricType::kHistogram) {
      WriteHistogram(out, series);
      continue;
    }
    // Every series the host has by its end, each from the first sample on.
    HostMetrics total;
    for (const Entry* entry : series.in_log_order) total.Add(*entry, 0);
    for (const SeriesKey& key : SeriesKeys(family, total)) {
      std::string labels = series.labels;
      if (family.label != nullptr) {
        labels += ',' + std::string(family.label) + "=\"" + LabelValue(key.text) + '"';
      }
      ForEachPoint(series, [&](const SamplePoint& point, const HostMetrics& m) {
        out << sample << labels << "} " << MetricNumber(SeriesValue(family, m, key)) << ' '
            << point.time << '\n';
      });
    }
  }
}

}  // namespace

std::int64_t WriteOpenMetrics(std::ostream& out, const LogSet& logs,
                              const std::vector<std::vector<const Entry*>>& entries_by_host,
                              const ZoneTime& zone) {
  std::int64_t backwards = 0;
  std::vector<HostSeries> hosts;
  for (const auto& entries : entries_by_host) {
    if (entries.empty()) continue;
    HostSeries series;
    series.in_log_order = LogOrder(entries);
    series.labels = HostLabels(logs.hosts[entries.front()->host], entries.back()->target);
    backwards += MakePoints(series, zone);
    hosts.push_back(std::move(series));
  }
  for (const MetricFamily* family : kMetricFamilies) WriteFamily(out, *family, hosts);
  out << "# EOF\n";
  return backwards;
}

}  // namespace pinglog::report
