#include "report/write/textfile.h"

#include <gtest/gtest.h>

#include <sstream>

#include "report/report_fixture.h"
#include "report/write/export_file.h"

namespace pinglog::report {
namespace {

std::string Textfile(const std::string& host, std::vector<Entry> entries) {
  LogSet logs;
  logs.files = {"a.log"};
  logs.hosts = {host};
  logs.entries = EntryStore(entries);
  const Report report = BuildReport(std::move(logs), {});
  std::ostringstream out;
  WriteTextfile(out, CountMetrics(report, ZoneTime("UTC")));
  return out.str();
}

// The live numbers as node_exporter reads them: the families' help and type lines, a
// host's label escaped, the histogram's buckets counting each reply at most their
// bound, its sum of every reply, the counters, the unanswered cycles in a row (a cycle
// that sent nothing changes nothing) and the address as an info series.
TEST(TextfileTest, WritesEveryFamilyAsItStands) {
  const CalendarTime t = ComposeTime(2021, 3, 1, 12, 0, 0);
  const std::string text =
      Textfile("a\\b\"c", {testing::MakeEntry(t, {5, 1, -11010}),
                           testing::MakeEntry(t + 60, {900, testing::kRouter, -5}),
                           testing::MakeEntry(t + 120, {-11010, -11010, -11010}),
                           testing::MakeEntry(t + 180, {-5, -5, -5})});
  const std::string labels = "{host=\"a\\\\b\\\"c\"";
  for (const std::string& line : std::vector<std::string>{
           "# HELP pinglog_cycles_total Logged cycles.",
           "# TYPE pinglog_cycles_total counter",
           "pinglog_cycles_total" + labels + "} 4",
           "pinglog_requests_total" + labels + "} 8",
           "pinglog_not_sent_total" + labels + ",error=\"5\"} 4",
           "pinglog_replies_total" + labels + "} 3",
           "pinglog_router_replies_total" + labels + ",router=\"198.51.100.254\"} 1",
           "pinglog_failures_total" + labels + ",error=\"11010\"} 4",
           "# TYPE pinglog_rtt_seconds histogram",
           "pinglog_rtt_seconds_bucket" + labels + ",le=\"0.001\"} 1",
           "pinglog_rtt_seconds_bucket" + labels + ",le=\"0.005\"} 2",
           "pinglog_rtt_seconds_bucket" + labels + ",le=\"0.5\"} 2",
           "pinglog_rtt_seconds_bucket" + labels + ",le=\"1\"} 3",
           "pinglog_rtt_seconds_bucket" + labels + ",le=\"+Inf\"} 3",
           "pinglog_rtt_seconds_sum" + labels + "} 0.906",
           "pinglog_rtt_seconds_count" + labels + "} 3",
           "pinglog_last_cycle_timestamp_seconds" + labels + "} 1614600180",
           "pinglog_unanswered_cycles" + labels + "} 1",
           "pinglog_target_info" + labels + ",address=\"192.0.2.1\"} 1",
       }) {
    EXPECT_NE(text.find(line + "\n"), std::string::npos) << line << "\n" << text;
  }
  // The highest bound, 5 s, holds a reply of 5000 ms; one of 5001 ms lies above it.
  const std::string slow = Textfile("b", {testing::MakeEntry(t, {5000, 5001, 5000})});
  EXPECT_NE(slow.find("le=\"5\"} 2\n"), std::string::npos) << slow;
  EXPECT_NE(slow.find("le=\"+Inf\"} 3\n"), std::string::npos) << slow;
}

// A write that fails halfway leaves nothing under the name asked for, and the file
// that was there stays as it was.
TEST(ExportTest, AFailedWriteLeavesTheOldFile) {
  const testing::TempFile file("metrics.prom");
  file.Write("old\n");
  std::string problem;
  EXPECT_FALSE(Export(
      file.path(),
      [](std::ostream& out) {
        out << "half of it";
        out.setstate(std::ios::badbit);
      },
      problem));
  EXPECT_EQ(problem, "cannot write " + file.path() + ": Input/output error");
  EXPECT_EQ(file.Read(), "old\n");
  EXPECT_FALSE(std::filesystem::exists(file.path() + ".partial"));
  // The next write replaces the file (on Windows too, where rename() would refuse to).
  EXPECT_TRUE(Export(
      file.path(), [](std::ostream& out) { out << "new\n"; }, problem))
      << problem;
  EXPECT_EQ(file.Read(), "new\n");
}

// A device is written into; when it is full, the system's own reason is told.
TEST(ExportTest, AFullDeviceSaysItIsFull) {
  if (!std::filesystem::exists("/dev/full")) GTEST_SKIP() << "no /dev/full here";
  std::string problem;
  EXPECT_FALSE(Export(
      "/dev/full", [](std::ostream& out) { out << std::string(100000, 'x'); }, problem));
  EXPECT_EQ(problem, "cannot write /dev/full: No space left on device");
}

}  // namespace
}  // namespace pinglog::report
