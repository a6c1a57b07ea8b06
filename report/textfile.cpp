#include "report/textfile.h"

namespace pinglog::report {
namespace {

void WriteHistogram(std::ostream& out, const std::vector<LabelledMetrics>& hosts) {
  const std::string name = kRttFamily.name;
  for (const LabelledMetrics& host : hosts) {
    const HostMetrics& m = host.metrics;
    for (std::size_t b = 0; b < kRttBuckets.size(); ++b) {
      out << name << "_bucket{" << host.labels << ",le=\"" << MetricNumber(kRttBuckets[b]) << "\"} "
          << m.buckets[b] << '\n';
    }
    out << name << "_bucket{" << host.labels << ",le=\"+Inf\"} " << m.rtt_count << '\n';
    out << name << "_sum{" << host.labels << "} " << Seconds(m.rtt_sum_ms) << '\n';
    out << name << "_count{" << host.labels << "} " << m.rtt_count << '\n';
  }
}

}  // namespace

// The text format names a counter's family with its _total suffix.
void WriteTextfile(std::ostream& out, const std::vector<LabelledMetrics>& hosts) {
  static constexpr const char* kTypes[] = {"counter", "gauge", "histogram"};
  for (const MetricFamily* family : kMetricFamilies) {
    const std::string name =
        std::string(family->name) + (family->type == MetricType::kCounter ? "_total" : "");
    out << "# HELP " << name << ' ' << family->help << '\n';
    out << "# TYPE " << name << ' ' << kTypes[static_cast<int>(family->type)] << '\n';
    if (family->type == MetricType::kHistogram) {
      WriteHistogram(out, hosts);
      continue;
    }
    for (const LabelledMetrics& host : hosts) {
      for (const SeriesKey& key : SeriesKeys(*family, host.metrics)) {
        out << name << '{' << host.labels;
        if (family->label != nullptr) {
          out << ',' << family->label << "=\"" << LabelValue(key.text) << '"';
        }
        out << "} " << SeriesValue(*family, host.metrics, key) << '\n';
      }
    }
  }
}

}  // namespace pinglog::report
