#include "report/options.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace pinglog::report {
namespace {

// What a command line that goes on was read as: the interval, --path's chains,
// --label's pairs, the period and --follow.
std::string ReadAs(const Options& o) {
  std::string read = "interval " + std::to_string(o.report.summary.interval_minutes);
  for (const std::vector<std::string>& chain : o.report.path) {
    read += "; path";
    for (const std::string& host : chain) read += " " + host;
  }
  for (const auto& [name, value] : o.labels) read += "; label " + name + "=" + value;
  if (o.chart.max_ms) read += "; max " + std::to_string(o.chart.max_ms) + " ms";
  if (o.load.from && o.load.to) {
    read += "; " + std::to_string(o.load.to->end - o.load.from->start) + " s";
  } else if (o.load.from || o.load.to) {
    read += o.load.from ? "; from" : "; to";
  }
  if (o.follow) read += "; follow";
  return read;
}

// Each option's bounds on either side, and the combinations that are refused: a usage
// problem (exit 2) said on one line, or the values the run goes on with.
TEST(ParseOptionsTest, ReadsEachOptionUpToItsBounds) {
  const struct {
    std::vector<std::string> options;  // after the log a.log
    std::string said;                  // a usage problem; none: the run goes on
    std::string read = "";             // what it went on with
  } rows[] = {
      {{}, "", "interval -1"},
      {{"--interval", "0"}, "", "interval 0"},
      {{"--interval", "9"}, "", "interval 9"},
      {{"--interval", "12"}, "", "interval 12"},
      {{"--interval", "000000005"}, "", "interval 5"},
      {{"--interval", "0000000005"}, "--interval 0000000005: not a number of minutes"},
      {{"--interval", "71582"}, "", "interval 71582"},
      {{"--interval", "71583"}, "--interval 71583: not a number of minutes from 0 to 71582"},
      {{"--interval", "5/"}, "--interval 5/: not a number"},
      {{"--interval", "5:"}, "--interval 5:: not a number"},
      {{"--max-ms", "100000"}, "", "interval -1; max 100000 ms"},
      {{"--max-ms", "100001"}, "--max-ms: Value 100001 not in range"},
      {{"--openmetrics", "m.txt", "--label", "job=ping"}, "", "interval -1; label job=ping"},
      {{"--openmetrics", "m.txt", "--label", "job="}, "", "interval -1; label job="},
      {{"--openmetrics", "m.txt", "--label", "azAZ09_=1"}, "", "interval -1; label azAZ09_=1"},
      {{"--openmetrics", "m.txt", "--label", "_a=1"}, "", "interval -1; label _a=1"},
      {{"--openmetrics", "m.txt", "--label", "__a=1"}, "--label __a=1: not NAME=VALUE"},
      {{"--openmetrics", "m.txt", "--label", "0a=1"}, "--label 0a=1: not NAME=VALUE"},
      {{"--openmetrics", "m.txt", "--label", "9a=1"}, "--label 9a=1: not NAME=VALUE"},
      {{"--openmetrics", "m.txt", "--label", "=1"}, "--label =1: not NAME=VALUE"},
      {{"--openmetrics", "m.txt", "--label", "a-b=1"}, "--label a-b=1: not NAME=VALUE"},
      {{"--label", "job=ping"}, "--label goes with --openmetrics FILE"},
      {{"--openmetrics", "m.txt", "--label", "job"}, "--label job: not NAME=VALUE"},
      {{"--openmetrics", "m.txt", "--label", "host=a"}, "--label host=a: not NAME=VALUE"},
      {{"--openmetrics", "m.txt", "--label", "job=a", "--label", "job=b"},
       "--label job is given twice"},
      {{"--follow"}, "--follow needs --textfile FILE"},
      {{"--follow", "--textfile", "-"}, "--follow rewrites its --textfile: give a file, not -"},
      {{"--follow", "--textfile", "t.prom"}, "", "interval -1; follow"},
      {{"--textfile", "-"}, "", "interval -1"},
      {{"--path", "a,b", "--path", "c"}, "", "interval -1; path a b; path c"},
      {{"--path", "a,"}, "--path a,: an empty host name"},
      {{"--path", ",a"}, "--path ,a: an empty host name"},
      {{"--path", "a,,b"}, "--path a,,b: an empty host name"},
      {{"--from", "2021-03-02 10:00", "--to", "2021-03-02 10:00"}, "", "interval -1; 60 s"},
      {{"--from", "2021-03-02 10:00", "--to", "2021-03-02 09:59"},
       "--from 2021-03-02 10:00 lies after --to 2021-03-02 09:59"},
      {{"--from", "2021-03-02 10:00", "--to", "2021-03-02"}, "", "interval -1; 50400 s"},
      {{"--from", "2021-03-02"}, "", "interval -1; from"},
      {{"--to", "2021-03-02"}, "", "interval -1; to"},
      {{"--json", "-", "--csv", "-"}, "--csv - and --json - would mix on standard output"},
  };
  for (const auto& row : rows) {
    std::vector<std::string> texts = {"pinglog-report", "a.log"};
    texts.insert(texts.end(), row.options.begin(), row.options.end());
    std::vector<char*> argv;
    for (std::string& text : texts) argv.push_back(text.data());
    SCOPED_TRACE(::testing::PrintToString(row.options));
    Options options;
    ::testing::internal::CaptureStderr();
    const std::optional<int> done =
        ParseOptions(static_cast<int>(argv.size()), argv.data(), options);
    const std::string said = ::testing::internal::GetCapturedStderr();
    if (row.said.empty()) {
      EXPECT_EQ(done, std::nullopt) << said;
      EXPECT_EQ(ReadAs(options), row.read);
    } else {
      EXPECT_EQ(done, kUsageProblem);
      EXPECT_EQ(said.rfind("pinglog-report: " + row.said, 0), 0u) << said;
      EXPECT_EQ(std::count(said.begin(), said.end(), '\n'), 1) << said;
    }
  }
}

}  // namespace
}  // namespace pinglog::report
