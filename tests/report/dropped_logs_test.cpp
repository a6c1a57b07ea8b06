#include "report/dropped_logs.h"

#include <gtest/gtest.h>

#include "fakes/fake_platform.h"

namespace pinglog::report {
namespace {

// Logs dropped on the program: the page goes beside the first of them, and what the
// user sees is a notice, since there is no console to read.
TEST(DroppedLogsTest, WritesThePageBesideTheFirstLogAndTellsWhatHappened) {
  const struct {
    std::vector<std::string> arguments;
    int status;  // the report's own
    std::string page;
    std::string notice;
  } cases[] = {
      {{"pinglog-report", "C:\\logs\\week.log", "D:\\b.log"},
       0,
       "C:\\logs\\ping.html",
       "pinglog-report: The page C:\\logs\\ping.html was written but could not be opened: not "
       "available on this system\n"},
      {{"pinglog-report", "/srv/logs/week.log"},
       0,
       "/srv/logs/ping.html",
       "pinglog-report: The page /srv/logs/ping.html was written but could not be opened: not "
       "available on this system\n"},
      {{"pinglog-report", "week.log"},
       0,
       "ping.html",
       "pinglog-report: The page ping.html was written but could not be opened: not available "
       "on this system\n"},
      {{"pinglog-report", "/srv/logs/week.log"},
       1,
       "/srv/logs/ping.html",
       "pinglog-report: pinglog-report ended with code 1\n"},
  };
  for (const auto& c : cases) {
    testing::FakePlatform platform;
    std::vector<std::string> texts = c.arguments;
    std::vector<char*> argv;
    for (std::string& text : texts) argv.push_back(text.data());
    std::vector<std::string> given;
    const int status =
        ShowPageOfDroppedLogs(static_cast<int>(argv.size()), argv.data(), [&](int argc, char** v) {
          given.assign(v, v + argc);
          return c.status;
        });
    std::vector<std::string> expected = c.arguments;
    expected.insert(expected.end(), {"--html", c.page});
    EXPECT_EQ(given, expected);
    EXPECT_EQ(status, c.status);
    EXPECT_EQ(platform.notices, std::vector<std::string>{c.notice});
  }
  char program[] = "pinglog-report", log[] = "a.log", option[] = "--csv";
  char* alone[] = {program, nullptr};
  char* with_option[] = {program, log, option, nullptr};
  char* logs_only[] = {program, log, nullptr};
  EXPECT_FALSE(LogsDroppedOnProgram(1, alone));
  EXPECT_FALSE(LogsDroppedOnProgram(3, with_option));
  EXPECT_FALSE(LogsDroppedOnProgram(2, logs_only));  // this platform has no desktop
}

}  // namespace
}  // namespace pinglog::report
