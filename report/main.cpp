// pinglog-report: reads one or more logs of the logger and says how good the
// connection was, and when it was bad.
#include <CLI/CLI.hpp>

#include <cstdio>
#include <fstream>
#include <functional>
#include <iostream>
#include <map>

#include "report/output.h"

namespace {

using namespace pinglog::report;

constexpr int kInputProblem = 1;
constexpr int kUsageProblem = 2;

int Fail(int code, const std::string& message) {
  std::cerr << "pinglog-report: " << message << '\n';
  return code;
}

// Writes an export next to its destination and renames it there, so that a failed
// or interrupted export never leaves a half-written file under the name asked for.
bool Export(const std::string& path, const std::function<void(std::ostream&)>& write,
            std::string& problem) {
  const std::string partial = path + ".partial";
  {
    std::ofstream out(partial, std::ios::binary | std::ios::trunc);
    if (out) write(out);
    out.flush();
    if (!out) {
      problem = "cannot write " + path;
      (void)std::remove(partial.c_str());
      return false;
    }
  }
  if (std::rename(partial.c_str(), path.c_str()) != 0) {
    problem = "cannot write " + path;
    (void)std::remove(partial.c_str());
    return false;
  }
  return true;
}

}  // namespace

int Run(int argc, char** argv) {
  CLI::App app{
      "Summarizes pinglog logs: period, missing cycles, loss, outages, round-trip times,\n"
      "failures and router replies, overall and per day. Times are local wall-clock times\n"
      "as the logger wrote them, without a time zone; they are not converted."};
  std::vector<std::string> files;
  std::int64_t interval = -1;
  std::string by = "day", csv, json, html;
  app.add_option("logs", files, "Log files, merged by time (per host)")->required();
  app.add_option("--interval", interval,
                 "Minutes between cycles (default: the most common gap between entries)")
      ->check(CLI::Range(0, 1000000));
  app.add_option("--by", by, "Table per day or per hour")->check(CLI::IsMember({"day", "hour"}));
  app.add_option("--csv", csv, "Write one row per attempt to FILE");
  app.add_option("--json", json, "Write the summary and the table to FILE");
  app.add_option("--html", html, "Write a page with the summary and a chart to FILE");
  try {
    app.parse(argc, argv);
  } catch (const CLI::CallForHelp&) {
    std::cout << app.help();
    return 0;
  } catch (const CLI::ParseError& error) {
    return Fail(kUsageProblem, std::string(error.what()) + " (see --help)");
  }

  LogSet logs;
  for (const std::string& file : files) {
    std::string problem;
    if (ReadLog(file, logs, problem) != ReadStatus::kRead) {
      std::string message = file;
      message += ": ";
      message += problem;
      return Fail(kInputProblem, message);
    }
  }
  SortByTime(logs);

  std::map<std::uint16_t, std::vector<const Entry*>> by_host;
  for (const Entry& entry : logs.entries) by_host[entry.host].push_back(&entry);
  SummaryOptions options;
  options.interval_minutes = interval;
  options.by_hour = by == "hour";
  std::vector<HostSummary> summaries;
  std::vector<std::vector<const Entry*>> entries_by_host;
  for (const auto& [host, entries] : by_host) {
    summaries.push_back(Summarize(logs.hosts[host], entries, options));
    entries_by_host.push_back(entries);
  }

  std::cout << "pinglog report: " << logs.entries.size() << " entries from " << logs.files.size()
            << (logs.files.size() == 1 ? " log" : " logs")
            << ". Times are local wall-clock times as logged, without a time zone.\n\n";
  for (const HostSummary& summary : summaries) {
    WriteSummaryText(std::cout, summary);
    std::cout << '\n';
  }
  WriteUnparsedText(std::cout, logs);

  std::string problem;
  if (!csv.empty() && !Export(
                          csv, [&](std::ostream& out) { WriteCsv(out, logs); }, problem)) {
    return Fail(kInputProblem, problem);
  }
  if (!json.empty() &&
      !Export(
          json, [&](std::ostream& out) { WriteJson(out, summaries, logs); }, problem)) {
    return Fail(kInputProblem, problem);
  }
  if (!html.empty() &&
      !Export(
          html, [&](std::ostream& out) { WriteHtml(out, summaries, entries_by_host); }, problem)) {
    return Fail(kInputProblem, problem);
  }
  return 0;
}

int main(int argc, char** argv) {
  try {
    return Run(argc, argv);
  } catch (const std::exception& error) {  // out of memory, a stream that throws
    return Fail(kInputProblem, error.what());
  }
}
