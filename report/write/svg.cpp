#include "report/write/svg.h"

#include <vector>

#include "report/model/heat_map.h"
#include "report/model/timeline.h"
#include "report/write/page/chart_svg.h"
#include "report/write/page/heat_map_svg.h"
#include "report/write/page/timeline_svg.h"
#include "report/write/summary_facts.h"
#include "support/text.h"

namespace pinglog::report {
namespace {

constexpr int kChartHeight = 330;  // the host's name and its chart
constexpr int kLineHeight = 20;    // the worst hours' line

}  // namespace

void WriteSvg(std::ostream& out, const Report& report, const ChartOptions& options) {
  const ChartOptions axis = SharedAxis(report, options);
  std::vector<HeatMap> maps;
  const bool several = report.hosts.size() > 1;
  const Timeline timeline = several ? BuildTimeline(report, axis) : Timeline{};
  int height = several ? TimelineHeight(timeline) + kLineHeight : 0;
  for (const HostReport& host : report.hosts) {
    maps.push_back(BuildHeatMap(host));
    height += kChartHeight + HeatMapHeight(maps.back()) + kLineHeight;
  }
  out << "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
      << "<svg xmlns=\"http://www.w3.org/2000/svg\" viewBox=\"0 0 1000 " << height
      << "\" width=\"1000\" height=\"" << height << "\">\n<style>\n"
      << kChartStyle << kHeatMapStyle << (several ? kTimelineStyle : "")
      << ".host{font-family:sans-serif;font-size:14px;font-weight:bold}\n"
      << ".worst{font-family:sans-serif;font-size:12px;fill:#222}\n"
      << "</style>\n<rect width=\"1000\" height=\"" << height << "\" fill=\"#fff\"/>\n";
  int top = 0;
  if (several) {  // every host at a glance first, nearest first
    out << "<g transform=\"translate(0,10)\">\n";
    WriteTimeline(out, report, timeline);
    out << "</g>\n";
    top += TimelineHeight(timeline) + kLineHeight;
  }
  for (std::size_t i = 0; i < report.hosts.size(); ++i) {
    const HostSummary& s = report.hosts[i].summary;
    out << "<text class=\"host\" x=\"60\" y=\"" << top + 16 << "\">" << Html(s.host) << " ("
        << FormatAddress(s.target) << ")</text>\n"
        << "<g transform=\"translate(0," << top + 26 << ")\">\n";
    WriteChart(out, report.hosts[i], axis);
    out << "</g>\n<g transform=\"translate(0," << top + kChartHeight << ")\">\n";
    WriteHeatMap(out, maps[i]);
    out << "</g>\n";
    top += kChartHeight + HeatMapHeight(maps[i]);
    out << "<text class=\"worst\" x=\"60\" y=\"" << top + 14 << "\">"
        << Html(WorstHoursLine(s.worst_hours)) << "</text>\n";
    top += kLineHeight;
  }
  out << "</svg>\n";
}

}  // namespace pinglog::report
