// pinglog-report: reads one or more logs of the logger and says how good the
// connection was, and when it was bad. Options, then the logs loaded, then the one
// model of them, then each output written from that model.
#include <algorithm>
#include <cstdlib>
#include <functional>
#include <iostream>
#include <memory>
#include <stdexcept>

#include "report/dropped_logs.h"
#include "report/live/follow_logs.h"
#include "report/logs/load_logs.h"
#include "report/logs/log_patterns.h"
#include "report/model/metrics_counter.h"
#include "report/model/report.h"
#include "report/options.h"
#include "report/output_clash.h"
#include "report/write/csv.h"
#include "report/write/export_file.h"
#include "report/write/json.h"
#include "report/write/openmetrics.h"
#include "report/write/page/html_page.h"
#include "report/write/say.h"
#include "report/write/svg.h"
#include "report/write/text.h"
#include "report/write/textfile.h"
#include "support/calendar_time.h"

namespace {

using namespace pinglog::report;

// Every export is attempted; each one that fails is its own line. Returns the exit code.
int WriteExports(const Options& options, const Report& report, const ZoneTime* zone) {
  int status = 0;
  const auto attempt = [&](const std::string& path,
                           const std::function<void(std::ostream&)>& write) {
    std::string problem;
    if (!path.empty() && !Export(path, write, problem)) status = Fail(kInputProblem, problem);
  };
  attempt(options.csv, [&](std::ostream& out) { WriteCsv(out, report); });
  attempt(options.json, [&](std::ostream& out) { WriteJson(out, report); });
  attempt(options.html,
          [&](std::ostream& out) { WriteHtml(out, report, options.chart, options.detail); });
  attempt(options.svg, [&](std::ostream& out) { WriteSvg(out, report, options.chart); });
  std::int64_t backwards = 0;
  attempt(options.openmetrics, [&](std::ostream& out) {
    backwards = WriteOpenMetrics(out, report, *zone, options.labels);
  });
  if (backwards > 0) {
    Say(std::to_string(backwards) +
        " entries went back in time (a clock stepped back): their counts are in the next "
        "sample that could be stored");
  }
  attempt(options.textfile,
          [&](std::ostream& out) { WriteTextfile(out, CountMetrics(report, *zone)); });
  return status;
}

// When the report is made: now, in this machine's wall-clock time; or, for outputs
// that must come out the same each time, SOURCE_DATE_EPOCH's moment in UTC.
std::string MadeNow() {
  const char* fixed = std::getenv("SOURCE_DATE_EPOCH");  // NOLINT(concurrency-mt-unsafe)
  const char* mask = "%dd.%mm.%yyyy %hh:%ii";
  if (fixed != nullptr && *fixed != '\0') {
    return pinglog::FormatTime(mask, std::strtoll(fixed, nullptr, 10)) + " UTC";
  }
  return pinglog::FormatTime(mask, pinglog::LocalNow());
}

int Run(int argc, char** argv) {
  Options options;
  if (const std::optional<int> done = ParseOptions(argc, argv, options)) return *done;
  // The zone, to name it, and for the outputs in Unix time; where this machine's zone
  // cannot be read, only those outputs and --tz need one.
  std::unique_ptr<ZoneTime> zone;
  try {
    zone = std::make_unique<ZoneTime>(options.tz);
  } catch (const std::runtime_error& error) {
    if (!options.tz.empty()) return Fail(kUsageProblem, "--tz " + options.tz + ": " + error.what());
    if (options.NeedsZone()) {
      return Fail(kUsageProblem, std::string(error.what()) + ": name the logs' zone with --tz");
    }
  }
  const auto said = [](const std::string& problem) { Fail(kInputProblem, problem); };
  // Nothing is read or written when an export would overwrite a log.
  const std::vector<std::string> patterns = options.load.files;
  options.load.files = ExpandLogArguments(patterns, [&](const std::string& pattern) {
    if (!options.follow) said(pattern + ": no file matches");  // the follower waits for it
  });
  if (const std::optional<std::string> clash = OutputClash(options, options.load.files)) {
    return Fail(kUsageProblem, *clash);
  }
  if (options.follow) {
    return FollowLogs(patterns, options.textfile, *zone, options.report.names,
                      {options.given_names, options.names_file});
  }

  // A file that cannot be read is named, and the others are reported.
  LogSet logs = LoadLogs(options.load, said);
  if (logs.entries.empty()) return kInputProblem;
  Report report = BuildReport(std::move(logs), options.report);
  for (const std::string& host : report.unknown_names) {
    Fail(0, "warning: --name " + host + ": no log holds this host");
  }
  for (const std::string& warning : report.name_warnings) Fail(0, "warning: " + warning);
  if (!report.unknown_path.empty()) {
    std::string names;
    for (const std::string& name : report.unknown_path) names += (names.empty() ? "" : ", ") + name;
    return Fail(kUsageProblem, "--path names hosts that no log holds: " + names);
  }
  report.made = MadeNow();
  if (zone) {
    report.zone = zone->Name();
    report.zone_given = !options.tz.empty();
  }
  // An export to standard output has it to itself.
  const auto& exports = options.Exports();
  if (std::none_of(exports.begin(), exports.end(),
                   [](const auto& e) { return WritesToStandardOutput(*e.path); })) {
    WriteText(std::cout, report);
    std::cout.flush();
  }
  return WriteExports(options, report, zone.get());
}

int RunGuarded(int argc, char** argv) {
  try {
    return Run(argc, argv);
  } catch (const std::exception& error) {  // out of memory, a stream that throws
    return Fail(kInputProblem, error.what());
  }
}

}  // namespace

int main(int argc, char** argv) {
  if (LogsDroppedOnProgram(argc, argv)) return ShowPageOfDroppedLogs(argc, argv, RunGuarded);
  return RunGuarded(argc, argv);
}
