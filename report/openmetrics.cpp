#include "report/openmetrics.h"

#include <algorithm>
#include <charconv>
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
        zone.NextInLog(series.in_log_order[i]->time, last);
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

// Lines gathered in a large buffer and handed to the stream a megabyte at a time:
// the history of a year is about a gigabyte of them.
class SampleWriter {
 public:
  explicit SampleWriter(std::ostream& out) : out_(out) { buffer_.reserve(kFlushAt + 4096); }
  ~SampleWriter() { Flush(); }
  SampleWriter(const SampleWriter&) = delete;
  SampleWriter& operator=(const SampleWriter&) = delete;

  void Text(std::string_view text) { buffer_.append(text); }
  // PREFIX VALUE TIME, a line end.
  void Sample(std::string_view prefix, std::int64_t value, std::string_view time) {
    buffer_.append(prefix);
    Number(value);
    buffer_.append(time);
    if (buffer_.size() >= kFlushAt) Flush();
  }
  void Sample(std::string_view prefix, std::string_view value, std::string_view time) {
    buffer_.append(prefix);
    buffer_.append(value);
    buffer_.append(time);
    if (buffer_.size() >= kFlushAt) Flush();
  }
  void Flush() {
    out_.write(buffer_.data(), static_cast<std::streamsize>(buffer_.size()));
    buffer_.clear();
  }

 private:
  static constexpr std::size_t kFlushAt = 1 << 20;
  void Number(std::int64_t value) {
    char digits[24];
    const auto result = std::to_chars(digits, digits + sizeof digits, value);
    buffer_.append(digits, result.ptr);
  }
  std::ostream& out_;
  std::string buffer_;
};

// " 1614553200\n": a sample's time and its line end.
std::string TimeSuffix(std::int64_t time) { return ' ' + std::to_string(time) + '\n'; }

void WriteHeader(SampleWriter& out, const MetricFamily& family) {
  static constexpr const char* kTypes[] = {"counter", "gauge", "histogram"};
  out.Text(std::string("# TYPE ") + family.name + ' ' + kTypes[static_cast<int>(family.type)] +
           '\n');
  if (family.type != MetricType::kCounter) {
    out.Text(std::string("# UNIT ") + family.name + " seconds\n");
  }
  out.Text(std::string("# HELP ") + family.name + ' ' + family.help + '\n');
}

void WriteHistogram(SampleWriter& out, const HostSeries& series) {
  const std::string name = kRttFamily.name;
  std::vector<std::string> buckets;
  buckets.reserve(kRttBuckets.size());
  for (const double bound : kRttBuckets) {
    buckets.push_back(name + "_bucket{" + series.labels + ",le=\"" + MetricNumber(bound) + "\"} ");
  }
  const std::string infinity = name + "_bucket{" + series.labels + ",le=\"+Inf\"} ";
  const std::string count = name + "_count{" + series.labels + "} ";
  const std::string sum = name + "_sum{" + series.labels + "} ";
  ForEachPoint(series, [&](const SamplePoint& point, const HostMetrics& m) {
    const std::string at = TimeSuffix(point.time);
    for (std::size_t b = 0; b < kRttBuckets.size(); ++b) out.Sample(buckets[b], m.buckets[b], at);
    out.Sample(infinity, m.rtt_count, at);
    out.Sample(count, m.rtt_count, at);
    out.Sample(sum, Seconds(m.rtt_sum_ms), at);
  });
}

void WriteFamily(SampleWriter& out, const MetricFamily& family,
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
      std::string prefix = sample + series.labels;
      if (family.label != nullptr) {
        prefix += ',' + std::string(family.label) + "=\"" + LabelValue(key.text) + '"';
      }
      prefix += "} ";
      ForEachPoint(series, [&](const SamplePoint& point, const HostMetrics& m) {
        out.Sample(prefix, SeriesValue(family, m, key), TimeSuffix(point.time));
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
  SampleWriter writer(out);
  for (const MetricFamily* family : kMetricFamilies) WriteFamily(writer, *family, hosts);
  writer.Text("# EOF\n");
  return backwards;
}

}  // namespace pinglog::report
