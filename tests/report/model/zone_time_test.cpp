#include "report/model/zone_time.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>
#include <stdexcept>
#include <string>

namespace pinglog::report {
namespace {

TEST(ZoneTimeTest, TurnsLocalTimesIntoUnixTimesInTheOrderOfTheLog) {
  const ZoneTime berlin("Europe/Berlin");
  const CalendarTime repeated = ComposeTime(2021, 10, 31, 2, 30, 0);  // fall back: twice
  const std::int64_t first = 1635640200, second = 1635643800;         // 00:30 and 01:30 UTC
  const struct {
    CalendarTime local;
    std::int64_t after;
    std::optional<std::int64_t> unix_time;
  } cases[] = {
      {ComposeTime(2021, 7, 1, 12, 0, 0), INT64_MIN, 1625133600},  // summer: UTC+2
      {ComposeTime(2021, 1, 1, 12, 0, 0), INT64_MIN, 1609498800},  // winter: UTC+1
      {repeated, INT64_MIN, first},
      {repeated, first, second},         // the second 02:30 comes after the first
      {repeated, second, std::nullopt},  // a clock stepped back: no time in order
      {ComposeTime(2021, 3, 28, 2, 30, 0), INT64_MIN, 1616893200},  // skipped: the change
  };
  for (const auto& c : cases) {
    EXPECT_EQ(berlin.ToUnix(c.local, c.after), c.unix_time) << c.local << " after " << c.after;
  }
  EXPECT_THROW(ZoneTime("Mars/Olympus_Mons"), std::runtime_error);
}

// Without a zone named, TZ as the C library reads it, or, without TZ, the machine's own;
// an unknown zone is told with where its name came from.
TEST(ZoneTimeTest, TakesTheZoneFromTzWhereNoneIsNamed) {
  const char* kept = std::getenv("TZ");
  const std::optional<std::string> before = kept ? std::optional<std::string>(kept) : std::nullopt;
  const auto said = [](const std::string& name) {
    try {
      return ZoneTime(name).Name();
    } catch (const std::runtime_error& e) {
      return std::string(e.what());
    }
  };
  const struct {
    const char* tz;  // nullptr: unset
    const char* name;
    std::string says;
  } rows[] = {
      {"Europe/Berlin", "", "Europe/Berlin"},
      {":Europe/Berlin", "", "Europe/Berlin"},
      {"Nowhere/Else", "", "unknown time zone Nowhere/Else (TZ names it)"},
      {"Nowhere/Else", "Asia/Tokyo", "Asia/Tokyo"},
      {"Europe/Berlin", "Nowhere", "unknown time zone Nowhere"},
      {nullptr, "", ""},  // "": the machine's zone, whichever it is
  };
  for (const auto& row : rows) {
    if (row.tz != nullptr) {
      setenv("TZ", row.tz, 1);  // NOLINT(concurrency-mt-unsafe): the tests run one at a time
    } else {
      unsetenv("TZ");  // NOLINT(concurrency-mt-unsafe)
    }
    const std::string says = said(row.name);
    if (row.says.empty()) {
      EXPECT_EQ(says.find("unknown"), std::string::npos) << says;
    } else {
      EXPECT_EQ(says, row.says) << (row.tz ? row.tz : "(no TZ)") << " " << row.name;
    }
  }
  if (before) {
    setenv("TZ", before->c_str(), 1);  // NOLINT(concurrency-mt-unsafe)
  } else {
    unsetenv("TZ");  // NOLINT(concurrency-mt-unsafe)
  }
}

}  // namespace
}  // namespace pinglog::report
