// pinglog-report's command line: what to read, for which period, and what to write.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "report/logs/load_logs.h"
#include "report/model/chart_model.h"
#include "report/model/report.h"
#include "report/write/exposition.h"
#include "report/write/page/detail_levels.h"
#include "report/write/say.h"

namespace pinglog::report {

inline constexpr int kInputProblem = 1;
inline constexpr int kUsageProblem = 2;

struct Options {
  LoadRequest load;      // the logs and the period
  ReportOptions report;  // the summaries, the hosts' order, incidents
  ChartOptions chart;
  PageDetail detail = PageDetail::kLevels;  // what the page carries of older days
  std::string csv, json, html, svg, openmetrics, textfile;
  std::string tz;
  ExtraLabels labels;  // --label NAME=VALUE, for --openmetrics
  // The names as given, read again by the follower on SIGHUP: --name and --names.
  std::vector<std::string> given_names;
  std::string names_file;
  bool follow = false;
  bool no_incidents = false;
  bool NeedsZone() const { return !openmetrics.empty() || !textfile.empty(); }

  // Every export: its option and its path ("" when not asked for; "-": standard output).
  struct Export {
    const char* option;
    const std::string* path;
  };
  std::array<Export, 6> Exports() const {
    return {{{"--csv", &csv},
             {"--json", &json},
             {"--html", &html},
             {"--svg", &svg},
             {"--openmetrics", &openmetrics},
             {"--textfile", &textfile}}};
  }
};

// Reads the command line into `options`. Returns the exit code when the program is
// done already: 0 after --help, kUsageProblem after a usage error (said on stderr).
std::optional<int> ParseOptions(int argc, char** argv, Options& options);

}  // namespace pinglog::report
