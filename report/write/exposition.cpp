#include "report/write/exposition.h"

#include <charconv>
#include <cstdint>
#include <unordered_map>
#include <utility>
#include <vector>

#include "report/write/lines_in_turns.h"
#include "report/write/sample_writer.h"
#include "support/domain.h"
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

// A series' sample lines up to the value: its name and labels.
std::string SeriesPrefix(const MetricFamily& family, const ExposedHost& host,
                         const SeriesKey& key) {
  std::string prefix =
      std::string(family.name) + (family.type == MetricType::kCounter ? "_total{" : "{");
  prefix += host.labels;
  if (family.label != nullptr) {
    const bool shown_as_logged = &family == &kTargetInfoFamily && !host.numeric_host.empty();
    prefix += ',' + std::string(family.label) + "=\"" +
              LabelValue(shown_as_logged ? host.numeric_host : key.text) + '"';
    if (&family == &kTargetInfoFamily && !host.name.empty()) {
      prefix += ",name=\"" + LabelValue(host.name) + '"';
    }
  }
  return prefix + "} ";
}

// The one series of a family without a label of its own, at every sample point.
void WriteSeries(SampleWriter& out, const MetricFamily& family, const ExposedHost& host) {
  const std::string prefix = SeriesPrefix(family, host, {});
  WriteLinesInTurns(out, host.points, 1, Walk(host, family),
                    [&](SampleWriter& lines, const HostMetrics& m, std::string_view end) {
                      if (const std::optional<std::int64_t> value = SeriesValue(family, m, {})) {
                        lines.Sample(prefix, *value, end);
                      }
                    });
}

// The samples of a family's series that have a label of their own (a router, an error
// number, an address), chosen in the history's one walk: a series is sampled where its
// value changes, at the point before each change (the value held up to it: every step
// lies where the samples put it) and at the host's last point; the address now is
// sampled at every point, so that a join on the host finds it at any time. A history
// so grows with the changes, not with the series times the cycles; with one point (a
// textfile), every series is sampled.
class LabelledSamples {
 public:
  LabelledSamples(const MetricFamily& family, const ExposedHost& host)
      : family_(family),
        keys_(SeriesKeys(family, *host.total)),
        points_(host.points),
        by_number_(&family == &kFailuresFamily || &family == &kNotSentFamily),
        series_(keys_.size()) {
    const HostMetrics none;
    for (std::size_t k = 0; k < keys_.size(); ++k) {
      (by_number_ ? by_error_[keys_[k].error] : by_text_[keys_[k].text]) = k;
      series_[k].value = SeriesValue(family, none, keys_[k]);
    }
  }

  // The next point's counters and line end.
  void Visit(const HostMetrics& m, std::string_view end) {
    if (point_ + 1 == points_) {
      for (std::size_t k = 0; k < keys_.size(); ++k) Look(k, m, end, true);
    } else {
      if (&family_ == &kTargetInfoFamily) Look(by_text_.at(m.address), m, end, true);
      for (const HostMetrics::Change& change : m.changed) {
        if (change.family != &family_) continue;
        Look(by_number_ ? by_error_.at(change.key.error) : by_text_.at(change.key.text), m, end,
             false);
      }
    }
    before_ = end;
    ++point_;
  }

  void Write(SampleWriter& out, const ExposedHost& host) const {
    for (std::size_t k = 0; k < keys_.size(); ++k) {
      const std::string prefix = SeriesPrefix(family_, host, keys_[k]);
      for (const auto& [end, value] : series_[k].samples) out.Sample(prefix, value, end);
    }
  }

 private:
  // A series as its samples are chosen: its value at the point it was looked at last,
  // the last point sampled, and each sample's line end and value.
  struct Chosen {
    std::optional<std::int64_t> value;
    std::size_t sampled = SIZE_MAX;
    std::vector<std::pair<std::string_view, std::int64_t>> samples;
  };

  void Look(std::size_t k, const HostMetrics& m, std::string_view end, bool sample) {
    Chosen& one = series_[k];
    const std::optional<std::int64_t> now = SeriesValue(family_, m, keys_[k]);
    const bool changed = now != one.value;
    if (changed && point_ > 0 && one.value && one.sampled + 1 != point_) {
      one.samples.emplace_back(before_, *one.value);
    }
    if ((changed || sample) && now && one.sampled != point_) {
      one.samples.emplace_back(end, *now);
      one.sampled = point_;
    }
    one.value = now;
  }

  const MetricFamily& family_;
  const std::vector<SeriesKey> keys_;
  const std::size_t points_;
  const bool by_number_;
  std::unordered_map<std::string, std::size_t> by_text_;
  std::unordered_map<std::uint32_t, std::size_t> by_error_;
  std::vector<Chosen> series_;
  std::size_t point_ = 0;
  std::string_view before_;  // the line end of the point before
};

void WriteLabelledSeries(SampleWriter& out, const MetricFamily& family, const ExposedHost& host) {
  LabelledSamples samples(family, host);
  host.samples(family, [&](const HostMetrics& m, std::string_view end) { samples.Visit(m, end); });
  samples.Write(out, host);
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
      } else if (family->label != nullptr) {
        WriteLabelledSeries(writer, *family, host);
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

std::string NumericHost(const std::string& host) { return IsAddressText(host) ? host : ""; }

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
