#include "report/write/textfile.h"

#include "report/write/exposition.h"

namespace pinglog::report {

void WriteTextfile(std::ostream& out, const MetricsCounter& counts) {
  std::vector<ExposedHost> hosts;
  for (const auto& [index, count] : counts.hosts()) {
    const HostMetrics& metrics = count.metrics;
    hosts.push_back({SeriesLabels(count.host), NumericHost(count.host), count.name, &metrics,
                     [&metrics](const MetricFamily&, const ExposedHost::Visit& visit) {
                       visit(metrics, "\n");
                     }});
  }
  WriteExposition(out, ExpositionFormat::kText, hosts);
}

}  // namespace pinglog::report
