#include "app/schedule.h"

#include <gtest/gtest.h>

#include "app/settings.h"
#include "app/startup.h"
#include "fakes/fake_platform.h"
#include "ping/cycle.h"
#include "support/numbered_files.h"

namespace pinglog {
namespace {

class ScheduleTest : public ::testing::Test {
 protected:
  void SetUp() override {
    InitFileTable();
    ResetSettings();
    testing::SetClock(platform_, 2030, 6, 15, 10, 0, 0);
  }
  void TearDown() override {
    CloseAllFiles();
    ResetSettings();
  }

  void Run(const std::string& interval, const std::string& end_time) {
    platform_.files["Kep.ini"] =
        "Host=127.0.0.1\nLog=ping.log\nInterval=" + interval + "\nEnd=" + end_time + "\n";
    ASSERT_TRUE(LoadSettings());
    platform_.events.clear();
    RunSchedule();
  }

  // Sleeps longer than a cycle's own short pauses: the schedule's interval.
  std::vector<std::uint32_t> IntervalPauses() const {
    std::vector<std::uint32_t> pauses;
    for (const auto ms : platform_.sleeps) {
      if (ms != kPauseAfterAttemptMs && ms != kShortestCycleMs) pauses.push_back(ms);
    }
    return pauses;
  }

  testing::FakePlatform platform_;
};

TEST_F(ScheduleTest, RunsTheFirstCycleAtOnceAndReadsTheClockOnlyAfterAPause) {
  Run("5", "2030-06-15 10:01:00");
  EXPECT_EQ(platform_.events.front(), "clock");
  EXPECT_EQ(platform_.events.back(), "clock");
  EXPECT_EQ(IntervalPauses(), std::vector<std::uint32_t>{300000});
  // Before the loop, the cycle's time stamp, after the pause.
  EXPECT_EQ(platform_.CountEvents("clock"), 3);
}

TEST_F(ScheduleTest, RunsCyclesUntilTheEndTimeIsReached) {
  Run("1", "2030-06-15 10:03:00");
  // Cycles start at 10:00, 10:01 and 10:02 (plus their own short pauses).
  EXPECT_EQ(IntervalPauses().size(), 3u);
}

TEST_F(ScheduleTest, RunsNoCycleForAnEndTimeThatIsPastInvalidOrBeyond2038) {
  for (const char* end : {"2030-06-15 10:00:00", "2030-06-15 09:59:59", "2030-02-30 12:00:00",
                          "2038-01-19 03:14:08", "", "tomorrow"}) {
    ResetSettings();
    Run("5", end);
    EXPECT_TRUE(platform_.sleeps.empty()) << end;
    EXPECT_EQ(platform_.CountEvents("clock"), 1) << end;
  }
}

TEST_F(ScheduleTest, PausesTheIntervalArithmeticGives) {
  const struct {
    const char* interval;
    std::uint32_t ms;
  } cases[] = {{"$A", 600000}, {" 2 minutes", 120000}, {"-1", 4294907296u}};
  for (const auto& c : cases) {
    ResetSettings();
    platform_.sleeps.clear();
    testing::SetClock(platform_, 2030, 6, 15, 10, 0, 0);
    Run(c.interval, "2030-06-15 10:00:01");
    EXPECT_EQ(IntervalPauses(), std::vector<std::uint32_t>{c.ms}) << c.interval;
  }
}

TEST_F(ScheduleTest, AZeroIntervalRunsCyclesBackToBack) {
  Run("", "2030-06-15 10:00:03");
  // Each cycle still takes its own three 100 ms pauses: 10 cycles in 3 seconds.
  EXPECT_EQ(IntervalPauses(), std::vector<std::uint32_t>(10, 0));
  EXPECT_EQ(platform_.files.count("ping.log"), 1u);
}

TEST_F(ScheduleTest, CyclesWhoseLookupFailsRepeatUntilTheEndTime) {
  platform_.files["Kep.ini"] = "Host=nowhere\nLog=ping.log\nInterval=1\nEnd=2030-06-15 10:05:00\n";
  ASSERT_TRUE(LoadSettings());
  RunSchedule();
  EXPECT_EQ(IntervalPauses(), std::vector<std::uint32_t>(5, 60000));
  EXPECT_EQ(platform_.CountEvents("lookup nowhere"), 5);
  EXPECT_EQ(platform_.files.count("ping.log"), 0u);
}

TEST(StartupTest, AMissingSettingsFileShowsTheNoticeAndEndsWithoutACycle) {
  testing::FakePlatform platform;
  ResetSettings();
  EXPECT_EQ(RunProgram(), 0);
  EXPECT_EQ(platform.notices,
            std::vector<std::string>{"Critical Information: Couldn't find the ini-File! Programm "
                                     "will be terminatet"});
  EXPECT_EQ(platform.CountEvents("clock"), 0);
  EXPECT_EQ(platform.CountEvents("echo"), 0);
}

TEST(StartupTest, ClosesEveryFileAndExitsWithZeroAfterTheSchedule) {
  testing::FakePlatform platform;
  ResetSettings();
  testing::SetClock(platform, 2030, 6, 15, 10, 0, 0);
  platform.files["Kep.ini"] = "Host=127.0.0.1\nLog=ping.log\nInterval=1\nEnd=2030-06-15 10:00:30";
  EXPECT_EQ(RunProgram(), 0);
  EXPECT_TRUE(platform.notices.empty());
  EXPECT_EQ(platform.CountEvents("open"), platform.CountEvents("close"));
  EXPECT_EQ(platform.blocks_outstanding, 0);
  ResetSettings();
}

}  // namespace
}  // namespace pinglog
