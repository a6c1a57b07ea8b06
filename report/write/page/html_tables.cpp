#include "report/write/page/html_tables.h"
#include "report/write/host_words.h"

#include <algorithm>
#include <sstream>

#include "report/model/timeline.h"
#include "report/write/drawing/chart_svg.h"
#include "report/write/drawing/timeline_svg.h"
#include "report/write/episode_words.h"
#include "report/write/incident_words.h"
#include "report/write/summary_facts.h"
#include "report/write/words.h"

namespace pinglog::report {
namespace {

// The day with the highest loss, from the model.
std::string WorstDayText(const HostSummary& s) {
  const std::optional<WorstDay> worst = WorstDayOf(s);
  if (!worst) return "no loss";
  return FormatTime("%dd.%mm.%yyyy", worst->day) + " (" + FormatFixed(worst->loss_percent, 2) +
         "% loss)";
}

void Row(std::ostream& out, const std::vector<std::string>& cells, const char* cell) {
  out << "<tr>";
  for (const std::string& text : cells)
    out << '<' << cell << '>' << Html(text) << "</" << cell << '>';
  out << "</tr>\n";
}

// The link that zooms every chart to [start, end) and a few cycles around it.
std::string ZoomAddress(const ChartOptions& axis, LogTime start, LogTime end, std::int64_t period) {
  return PeriodAddress(std::max<std::int64_t>(axis.axis_start, start - 3 * period),
                       std::min<std::int64_t>(axis.axis_end, end + 3 * period));
}

// The episodes of degradation: a row each, zooming to it, with every host's figures.
void WriteEpisodes(std::ostream& out, const Report& report, const ChartOptions& axis,
                   std::int64_t period) {
  if (report.episodes.empty()) return;
  out << "<h2 id=\"episodes\">Where it got bad</h2>\n<p>" << Html(EpisodesHeading(report))
      << "</p>\n<div class=\"wide\"><table class=\"incidents\">\n";
  Row(out, {"When", "Length", "What the logs say"}, "th");
  const std::vector<const Episode*> listed = ListedEpisodes(report);
  for (const Episode* episode : listed) {
    out << "<tr><td><a href=\"" << Html(ZoomAddress(axis, episode->start, episode->end, period))
        << "\">" << Html(ReadableTime(episode->start)) << "</a></td><td>"
        << Html(Duration(episode->Seconds())) << "</td><td>" << Html(EpisodeText(*episode, report));
    for (const EpisodeHost& h : episode->hosts) {
      out << "<br>&emsp;" << Html(Called(report.hosts[h.host].summary)) << ": "
          << (h.degraded ? "degraded: " : "") << Html(EpisodeHostText(h, report));
    }
    out << "</td></tr>\n";
  }
  const std::string more = MoreEpisodesText(report, listed.size());
  if (!more.empty()) out << "<tr><td colspan=\"3\">" << Html(more) << "</td></tr>\n";
  out << "</table></div>\n";
}

}  // namespace

void WriteOverviewTable(std::ostream& out, const Report& report) {
  const bool several = report.hosts.size() > 1;
  out << "<div class=\"wide\"><table class=\"overview\">\n";
  std::vector<std::string> headings = {"Host", "Address", "Period", "Loss",      "Median",
                                       "95%",  "Outages", "Down",   "Available", "Worst day"};
  if (several) headings.insert(headings.begin() + 2, "Hops");
  Row(out, headings, "th");
  for (std::size_t i = 0; i < report.hosts.size(); ++i) {
    const HostSummary& s = report.hosts[i].summary;
    const bool replies = s.round_trip.replies > 0;
    out << "<tr><td><a href=\"#host-" << i << "\">" << Html(Called(s)) << "</a></td>";
    std::vector<std::string> cells = {
        FormatAddress(s.target),
        PeriodLine(s),
        FormatFixed(s.requests.LossPercent(), 2) + "%",
        replies ? std::to_string(s.round_trip.median) + " ms" : "-",
        replies ? std::to_string(s.round_trip.p95) + " ms" : "-",
        std::to_string(s.outages.size()),
        Duration(s.uptime.down_seconds),
        FormatFixed(s.uptime.AvailablePercent(), 2) + " %" + UnobservedText(s),
        WorstDayText(s)};
    if (several) cells.insert(cells.begin() + 1, s.hops ? std::to_string(*s.hops) : "?");
    // Each cell says what it is, for a phone, where the cells stand as labelled figures.
    for (std::size_t c = 0; c < cells.size(); ++c) {
      out << "<td data-label=\"" << Html(headings[c + 1]) << "\">" << Html(cells[c]) << "</td>";
    }
    out << "</tr>\n";
  }
  out << "</table></div>\n";
}

void WriteIncidents(std::ostream& out, const Report& report, const ChartOptions& axis) {
  if (report.hosts.size() < 2) return;
  out << "<h2 id=\"incidents\">Where it broke</h2>\n<p>" << Html(IncidentsHeading(report))
      << "</p>\n";
  // A few cycles of the slowest logger around each, so that its bounds show.
  std::int64_t period = 1;
  for (const HostReport& host : report.hosts) period = std::max(period, host.summary.period);
  if (!report.incidents.empty()) {
    out << "<div class=\"wide\"><table class=\"incidents\">\n";
    Row(out, {"When", "Length", "What the logs say"}, "th");
    const std::vector<const Incident*> listed = ListedIncidents(report);
    for (const Incident* incident : listed) {
      const std::string address = ZoomAddress(axis, incident->start, incident->end, period);
      out << "<tr><td><a href=\"" << Html(address) << "\">" << Html(ReadableTime(incident->start))
          << "</a></td><td>" << Html(Duration(incident->Seconds())) << "</td><td>"
          << Html(VerdictText(*incident, report));
      for (const IncidentHost& h : incident->hosts) {
        if (incident->verdict == Verdict::kNotLogging) break;
        out << "<br>&emsp;" << Html(Called(report.hosts[h.host].summary)) << ": "
            << Html(HostStateText(*incident, h, report));
      }
      const std::string others = OthersAnsweredText(*incident);
      if (!others.empty()) out << "<br>&emsp;" << Html(others);
      out << "</td></tr>\n";
    }
    const std::string more = MoreIncidentsText(report, listed.size());
    if (!more.empty()) out << "<tr><td colspan=\"3\">" << Html(more) << "</td></tr>\n";
    out << "</table></div>\n";
  }
  WriteEpisodes(out, report, axis, period);
  // A fleet's strips in coarser buckets: a row a few runs, the page quick to open.
  const bool fleet = report.hosts.size() > kHostsDrawnAhead;
  const Timeline timeline = BuildTimeline(report, axis, fleet ? kFleetStripBuckets : kMostBuckets);
  const int height = TimelineHeight(timeline);
  out << "<div class=\"wide\"><svg class=\"timeline\" id=\"timeline\" "
         "xmlns=\"http://www.w3.org/2000/svg\" "
         "viewBox=\"0 0 1000 "
      << height << "\" width=\"1000\" height=\"" << height << "\">\n";
  std::ostringstream later;
  WriteTimeline(out, report, timeline, fleet ? StripDetail::kCompact : StripDetail::kTitled,
                &later);
  out << "</svg></div>\n" << later.str();
}

// "#from=2021-03-07T21:00&to=2021-03-08T00:00": the address of a period, to the minute.
std::string PeriodAddress(std::int64_t from, std::int64_t to) {
  const auto minute = [](std::int64_t t, bool up) { return (t + (up ? 59 : 0)) / 60 * 60; };
  const char* mask = "%yyyy-%mm-%ddT%hh:%ii";
  return "#from=" + FormatTime(mask, minute(from, false)) +
         "&to=" + FormatTime(mask, minute(to, true));
}

void WriteSummaryTables(std::ostream& out, const HostSummary& s,
                        const std::vector<std::string>& files) {
  out << "<table class=\"facts\">\n";
  for (const Fact& fact : SummaryFacts(s, files)) {
    out << "<tr><th>" << Html(fact.heading) << "</th><td>";
    if (fact.lines.empty()) out << "none";
    for (std::size_t i = 0; i < fact.lines.size(); ++i) {
      const std::string& line = fact.lines[i];
      const bool indented = line.rfind("  ", 0) == 0;
      out << (i == 0 ? "" : "<br>") << (indented ? "&emsp;" : "")
          << Html(indented ? line.substr(2) : line);
    }
    out << "</td></tr>\n";
  }
  out << "</table>\n<div class=\"wide\"><table class=\"periods\">\n";
  const std::vector<std::vector<std::string>> rows = PeriodTable(s);
  for (std::size_t i = 0; i < rows.size(); ++i) Row(out, rows[i], i == 0 ? "th" : "td");
  out << "</table></div>\n";
}

}  // namespace pinglog::report
