#include "report/options.h"

#include <CLI/CLI.hpp>

#include <iostream>
#include <tuple>

#include "report/write/export_file.h"
#include "support/domain.h"

namespace pinglog::report {
namespace {

constexpr const char* kDescription =
    "Summarizes pinglog logs: period, missing cycles, loss, outages, round-trip times,\n"
    "failures and router replies, overall and per day. Times are local wall-clock times\n"
    "as the logger wrote them, without a time zone; they are not converted. An outage\n"
    "runs from its first unanswered cycle to the first answered one; without one, to\n"
    "where the next cycle was due, before a gap (\"then no entries\") or at the end of\n"
    "the logs (still down at the last entry).";

// "--interval 5": a whole number of minutes the logger can pause, nothing else.
bool ParseMinutes(const std::string& text, std::int64_t& minutes) {
  if (text.empty() || text.size() > 9) return false;
  minutes = 0;
  for (const char c : text) {
    if (c < '0' || c > '9') return false;
    minutes = minutes * 10 + (c - '0');
  }
  return minutes <= kLongestIntervalMinutes;
}

struct Texts {
  std::string interval, by = "day", detail = "levels", from, to, names_file;
  std::vector<std::string> labels, names, paths;
};

void AddOptions(CLI::App& app, Options& o, Texts& t) {
  app.add_option("logs", o.load.files,
                 "Log files, merged by time (per host); - reads standard input")
      ->required()
      ->type_name("LOG");
  app.add_option("--interval", t.interval,
                 "The logger's interval (0: back to back; default: inferred from the log)")
      ->type_name("MINUTES");
  app.add_option("--by", t.by, "Table per day or per hour")
      ->check(CLI::IsMember({"day", "hour"}).description(""))
      ->type_name("day|hour");
  app.add_option("--csv", o.csv, "Write one row per attempt to FILE")->type_name("FILE");
  app.add_option("--json", o.json, "Write the summary and the table to FILE")->type_name("FILE");
  app.add_option("--html", o.html, "Write a page with the summary and a chart to FILE")
      ->type_name("FILE");
  app.add_option("--max-ms", o.chart.max_ms,
                 "The top of the charts' scale (default: just above the bulk of the round trips)")
      ->type_name("N")
      ->check(CLI::Range(1, 100000));
  app.add_option("--detail", t.detail,
                 "What the page carries of days older than the last 10: levels (buckets of 30 "
                 "min and wider) or all (every cycle)")
      ->check(CLI::IsMember({"levels", "all"}).description(""))
      ->type_name("levels|all");
  app.add_option("--svg", o.svg, "Write the chart of every host as a standalone SVG to FILE")
      ->type_name("FILE");
  app.add_option("--openmetrics", o.openmetrics,
                 "Write every cycle as OpenMetrics text for Prometheus's backfill to FILE")
      ->type_name("FILE");
  app.add_option("--textfile", o.textfile,
                 "Write the metrics as they stand to FILE, for node_exporter's textfile collector")
      ->type_name("FILE");
  app.add_flag("--follow", o.follow,
               "Keep reading the logs as they grow and rewrite the --textfile after each entry");
  app.add_option("--from", t.from, "Only the entries from TIME on (local, like the log's)")
      ->type_name("TIME");
  app.add_option("--to", t.to, "Only the entries up to TIME, that day or minute included")
      ->type_name("TIME");
  app.add_option("--label", t.labels,
                 "Put NAME=VALUE on every --openmetrics series, as a live scrape puts job and "
                 "instance (repeatable)")
      ->type_name("NAME=VALUE");
  app.add_option("--path", t.paths,
                 "Hosts in the order a packet meets them, nearest first, comma-separated (as "
                 "the log names them, or their addresses; default: from the replies' TTL); "
                 "repeatable, one branch each")
      ->type_name("HOST,...");
  app.add_option("--name", t.names,
                 "Call HOST (as the log names it, or its address) NAME in every output "
                 "(repeatable)")
      ->type_name("HOST=NAME");
  app.add_option("--names", t.names_file, "Read HOST=NAME lines from FILE, as --name takes them")
      ->type_name("FILE");
  app.add_flag("--no-incidents", o.no_incidents,
               "Leave out the incidents across hosts: for logs written on several machines");
  app.add_option("--tz", o.tz,
                 "The zone the logs were written in: an IANA name, on Windows a Windows name "
                 "(default: this machine's; TZ honoured)")
      ->type_name("ZONE");
}

// --label NAME=VALUE: a label name of Prometheus's that is none of ours, each once.
std::optional<int> TakeLabels(const std::vector<std::string>& labels, Options& o) {
  if (!labels.empty() && o.openmetrics.empty()) {
    return Fail(kUsageProblem, "--label goes with --openmetrics FILE");
  }
  for (const std::string& label : labels) {
    const std::size_t equals = label.find('=');
    const std::string name = label.substr(0, equals);
    if (equals == std::string::npos || !ExtraLabelName(name)) {
      return Fail(kUsageProblem, "--label " + label +
                                     ": not NAME=VALUE with a label name of letters, digits and "
                                     "_ other than host, address, error, router, le and name");
    }
    for (const auto& [taken, value] : o.labels) {
      if (taken == name) return Fail(kUsageProblem, "--label " + name + " is given twice");
    }
    o.labels.emplace_back(name, label.substr(equals + 1));
  }
  return std::nullopt;
}

// --name HOST=NAME and the lines of --names FILE (blank lines and # comments left out).
std::optional<int> TakeNames(const Texts& t, Options& o) {
  o.names_file = t.names_file;
  o.given_names = t.names;
  const std::string problem =
      ReadHostNames(t.names, t.names_file, o.report.names,
                    [](const std::string& warning) { Fail(0, "warning: " + warning); });
  if (!problem.empty()) return Fail(kUsageProblem, problem);
  return std::nullopt;
}

// The values given as text: the interval, the table's rows, the period.
std::optional<int> TakeTexts(const Texts& t, Options& o) {
  if (!t.interval.empty() && !ParseMinutes(t.interval, o.report.summary.interval_minutes)) {
    return Fail(kUsageProblem, "--interval " + t.interval + ": not a number of minutes from 0 to " +
                                   std::to_string(kLongestIntervalMinutes) +
                                   " (the logger's longest pause)");
  }
  o.report.summary.by_hour = t.by == "hour";
  o.detail = t.detail == "all" ? PageDetail::kEveryCycle : PageDetail::kLevels;
  if (o.follow && o.textfile.empty()) return Fail(kUsageProblem, "--follow needs --textfile FILE");
  if (o.follow && WritesToStandardOutput(o.textfile)) {
    return Fail(kUsageProblem, "--follow rewrites its --textfile: give a file, not -");
  }
  for (auto [text, bound, option] :
       {std::tuple{&t.from, &o.load.from, "--from"}, std::tuple{&t.to, &o.load.to, "--to"}}) {
    if (text->empty()) continue;
    *bound = ParseLocalTime(*text);
    if (!*bound) {
      return Fail(kUsageProblem, std::string(option) + " " + *text +
                                     ": not a time (YYYY-MM-DD, YYYY-MM-DD HH:MM or "
                                     "YYYY-MM-DD HH:MM:SS)");
    }
  }
  for (const std::string& path : t.paths) {
    std::vector<std::string>& chain = o.report.path.emplace_back();
    for (std::size_t start = 0; start <= path.size();) {
      const std::size_t comma = std::min(path.find(',', start), path.size());
      if (comma == start) return Fail(kUsageProblem, "--path " + path + ": an empty host name");
      chain.push_back(path.substr(start, comma - start));
      start = comma + 1;
    }
  }
  o.report.incidents = !o.no_incidents;
  if (const std::optional<int> done = TakeNames(t, o)) return done;
  if (o.load.from && o.load.to && o.load.from->start >= o.load.to->end) {
    return Fail(kUsageProblem, "--from " + t.from + " lies after --to " + t.to);
  }
  return TakeLabels(t.labels, o);
}

}  // namespace

std::optional<int> ParseOptions(int argc, char** argv, Options& options) {
  CLI::App app{kDescription, "pinglog-report"};
  app.set_version_flag("--version", std::string("pinglog-report ") + PINGLOG_VERSION);
  Texts texts;
  AddOptions(app, options, texts);
  try {
    app.parse(argc, argv);
  } catch (const CLI::CallForHelp&) {
    std::cout << app.help();
    return 0;
  } catch (const CLI::CallForVersion&) {
    std::cout << app.version() << '\n';
    return 0;
  } catch (const CLI::ParseError& error) {
    return Fail(kUsageProblem, std::string(error.what()) + " (see --help)");
  }
  std::string standard_output;  // the first export there: "--json -"
  for (const auto& [option, path] : options.Exports()) {
    if (app.count(option) > 0 && path->empty()) {
      return Fail(kUsageProblem, std::string(option) +
                                     ": no file name given (- writes to "
                                     "standard output)");
    }
    if (path->empty() || !WritesToStandardOutput(*path)) continue;
    const std::string given = std::string(option) + " " + *path;
    if (!standard_output.empty()) {
      return Fail(kUsageProblem, standard_output.append(" and ").append(given).append(
                                     " would mix on standard output: give one a file"));
    }
    standard_output = given;
  }
  return TakeTexts(texts, options);
}

}  // namespace pinglog::report
