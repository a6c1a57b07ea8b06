#include "report/logs/read_log.h"

#include <gtest/gtest.h>

#include "report/logs/line_splitter.h"
#include "report/report_fixture.h"

namespace pinglog::report {
namespace {

// Lines are cut out of blocks of a megabyte: lines that run across a block's end,
// and a last line without its line end, are read whole.
TEST(ReadLogTest, ReadsLinesAcrossBlocksWhole) {
  const CalendarTime start = ComposeTime(2021, 3, 1, 0, 0, 0);
  std::string text;
  int lines = 0;
  while (text.size() < 3 * (1 << 20)) text += testing::EntryLine(start + 60 * lines++, 7);
  text.resize(text.size() - 2);  // the last line without its CR LF
  const testing::TempFile log("blocks.log");
  log.Write(text);
  LogSet logs;
  std::string problem;
  ASSERT_EQ(ReadLog(log.path(), logs, problem), ReadStatus::kRead) << problem;
  EXPECT_EQ(logs.entries.size(), static_cast<std::size_t>(lines));
  EXPECT_EQ(logs.unparsed_count, 0u);
  EXPECT_EQ(logs.entries.back().time, start + 60 * (lines - 1));
}

// Blocks are parsed side by side: hosts, line numbers and the lines that are no entry
// come out as one reader taking the lines in order would have them, whatever lies
// across a block's end (a host first seen there, a line too long to hold).
TEST(ReadLogTest, NumbersLinesAndHostsAsOneReaderWould) {
  const CalendarTime start = ComposeTime(2021, 3, 1, 0, 0, 0);
  const auto entry = [&](int n, const std::string& host) {
    std::string line = testing::EntryLine(start + 60 * n, n % 90);
    for (std::size_t at = 0; (at = line.find("router1", at)) != std::string::npos;) {
      line.replace(at, 7, host);
      at += host.size();
    }
    return line;
  };
  std::string text;
  for (int n = 0; text.size() < 5 * (1 << 20); ++n) {
    text += entry(n, n % 7 == 0 ? "h" + std::to_string(n / 9000) : "router1");
    if (n % 5000 == 17) text += "not an entry\n";
    if (n % 9000 == 4000) text += std::string(kLongestLine + n % 3, 'x') + "\n";
  }
  text += std::string(70000, 'y');  // a last line too long, without its line end
  const testing::TempFile log("numbers.log");
  log.Write(text);
  LogSet read;
  std::string problem;
  ASSERT_EQ(ReadLog(log.path(), read, problem), ReadStatus::kRead) << problem;

  LogSet expected;
  expected.files.push_back(log.path());
  EntryReader reader(expected, 0);
  LineSplitter lines;
  const auto take = [&](std::string_view line) { reader.Take(line); };
  lines.Feed(text, take);
  lines.Finish(take);
  EXPECT_EQ(read.hosts, expected.hosts);
  EXPECT_EQ(read.unparsed_count, expected.unparsed_count);
  ASSERT_EQ(read.unparsed.size(), expected.unparsed.size());
  for (std::size_t i = 0; i < read.unparsed.size(); ++i) {
    EXPECT_EQ(read.unparsed[i].line, expected.unparsed[i].line);
  }
  ASSERT_EQ(read.entries.size(), expected.entries.size());
  for (std::size_t i = 0; i < read.entries.size(); ++i) {
    ASSERT_TRUE(SameMeasurement(read.entries[i], expected.entries[i])) << i;
    ASSERT_EQ(read.entries[i].line, expected.entries[i].line) << i;
  }
}

// What a file holds: its entries read, a line too long for an entry counted without
// being held, and a file without entries named with why.
TEST(ReadLogTest, ReadsEntriesAndNamesWhatIsNone) {
  const CalendarTime start = ComposeTime(2021, 3, 1, 0, 0, 0);
  const std::string entry = testing::EntryLine(start, 7);
  const LogTime past_2038 = ComposeWideTime({2040, 2, 29, 12, 0, 0});
  const char* kCrAlone =
      "no line is a log entry: its lines end in CR alone (an old Mac's line ends), where the "
      "logger writes CR LF; convert them, for example with tr '\\r' '\\n'";
  const struct {
    std::string text;
    ReadStatus status;
    std::size_t entries;
    std::uint64_t unparsed;
    const char* problem;
    LogTime last = 0;  // the last entry's time
  } cases[] = {
      {entry + std::string(1 << 20, 'a') + "\n" + entry, ReadStatus::kRead, 2, 1, "", start},
      {std::string(200000, 'x'), ReadStatus::kNoEntry, 0, 1, "no line is a log entry"},
      {"abc\rdef\r", ReadStatus::kNoEntry, 0, 1, kCrAlone},
      {"abc\r\ndef\r\n", ReadStatus::kNoEntry, 0, 2, "no line is a log entry"},
      {"abc", ReadStatus::kNoEntry, 0, 1, "no line is a log entry"},
      {testing::EntryLine(past_2038, 7), ReadStatus::kRead, 1, 0, "", past_2038},
      {"", ReadStatus::kEmpty, 0, 0, "the log is empty"},
  };
  for (const auto& c : cases) {
    const testing::TempFile log("what.log");
    log.Write(c.text);
    LogSet logs;
    std::string problem;
    EXPECT_EQ(ReadLog(log.path(), logs, problem), c.status) << c.problem;
    EXPECT_EQ(logs.entries.size(), c.entries) << c.problem;
    EXPECT_EQ(logs.unparsed_count, c.unparsed) << c.problem;
    EXPECT_EQ(problem, c.problem);
    EXPECT_EQ(logs.entries.empty() ? 0 : logs.entries.back().time, c.last) << c.problem;
  }
  const testing::TempFile directory("directory.log");
  std::filesystem::create_directories(directory.path());
  LogSet logs;
  std::string problem;
  EXPECT_EQ(ReadLog(directory.path(), logs, problem), ReadStatus::kUnreadable);
  EXPECT_EQ(problem, "a directory, not a log: skipped");

  // Of the lines that are no entry, all are counted and the first thousand kept, across
  // the blocks read.
  std::string lines;
  for (int i = 0; i < 1000; ++i) lines += "no entry\n";
  const testing::TempFile many("many.log");
  many.Write(testing::EntryLine(start, 7) + lines + std::string(1 << 20, 'a') + "\nno entry\n");
  LogSet read;
  EXPECT_EQ(ReadLog(many.path(), read, problem), ReadStatus::kRead);
  EXPECT_EQ(read.unparsed_count, 1002u);
  ASSERT_EQ(read.unparsed.size(), 1000u);
  EXPECT_EQ(read.unparsed.back().line, 1001u);
}

}  // namespace
}  // namespace pinglog::report
