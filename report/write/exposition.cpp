#include "report/write/exposition.h"

#include <charconv>
#include <cstring>
#include <vector>

#include "support/text.h"

namespace pinglog::report {
namespace {

// Whole milliseconds as seconds, exactly ("97.717"), written at `at`; returns the end.
constexpr std::size_t kLongestSeconds = 24;  // "-9223372036854775.808"
char* WriteSeconds(char* at, std::int64_t milliseconds) {
  at = std::to_chars(at, at + kLongestSeconds, milliseconds / 1000).ptr;
  const auto fraction = static_cast<int>(milliseconds % 1000);
  if (fraction == 0) return at;
  *at++ = '.';
  const char digits[3] = {static_cast<char>('0' + fraction / 100),
                          static_cast<char>('0' + fraction / 10 % 10),
                          static_cast<char>('0' + fraction % 10)};
  std::size_t kept = 3;
  while (digits[kept - 1] == '0') --kept;
  for (std::size_t i = 0; i < kept; ++i) *at++ = digits[i];
  return at;
}

// Lines gathered in a large buffer and handed to the stream a megabyte at a time:
// the history of a year is about a gigabyte of them.
class SampleWriter {
 public:
  explicit SampleWriter(std::ostream& out) : out_(out), buffer_(kFlushAt + kSlack) {}
  ~SampleWriter() { Flush(); }
  SampleWriter(const SampleWriter&) = delete;
  SampleWriter& operator=(const SampleWriter&) = delete;

  void Text(std::string_view text) { Filled(Copy(Room(text.size()), text)); }
  // PREFIX VALUE END, where END holds the time, if any, and the line end.
  void Sample(std::string_view prefix, std::int64_t value, std::string_view end) {
    constexpr std::size_t kLongestNumber = 20;  // "-9223372036854775808"
    char* at = Room(prefix.size() + kLongestNumber + end.size());
    at = Copy(at, prefix);
    at = std::to_chars(at, at + kLongestNumber, value).ptr;
    Filled(Copy(at, end));
  }
  // PREFIX SECONDS END, of whole milliseconds.
  void SampleSeconds(std::string_view prefix, std::int64_t milliseconds, std::string_view end) {
    char* at = Room(prefix.size() + kLongestSeconds + end.size());
    at = Copy(at, prefix);
    at = WriteSeconds(at, milliseconds);
    Filled(Copy(at, end));
  }
  void Flush() {
    out_.write(buffer_.data(), static_cast<std::streamsize>(used_));
    used_ = 0;
  }

 private:
  static constexpr std::size_t kFlushAt = 1 << 20;
  static constexpr std::size_t kSlack = 1 << 16;  // a line's room beyond kFlushAt

  // Where `size` more bytes can be written (what is gathered handed on first if need be).
  char* Room(std::size_t size) {
    if (used_ + size > buffer_.size()) {
      Flush();
      if (size > buffer_.size()) buffer_.resize(size);
    }
    return buffer_.data() + used_;
  }
  static char* Copy(char* at, std::string_view text) {
    std::memcpy(at, text.data(), text.size());
    return at + text.size();
  }
  // The bytes up to `end` are written.
  void Filled(const char* end) {
    used_ = static_cast<std::size_t>(end - buffer_.data());
    if (used_ >= kFlushAt) Flush();
  }

  std::ostream& out_;
  std::vector<char> buffer_;
  std::size_t used_ = 0;
};

const char* TypeName(MetricType type) {
  static constexpr const char* kTypes[] = {"counter", "gauge", "histogram"};
  return kTypes[static_cast<int>(type)];
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
  host.samples(kRttFamily, [&](const HostMetrics& m, std::string_view end) {
    const auto cumulative = m.Buckets();
    for (std::size_t b = 0; b < kRttBuckets.size(); ++b) out.Sample(buckets[b], cumulative[b], end);
    out.Sample(infinity, m.rtt_count, end);
    if (sum_first) out.SampleSeconds(sum, m.rtt_sum_ms, end);
    out.Sample(count, m.rtt_count, end);
    if (!sum_first) out.SampleSeconds(sum, m.rtt_sum_ms, end);
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
    host.samples(family, [&](const HostMetrics& m, std::string_view end) {
      if (const std::optional<std::int64_t> value = SeriesValue(family, m, key)) {
        out.Sample(prefix, *value, end);
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
