#include "report/write/page/html_tables.h"

#include "report/write/page/chart_svg.h"
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

}  // namespace

void WriteOverviewTable(std::ostream& out, const Report& report) {
  out << "<div class=\"wide\"><table class=\"overview\">\n";
  Row(out,
      {"Host", "Address", "Period", "Loss", "Median", "95%", "Outages", "Down", "Available",
       "Worst day"},
      "th");
  for (std::size_t i = 0; i < report.hosts.size(); ++i) {
    const HostSummary& s = report.hosts[i].summary;
    const bool replies = s.round_trip.replies > 0;
    out << "<tr><td><a href=\"#host-" << i << "\">" << Html(s.host) << "</a></td>";
    for (const std::string& text :
         {FormatAddress(s.target), PeriodLine(s), FormatFixed(s.requests.LossPercent(), 2) + "%",
          replies ? std::to_string(s.round_trip.median) + " ms" : "-",
          replies ? std::to_string(s.round_trip.p95) + " ms" : "-",
          std::to_string(s.outages.size()), Duration(s.uptime.down_seconds),
          FormatFixed(s.uptime.AvailablePercent(), 2) + " %", WorstDayText(s)}) {
      out << "<td>" << Html(text) << "</td>";
    }
    out << "</tr>\n";
  }
  out << "</table></div>\n";
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
