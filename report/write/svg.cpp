#include "report/write/svg.h"

#include "report/write/page/chart_svg.h"
#include "support/text.h"

namespace pinglog::report {

void WriteSvg(std::ostream& out, const Report& report, const ChartOptions& options) {
  const ChartOptions axis = SharedAxis(report, options);
  constexpr int kPerHost = 330;
  const auto height = static_cast<int>(report.hosts.size()) * kPerHost;
  out << "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
      << "<svg xmlns=\"http://www.w3.org/2000/svg\" viewBox=\"0 0 1000 " << height
      << "\" width=\"1000\" height=\"" << height << "\">\n<style>\n"
      << kChartStyle << ".host{font-family:sans-serif;font-size:14px;font-weight:bold}\n"
      << "</style>\n<rect width=\"1000\" height=\"" << height << "\" fill=\"#fff\"/>\n";
  for (std::size_t i = 0; i < report.hosts.size(); ++i) {
    const auto top = static_cast<int>(i) * kPerHost;
    out << "<text class=\"host\" x=\"60\" y=\"" << top + 16 << "\">"
        << Html(report.hosts[i].summary.host) << " ("
        << FormatAddress(report.hosts[i].summary.target) << ")</text>\n"
        << "<g transform=\"translate(0," << top + 26 << ")\">\n";
    WriteChart(out, report.hosts[i], axis);
    out << "</g>\n";
  }
  out << "</svg>\n";
}

}  // namespace pinglog::report
