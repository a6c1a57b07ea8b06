// pinglog-report: reads one or more logs of the logger and says how good the
// connection was, and when it was bad.
#include <CLI/CLI.hpp>

#include <functional>
#include <iostream>
#include <map>
#include <memory>
#include <optional>
#include <stdexcept>
#include <tuple>

#include "report/clock_jumps.h"
#include "report/duplicates.h"
#include "report/export_file.h"
#include "report/follow_logs.h"
#include "report/openmetrics.h"
#include "report/output.h"
#include "report/period.h"

namespace {

using namespace pinglog::report;

constexpr int kInputProblem = 1;
constexpr int kUsageProblem = 2;

int Fail(int code, const std::string& message) {
  std::cerr << "pinglog-report: " << message << '\n';
  return code;
}

// "--interval 5": a whole number of minutes, nothing else.
bool ParseMinutes(const std::string& text, std::int64_t& minutes) {
  if (text.empty() || text.size() > 9) return false;
  minutes = 0;
  for (const char c : text) {
    if (c < '0' || c > '9') return false;
    minutes = minutes * 10 + (c - '0');
  }
  return true;
}

void SayDuplicates(const LogSet& logs) {
  std::int64_t dropped = 0;
  for (const auto& [files, count] : logs.duplicates) dropped += count;
  if (dropped == 0) return;
  std::cout << "Dropped " << dropped << (dropped == 1 ? " entry" : " entries")
            << " that another log already holds:";
  const char* separator = " ";
  for (const auto& [files, count] : logs.duplicates) {
    std::cout << separator << count << " of " << logs.files[files.first] << " (in "
              << logs.files[files.second] << ")";
    separator = ", ";
  }
  std::cout << ".\n\n";
}

}  // namespace

int Run(int argc, char** argv) {
  CLI::App app{
      "Summarizes pinglog logs: period, missing cycles, loss, outages, round-trip times,\n"
      "failures and router replies, overall and per day. Times are local wall-clock times\n"
      "as the logger wrote them, without a time zone; they are not converted.",
      "pinglog-report"};
  std::vector<std::string> files;
  std::string interval_text, by = "day", csv, json, html, openmetrics, textfile, tz, from_text,
                             to_text, svg;
  bool follow = false;
  ChartOptions chart;
  app.add_option("logs", files, "Log files, merged by time (per host); - reads standard input")
      ->required()
      ->type_name("LOG");
  app.add_option("--interval", interval_text,
                 "The logger's interval (0: back to back; default: inferred from the log)")
      ->type_name("MINUTES");
  app.add_option("--by", by, "Table per day or per hour")
      ->check(CLI::IsMember({"day", "hour"}).description(""))
      ->type_name("day|hour");
  app.add_option("--csv", csv, "Write one row per attempt to FILE")->type_name("FILE");
  app.add_option("--json", json, "Write the summary and the table to FILE")->type_name("FILE");
  app.add_option("--html", html, "Write a page with the summary and a chart to FILE")
      ->type_name("FILE");
  app.add_option("--max-ms", chart.max_ms,
                 "The top of the charts' scale (default: just above the bulk of the round trips)")
      ->type_name("N")
      ->check(CLI::Range(1, 100000));
  app.add_option("--svg", svg, "Write the chart of every host as a standalone SVG to FILE")
      ->type_name("FILE");
  app.add_option("--openmetrics", openmetrics,
                 "Write every cycle as OpenMetrics text for Prometheus's backfill to FILE")
      ->type_name("FILE");
  app.add_option("--textfile", textfile,
                 "Write the metrics as they stand to FILE, for node_exporter's textfile collector")
      ->type_name("FILE");
  app.add_flag("--follow", follow,
               "Keep reading the logs as they grow and rewrite the --textfile after each entry");
  app.add_option("--from", from_text, "Only the entries from TIME on (local, like the log's)")
      ->type_name("TIME");
  app.add_option("--to", to_text, "Only the entries up to TIME, that day or minute included")
      ->type_name("TIME");
  app.add_option("--tz", tz,
                 "The zone the logs were written in (default: this machine's; TZ honoured)")
      ->type_name("ZONE");
  try {
    app.parse(argc, argv);
  } catch (const CLI::CallForHelp&) {
    std::cout << app.help();
    return 0;
  } catch (const CLI::ParseError& error) {
    return Fail(kUsageProblem, std::string(error.what()) + " (see --help)");
  }
  std::int64_t interval = -1;
  if (!interval_text.empty() && !ParseMinutes(interval_text, interval)) {
    return Fail(kUsageProblem, "--interval " + interval_text + ": not a number of minutes");
  }

  if (follow && textfile.empty()) return Fail(kUsageProblem, "--follow needs --textfile FILE");
  std::optional<TimeSpan> from, to;
  for (auto [text, bound, option] :
       {std::tuple{&from_text, &from, "--from"}, std::tuple{&to_text, &to, "--to"}}) {
    if (text->empty()) continue;
    *bound = ParseLocalTime(*text);
    if (!*bound) {
      return Fail(kUsageProblem, std::string(option) + " " + *text +
                                     ": not a time (YYYY-MM-DD, YYYY-MM-DD HH:MM or "
                                     "YYYY-MM-DD HH:MM:SS)");
    }
  }
  if (from && to && from->start >= to->end) {
    return Fail(kUsageProblem, "--from " + from_text + " lies after --to " + to_text);
  }
  std::unique_ptr<ZoneTime> zone;
  if (!openmetrics.empty() || !textfile.empty()) {
    try {
      zone = std::make_unique<ZoneTime>(tz);
    } catch (const std::runtime_error& error) {
      return Fail(kUsageProblem, "--tz " + tz + ": " + error.what());
    }
  }
  if (follow) return FollowLogs(files, textfile, *zone);

  // A file that cannot be read is named, and the others are reported.
  LogSet logs;
  for (const std::string& file : files) {
    std::string problem;
    if (ReadLog(file, logs, problem) != ReadStatus::kRead) {
      std::string message = file;
      message += ": ";
      message += problem;
      Fail(kInputProblem, message);
    }
  }
  if (logs.entries.empty()) return kInputProblem;
  FindClockJumps(logs);
  if ((from || to) && KeepPeriod(logs, from, to) == 0) {
    return Fail(kInputProblem, "no entry lies in the period asked for");
  }
  SortByTime(logs);
  DropDuplicates(logs);

  std::map<std::uint16_t, std::vector<const Entry*>> by_host;
  for (const Entry& entry : logs.entries) by_host[entry.host].push_back(&entry);
  SummaryOptions options;
  options.interval_minutes = interval;
  options.by_hour = by == "hour";
  std::vector<HostSummary> summaries;
  std::vector<std::vector<const Entry*>> entries_by_host;
  for (const auto& [host, entries] : by_host) {
    summaries.push_back(Summarize(logs.hosts[host], entries, options, logs.clock_jumps));
    entries_by_host.push_back(entries);
  }

  std::cout << "pinglog report: " << logs.entries.size() << " entries from " << logs.files.size()
            << (logs.files.size() == 1 ? " log" : " logs")
            << ". Times are local wall-clock times as logged, without a time zone.\n\n";
  SayDuplicates(logs);
  for (const HostSummary& summary : summaries) {
    WriteSummaryText(std::cout, summary, logs.files);
    std::cout << '\n';
  }
  WriteUnparsedText(std::cout, logs);
  std::cout.flush();

  // Every export is attempted; each one that fails is its own line.
  int status = 0;
  const auto attempt = [&](const std::string& path,
                           const std::function<void(std::ostream&)>& write) {
    std::string problem;
    if (!path.empty() && !Export(path, write, problem)) status = Fail(kInputProblem, problem);
  };
  attempt(csv, [&](std::ostream& out) { WriteCsv(out, logs); });
  attempt(json, [&](std::ostream& out) { WriteJson(out, summaries, logs); });
  attempt(html, [&](std::ostream& out) {
    WriteHtml(out, summaries, entries_by_host, logs.files, chart);
  });
  attempt(svg, [&](std::ostream& out) { WriteSvg(out, summaries, entries_by_host, chart); });
  std::int64_t backwards = 0;
  attempt(openmetrics, [&](std::ostream& out) {
    backwards = WriteOpenMetrics(out, logs, entries_by_host, *zone);
  });
  if (backwards > 0) {
    std::cerr << "pinglog-report: " << backwards
              << " entries went back in time (a clock stepped back): their counts are in the "
                 "next sample that could be stored\n";
  }
  attempt(textfile, [&](std::ostream& out) {
    std::vector<LabelledMetrics> hosts;
    for (const auto& entries : entries_by_host) {
      LabelledMetrics host{HostLabels(logs.hosts[entries.front()->host], entries.back()->target),
                           {}};
      std::int64_t last = INT64_MIN;
      for (const Entry* entry : entries) {
        last = zone->NextInLog(entry->time, last).value_or(last);
        host.metrics.Add(*entry, last);
      }
      hosts.push_back(std::move(host));
    }
    WriteTextfile(out, hosts);
  });
  return status;
}

int main(int argc, char** argv) {
  try {
    return Run(argc, argv);
  } catch (const std::exception& error) {  // out of memory, a stream that throws
    return Fail(kInputProblem, error.what());
  }
}
