#include "report/live/follower.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "report/report_fixture.h"

namespace pinglog::report {
namespace {

// A log that grows, shrinks and is replaced between two looks; the follower's entries
// after each look.
TEST(LogFollowerTest, ReadsWhatALogGainedWholeLinesOnly) {
  const CalendarTime t = ComposeTime(2021, 3, 1, 0, 0, 0);
  const std::string one = testing::EntryLine(t, 1), two = testing::EntryLine(t + 60, 2),
                    three = testing::EntryLine(t + 120, 3);
  const struct {
    const char* situation;
    std::vector<std::pair<std::string, bool>> writes;  // text, appended (else replacing)
    std::vector<CalendarTime> times;                   // the entries read, in order
  } cases[] = {
      {"a line written in three pieces is one entry",
       {{one.substr(0, 20), false}, {one.substr(20, 100), true}, {one.substr(120), true}},
       {t}},
      {"a half line before a truncation does not swallow the next entry",
       {{one + two.substr(0, 50), false}, {three, false}},
       {t, t + 120}},
      {"a replaced log is read from its start again",
       {{one + two, false}, {three + three, false}},
       {t, t + 60, t + 120, t + 120}},
      {"a log first seen short and then replaced past its first bytes is read again",
       {{one.substr(0, 10), false}, {one.substr(10), true}, {two + three, false}},
       {t, t + 60, t + 120}},
      {"a log that does not exist yet is followed once it does", {{"", false}, {one, false}}, {t}},
      {"a log looked at again unchanged adds nothing", {{one, false}, {one, false}}, {t}},
      {"a log cut back to its first line (the same beginning) is read from its start again",
       {{one + two, false}, {one, false}},
       {t, t + 60, t}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.situation);
    const testing::TempFile log("followed.log");
    LogSet logs;
    std::uint32_t files = 0;
    LogFollower follower(log.path(), logs, files);
    for (const auto& [text, append] : c.writes) {
      if (text.empty()) {
        follower.Poll([] { return true; });  // not there yet
        continue;
      }
      log.Write(text, append);
      follower.Poll([] { return true; });
    }
    std::vector<CalendarTime> times;
    for (std::size_t i = 0; i < logs.entries.size(); ++i) times.push_back(logs.entries.TimeAt(i));
    EXPECT_EQ(times, c.times);
    EXPECT_EQ(logs.unparsed_count, 0u);
  }
}

// What is not an entry is counted, and the first thousand such lines are kept by place.
TEST(LogFollowerTest, KeepsTheFirstThousandLinesThatAreNoEntries) {
  const testing::TempFile log("followed.log");
  std::string junk;
  for (int i = 0; i < 1001; ++i) junk += "not an entry\n";
  log.Write(junk, false);
  LogSet logs;
  std::uint32_t files = 0;
  LogFollower follower(log.path(), logs, files);
  follower.Poll([] { return true; });
  EXPECT_EQ(logs.unparsed_count, 1001u);
  ASSERT_EQ(logs.unparsed.size(), LogSet::kUnparsedKept);
  EXPECT_EQ(logs.unparsed.back().line, 1000u);
}

// A file that ends before the size the system gave for it (as a log cut short between
// the look at its size and the read does, or any file of Linux's /sys) is read to its
// end, not waited on.
TEST(LogFollowerTest, AFileEndingBeforeItsSizeIsReadToItsEnd) {
  const std::string path = "/sys/devices/system/cpu/online";  // "0-1\n", its size 4096
  if (!std::filesystem::exists(path)) GTEST_SKIP() << "no " << path << " here";
  LogSet logs;
  std::uint32_t files = 0;
  LogFollower follower(path, logs, files);
  EXPECT_EQ(follower.Poll([] { return true; }), "");
  EXPECT_EQ(logs.unparsed_count, 1u);
}

}  // namespace
}  // namespace pinglog::report
