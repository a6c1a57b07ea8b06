#include "report/write/exposition.h"

#include <charconv>
#include <vector>

#include "report/write/lines_in_turns.h"
#include "report/write/sample_writer.h"
#include "support/text.h"

namespace pinglog::report {
namespace {

const char* TypeName(MetricType type) {
  static constexpr const char* kTypes[] = {"counter", "gauge", "histogram"};
  return kTypes[static_cast<int>(type)];
}

// The walk over a host's sample points, as far as the family reads them.
SampleWalk Walk(const ExposedHost& host, const MetricFamily& family) {
  return [&host, &family](const PointVisit& visit) { host.samples(family, visit); };
}

// OpenMetrics names a counter's family without its _total suffix and gives the unit
// of the others; the text format names it with the suffix, help first.
void WriteHead(SampleWriter& out, ExpositionFormat format, const MetricFamily& family) {
  const std::string name = family.name;
  if (format == ExpositionFormat::kOpenMetrics) {
    out.Text("# TYPE " + name + ' ' + TypeName(family.type) + '\n');
    if (family.unit != nullptr) out.Text("# UNIT " + name + ' ' + family.unit + '\n');
    out.Text("# HELP " + name + ' ' + family.help + '\n');
    return;
  }
  const std::string full = name + (family.type == MetricType::kCounter ? "_total" : "");
  out.Text("# HELP " + full + ' ' + family.help + '\n');
  out.Text("# TYPE " + full + ' ' + TypeName(family.type) + '\n');
}

// The histogram's lines of one host, their prefixes made once: each bucket, +Inf,
// then the count and the sum (the text format: the sum, then the count).
void WriteHistogram(SampleWriter& out, ExpositionFormat format, const ExposedHost& host) {
  const std::string name = kRttFamily.name;
  std::vector<std::string> buckets;
  buckets.reserve(kRttBuckets.size());
  for (const double bound : kRttBuckets) {
    buckets.push_back(name + "_bucket{" + host.labels + ",le=\"" + MetricNumber(bound) + "\"} ");
  }
  const std::string infinity = name + "_bucket{" + host.labels + ",le=\"+Inf\"} ";
  const std::string count = name + "_count{" + host.labels + "} ";
  const std::string sum = name + "_sum{" + host.labels + "} ";
  const bool sum_first = format == ExpositionFormat::kText;
  WriteLinesInTurns(out, host.points, kRttBuckets.size() + 3, Walk(host, kRttFamily),
                    [&](SampleWriter& lines, const HostMetrics& m, std::string_view end) {
                      const auto cumulative = m.Buckets();
                      for (std::size_t b = 0; b < kRttBuckets.size(); ++b) {
                        lines.Sample(buckets[b], cumulative[b], end);
                      }
                      lines.Sample(infinity, m.rtt_count, end);
                      if (sum_first) lines.SampleSeconds(sum, m.rtt_sum_ms, end);
                      lines.Sample(count, m.rtt_count, end);
                      if (!sum_first) lines.SampleSeconds(sum, m.rtt_sum_ms, end);
                    });
}

// Every series the host has by its end, each from its first sample on.
void WriteSeries(SampleWriter& out, const MetricFamily& family, const ExposedHost& host) {
  const std::string sample =
      std::string(family.name) + (family.type == MetricType::kCounter ? "_total{" : "{");
  for (const SeriesKey& key : SeriesKeys(family, *host.total)) {
    std::string prefix = sample + host.labels;
    if (family.label != nullptr) {
      const bool shown_as_logged = &family == &kTargetInfoFamily && !host.numeric_host.empty();
      prefix += ',' + std::string(family.label) + "=\"" +
                LabelValue(shown_as_logged ? host.numeric_host : key.text) + '"';
      if (&family == &kTargetInfoFamily && !host.name.empty()) {
        prefix += ",name=\"" + LabelValue(host.name) + '"';
      }
    }
    prefix += "} ";
    WriteLinesInTurns(out, host.points, 1, Walk(host, family),
                      [&](SampleWriter& lines, const HostMetrics& m, std::string_view end) {
                        if (const std::optional<std::int64_t> value = SeriesValue(family, m, key)) {
                          lines.Sample(prefix, *value, end);
                        }
                      });
  }
}

}  // namespace

void WriteExposition(std::ostream& out, ExpositionFormat format,
                     const std::vector<ExposedHost>& hosts) {
  SampleWriter writer(out);
  for (const MetricFamily* family : kMetricFamilies) {
    WriteHead(writer, format, *family);
    for (const ExposedHost& host : hosts) {
      if (family->type == MetricType::kHistogram) {
        WriteHistogram(writer, format, host);
      } else {
        WriteSeries(writer, *family, host);
      }
    }
  }
  if (format == ExpositionFormat::kOpenMetrics) writer.Text("# EOF\n");
}

std::string MetricNumber(double value) {
  char text[64];
  const auto result = std::to_chars(text, text + sizeof text, value);
  return std::string(text, result.ptr);
}

std::string LabelValue(const std::string& text) {
  std::string escaped;
  for (const char c : text) {
    if (c == '\\' || c == '"') escaped += '\\';
    if (c == '\n') {
      escaped += "\\n";
      continue;
    }
    escaped += c;
  }
  return escaped;
}

std::string NumericHost(const std::string& host) {
  return !host.empty() && host[0] >= '0' && host[0] <= '9' ? host : "";
}

std::string SeriesLabels(const std::string& host, const ExtraLabels& extra) {
  std::string labels = "host=\"" + LabelValue(host) + '"';
  for (const auto& [name, value] : extra) labels += ',' + name + "=\"" + LabelValue(value) + '"';
  return labels;
}

bool ExtraLabelName(const std::string& name) {
  if (name.empty() || name.rfind("__", 0) == 0 || (name[0] >= '0' && name[0] <= '9')) return false;
  for (const char c : name) {
    const bool fits =
        (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_';
    if (!fits) return false;
  }
  for (const char* ours : {"host", "address", "error", "router", "le", "name"}) {
    if (name == ours) return false;
  }
  return true;
}

}  // namespace pinglog::report
