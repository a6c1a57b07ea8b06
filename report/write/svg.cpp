#include "report/write/svg.h"

#include <algorithm>
#include <vector>

#include "report/model/heat_map.h"
#include "report/model/timeline.h"
#include "report/write/drawing/chart_svg.h"
#include "report/write/drawing/heat_map_svg.h"
#include "report/write/drawing/styles.h"
#include "report/write/drawing/timeline_svg.h"
#include "report/write/episode_words.h"
#include "report/write/host_words.h"
#include "report/write/incident_words.h"
#include "report/write/summary_facts.h"
#include "report/write/words.h"
#include "report/write/wrapped_text.h"
#include "support/text.h"

namespace pinglog::report {
namespace {

constexpr int kTitleHeight = 76;   // the title, the zone, the chart's key
constexpr int kChartHeight = 310;  // a chart
constexpr int kLineHeight = 18;    // a line of text
constexpr std::size_t kOutagesListed = 3;

// What the chart's marks mean: the smoke, the median by loss, the shading; each
// swatch drawn by its mark's own class.
void WriteChartKey(std::ostream& out, int y) {
  static constexpr struct {
    const char* mark;
    const char* words;
  } kKey[] = {{"smoke", "round trips (min-max, 10-90 %, 25-75 %)"},
              {"loss-none", "median, no loss"},
              {"loss-little", "up to 10 %"},
              {"loss-much", "more"},
              {"loss-total", "all lost"},
              {"outage", "outage"},
              {"gap", "no entries"}};
  int x = 60;
  for (const auto& key : kKey) {
    out << "<rect class=\"swatch " << key.mark << "\" x=\"" << x << "\" y=\"" << y - 9
        << "\" width=\"10\" height=\"10\"/><text class=\"line\" x=\"" << x + 14 << "\" y=\"" << y
        << "\">" << key.words << "</text>\n";
    x += 14 + 7 * static_cast<int>(std::string_view(key.words).size()) + 16;
  }
}

// The drawing's title: the period, as every output says it (from the first entry to
// the last, its length to where the next cycle was due), the zone the times were taken
// in.
void WriteTitle(std::ostream& out, const Report& report, const ChartOptions& axis) {
  LogTime last = report.hosts.empty() ? 0 : report.hosts.front().summary.last;
  for (const HostReport& host : report.hosts) last = std::max(last, host.summary.last);
  out << "<text class=\"title\" x=\"60\" y=\"22\">pinglog report: "
      << Html(ReadableTime(axis.axis_start) + " to " + ReadableTime(last)) << " ("
      << Html(Duration(axis.axis_end - axis.axis_start))
      << ")</text>\n<text class=\"line\" x=\"60\" "
      << "y=\"42\">" << Html(TimesLine(report)) << "</text>\n";
  WriteChartKey(out, 64);
}

// Under the strips: the incidents and the episodes of degradation in words.
std::vector<std::string> EventLines(const Report& report) {
  std::vector<std::string> lines;
  if (report.incidents_sought) {
    const std::vector<const Incident*> incidents = ListedIncidents(report);
    const auto found =
        std::count_if(report.incidents.begin(), report.incidents.end(),
                      [](const Incident& i) { return i.verdict != Verdict::kNotLogging; });
    lines.push_back("Incidents: " + std::to_string(found));
    for (const Incident* incident : incidents) {
      AddWrapped(lines, IncidentWhen(*incident) + ": " + VerdictText(*incident, report));
    }
    const std::string more = MoreIncidentsText(report, incidents.size());
    if (!more.empty()) lines.push_back(more);
  }
  if (!report.episodes.empty()) {
    const std::vector<const Episode*> episodes = ListedEpisodes(report);
    AddWrapped(lines, EpisodesHeading(report));
    for (const Episode* episode : episodes) {
      AddWrapped(lines, EpisodeWhen(*episode) + ": " + EpisodeText(*episode, report));
    }
    const std::string more = MoreEpisodesText(report, episodes.size());
    if (!more.empty()) lines.push_back(more);
  }
  return lines;
}

int HostHeight(const HostSummary& s, const HeatMap& map) {
  const auto lines = HeadlineLines(s, kOutagesListed).size();
  return kLineHeight * static_cast<int>(lines + 2) + kChartHeight + HeatMapHeight(map) +
         kLineHeight;
}

// A host: its name, its figures, the longest outages, the chart, the heat map and its
// worst hours.
void WriteHost(std::ostream& out, const HostReport& host, const HeatMap& map,
               const ChartOptions& axis, int top) {
  const HostSummary& s = host.summary;
  out << "<text class=\"host\" x=\"60\" y=\"" << top + 16 << "\">" << Html(HostHeading(s))
      << "</text>\n";
  int y = top + 16 + kLineHeight;
  for (const std::string& line : HeadlineLines(s, kOutagesListed)) {
    out << "<text class=\"line\" x=\"60\" y=\"" << y << "\">" << Html(line) << "</text>\n";
    y += kLineHeight;
  }
  out << "<g transform=\"translate(0," << y - 8 << ")\">\n";
  WriteChart(out, host, axis);
  out << "</g>\n<g transform=\"translate(0," << y - 8 + kChartHeight << ")\">\n";
  WriteHeatMap(out, map);
  out << "</g>\n<text class=\"line\" x=\"60\" y=\""
      << y - 8 + kChartHeight + HeatMapHeight(map) + 12 << "\">"
      << Html(WorstHoursLine(s.worst_hours)) << "</text>\n";
}

}  // namespace

void WriteSvg(std::ostream& out, const Report& report, const ChartOptions& options) {
  const ChartOptions axis = SharedAxis(report, options);
  std::vector<HeatMap> maps;
  const bool several = report.hosts.size() > 1;
  const Timeline timeline = several ? BuildTimeline(report, axis) : Timeline{};
  const std::vector<std::string> events = EventLines(report);
  int height = kTitleHeight + (several ? TimelineHeight(timeline) + kLineHeight : 0) +
               kLineHeight * static_cast<int>(events.size());
  for (const HostReport& host : report.hosts) {
    maps.push_back(BuildHeatMap(host));
    height += HostHeight(host.summary, maps.back());
  }
  out << "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
      << "<svg xmlns=\"http://www.w3.org/2000/svg\" viewBox=\"0 0 1000 " << height
      << "\" width=\"1000\" height=\"" << height << "\">\n<style>\n"
      << kChartStyle << kHeatMapStyle << (several ? kTimelineStyle : "") << kDocumentStyle
      << "</style>\n<rect class=\"paper\" width=\"1000\" height=\"" << height << "\"/>\n";
  WriteTitle(out, report, axis);
  int top = kTitleHeight;
  if (several) {  // every host at a glance first, nearest first
    out << "<g transform=\"translate(0," << top << ")\">\n";
    WriteTimeline(out, report, timeline);
    out << "</g>\n";
    top += TimelineHeight(timeline) + kLineHeight;
  }
  for (const std::string& line : events) {
    out << "<text class=\"line\" x=\"60\" y=\"" << top << "\">" << Html(line) << "</text>\n";
    top += kLineHeight;
  }
  for (std::size_t i = 0; i < report.hosts.size(); ++i) {
    WriteHost(out, report.hosts[i], maps[i], axis, top);
    top += HostHeight(report.hosts[i].summary, maps[i]);
  }
  out << "</svg>\n";
}

}  // namespace pinglog::report
