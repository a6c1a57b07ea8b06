#include "report/logs/log_patterns.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "report/report_fixture.h"

namespace pinglog::report {
namespace {

TEST(ExpandLogPatternTest, MatchesNamesInEachPartOfThePath) {
  const testing::TempFile dir("logs");
  namespace fs = std::filesystem;
  fs::create_directories(fs::path(dir.path()) / "router1");
  fs::create_directories(fs::path(dir.path()) / "router2");
  for (const char* name : {"a.log", "b.log", ".hidden.log", "a.txt", "router1/ping.log",
                           "router2/ping.log", "router2/old.log"}) {
    std::ofstream(fs::path(dir.path()) / name) << "";
  }
  const std::string long_name = std::string(200, 'a') + ".log";
  std::ofstream(fs::path(dir.path()) / long_name) << "";
  const std::string d = dir.path() + "/";
  const struct {
    std::string pattern;
    std::vector<std::string> paths;
  } cases[] = {
      {d + "*.log", {d + "a.log", d + long_name, d + "b.log"}},
      {d + "?.log", {d + "a.log", d + "b.log"}},
      {d + "*/ping.log", {d + "router1/ping.log", d + "router2/ping.log"}},
      {d + "router2/*", {d + "router2/old.log", d + "router2/ping.log"}},
      {d + "none/*.log", {}},
      {d + "later.log", {d + "later.log"}},   // no wildcard: taken as it is
      {d + "*a*a*a*a*a*a*a*a*a*a*.lug", {}},  // many stars: at once, not after hours
      {d + "a*a*a*a*a*a*a*a*a*a*a.log", {d + long_name}},
  };
  for (const auto& c : cases) EXPECT_EQ(ExpandLogPattern(c.pattern), c.paths) << c.pattern;
}

}  // namespace
}  // namespace pinglog::report
