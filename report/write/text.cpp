#include "report/write/text.h"
#include "report/write/host_words.h"

#include <algorithm>
#include <iomanip>

#include "report/write/episode_words.h"
#include "report/write/incident_words.h"
#include "report/write/summary_facts.h"
#include "report/write/words.h"

namespace pinglog::report {
namespace {

void WriteSummaryText(std::ostream& out, const HostSummary& s,
                      const std::vector<std::string>& files, bool several) {
  out << "Host " << HostHeading(s) << (several ? ", " + HopsText(s) : "") << "\n";
  // A heading with its lines: the first beside it, the others below; "none" for none.
  for (const Fact& fact : SummaryFacts(s, files)) {
    out << "  " << std::left << std::setw(13) << fact.heading << std::right;
    if (fact.lines.empty()) out << "none\n";
    for (std::size_t i = 0; i < fact.lines.size(); ++i) {
      out << (i == 0 ? "" : "               ") << fact.lines[i] << '\n';
    }
  }
  static constexpr int kWidths[] = {8, 8, 8, 8, 8, 6, 8, 6, 9, 7, 8};
  out << '\n';
  for (const std::vector<std::string>& row : PeriodTable(s)) {
    out << "  " << std::left << std::setw(s.by_hour ? 16 : 12) << row[0] << std::right;
    for (std::size_t i = 1; i < row.size(); ++i) out << std::setw(kWidths[i - 1]) << row[i];
    out << '\n';
  }
}

// Before the hosts: each incident on a line (the longest, where there are many), what
// each host did under it.
void WriteIncidentsText(std::ostream& out, const Report& report) {
  if (report.hosts.size() < 2) return;
  out << IncidentsHeading(report) << '\n';
  std::size_t width = 0;
  for (const HostReport& host : report.hosts) width = std::max(width, Called(host.summary).size());
  width = std::min<std::size_t>(width, 40);
  const std::vector<const Incident*> listed = ListedIncidents(report);
  for (const Incident* incident : listed) {
    out << "  " << IncidentWhen(*incident) << ": " << VerdictText(*incident, report) << '\n';
    if (incident->verdict == Verdict::kNotLogging) continue;
    for (const IncidentHost& host : incident->hosts) {
      out << "      " << std::left << std::setw(static_cast<int>(width) + 2)
          << Called(report.hosts[host.host].summary) << std::right
          << HostStateText(*incident, host, report) << '\n';
    }
    const std::string others = OthersAnsweredText(*incident);
    if (!others.empty()) out << "      " << others << '\n';
  }
  const std::string more = MoreIncidentsText(report, listed.size());
  if (!more.empty()) out << "  " << more << '\n';
  out << '\n';
}

// After the incidents: each episode of degradation on a line, each host's figures
// under it.
void WriteEpisodesText(std::ostream& out, const Report& report) {
  if (report.episodes.empty()) return;
  out << EpisodesHeading(report) << '\n';
  const std::vector<const Episode*> listed = ListedEpisodes(report);
  for (const Episode* episode : listed) {
    out << "  " << EpisodeWhen(*episode) << ": " << EpisodeText(*episode, report) << '\n';
    for (const EpisodeHost& host : episode->hosts) {
      out << "      " << std::left << std::setw(28) << Called(report.hosts[host.host].summary)
          << std::right << (host.degraded ? "degraded: " : "") << EpisodeHostText(host, report)
          << '\n';
    }
  }
  const std::string more = MoreEpisodesText(report, listed.size());
  if (!more.empty()) out << "  " << more << '\n';
  out << '\n';
}

void WriteUnparsedText(std::ostream& out, const LogSet& logs) {
  if (logs.unparsed_count == 0) return;
  out << "Lines that are not log entries (not counted): " << logs.unparsed_count << '\n';
  for (const UnparsedLine& line : logs.unparsed) {
    out << "  " << logs.files[line.file] << ':' << line.line << '\n';
  }
  if (logs.unparsed_count > logs.unparsed.size()) {
    out << "  ... and " << logs.unparsed_count - logs.unparsed.size() << " more\n";
  }
}

}  // namespace

void WriteText(std::ostream& out, const Report& report) {
  const LogSet& logs = report.logs;
  out << "pinglog report: "
      << Plural(static_cast<std::int64_t>(logs.entries.size()), "entry", "entries") << " from "
      << Plural(static_cast<std::int64_t>(logs.files.size()), "log", "logs") << ". "
      << TimesLine(report) << "\n\n";
  const std::string dropped = DuplicatesLine(report);
  if (!dropped.empty()) out << dropped << "\n\n";
  WriteIncidentsText(out, report);
  WriteEpisodesText(out, report);
  for (const HostReport& host : report.hosts) {
    WriteSummaryText(out, host.summary, logs.files, report.hosts.size() > 1);
    out << '\n';
  }
  WriteUnparsedText(out, logs);
}

}  // namespace pinglog::report
