#include "report/html_tables.h"

#include <map>

#include "report/output.h"
#include "report/summary_facts.h"

namespace pinglog::report {
namespace {

// The day with the highest loss, from the day (or hour) rows.
std::string WorstDay(const HostSummary& s) {
  std::map<std::int64_t, Requests> days;
  for (const PeriodRow& row : s.periods) {
    Requests& day = days[row.start / 86400];
    day.sent += row.requests.sent;
    day.lost += row.requests.lost;
  }
  const Requests* worst = nullptr;
  std::int64_t worst_day = 0;
  for (const auto& [day, requests] : days) {
    if (requests.lost > 0 && (worst == nullptr || requests.LossPercent() > worst->LossPercent())) {
      worst = &requests;
      worst_day = day;
    }
  }
  if (worst == nullptr) return "no loss";
  return FormatTime("%dd.%mm.%yyyy", static_cast<CalendarTime>(worst_day * 86400)) + " (" +
         FormatFixed(worst->LossPercent(), 2) + "% loss)";
}

void Row(std::ostream& out, const std::vector<std::string>& cells, const char* cell) {
  out << "<tr>";
  for (const std::string& text : cells)
    out << '<' << cell << '>' << Html(text) << "</" << cell << '>';
  out << "</tr>\n";
}

}  // namespace

void WriteOverviewTable(std::ostream& out, const std::vector<HostSummary>& summaries) {
  out << "<div class=\"wide\"><table class=\"overview\">\n";
  Row(out, {"Host", "Address", "Period", "Loss", "Median", "95%", "Outages", "Worst day"}, "th");
  for (std::size_t i = 0; i < summaries.size(); ++i) {
    const HostSummary& s = summaries[i];
    const bool replies = s.round_trip.replies > 0;
    out << "<tr><td><a href=\"#host-" << i << "\">" << Html(s.host) << "</a></td>";
    for (const std::string& text :
         {FormatAddress(s.target), PeriodLine(s), FormatFixed(s.requests.LossPercent(), 2) + "%",
          replies ? std::to_string(s.round_trip.median) + " ms" : "-",
          replies ? std::to_string(s.round_trip.p95) + " ms" : "-",
          std::to_string(s.outages.size()), WorstDay(s)}) {
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
