// The one serializer of the metrics families, for both formats Prometheus reads:
// OpenMetrics with a time on every sample (the backfill of the history) and the text
// format without (node_exporter's textfile collector). The type and help lines, the
// series' labels, the samples and the histogram are written here and nowhere else.
#pragma once

#include <cstdint>
#include <functional>
#include <ostream>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "report/logs/log_line.h"
#include "report/model/metrics.h"

namespace pinglog::report {

enum class ExpositionFormat { kOpenMetrics, kText };

// One host's series: its labels, its counters at its end (which series it has), and
// its samples: `samples(visit)` calls visit(counters, end of line) for each sample
// time in order; the end of line carries the time (" 1614553200\n") or not ("\n").
struct ExposedHost {
  using Visit = std::function<void(const HostMetrics&, std::string_view)>;
  std::string labels;        // SeriesLabels()
  std::string numeric_host;  // a host given as an address: the address the log shows
  std::string name;          // what the reader calls it (--name): a label of the info metric
  const HostMetrics* total = nullptr;
  // Visits each sample point's counters, as far as the family reads them.
  std::function<void(const MetricFamily&, const Visit&)> samples;
  std::size_t points = 1;  // how many sample points `samples` visits
};

void WriteExposition(std::ostream& out, ExpositionFormat format,
                     const std::vector<ExposedHost>& hosts);

// Labels of every series beside the host's (--label job=pinglog): name and value.
using ExtraLabels = std::vector<std::pair<std::string, std::string>>;

// The labels of a host's series: host="..." and the extra ones.
std::string SeriesLabels(const std::string& host, const ExtraLabels& extra = {});

// A host text that is an address (it begins with a digit), or "".
std::string NumericHost(const std::string& host);

// Whether NAME may be an extra label: a Prometheus label name that is none of ours.
bool ExtraLabelName(const std::string& name);

// Escapes a label value: backslash, double quote and line end.
std::string LabelValue(const std::string& text);

// "12.5": a number as the exposition formats write it.
std::string MetricNumber(double value);

}  // namespace pinglog::report
