#include "report/logs/duplicates.h"

#include <gtest/gtest.h>

#include <string>

#include "report/report_fixture.h"

namespace pinglog::report {
namespace {

constexpr LogTime kStart = 1700000000;

Entry Measurement(int which, std::uint32_t file) {
  Entry e = testing::MakeEntry(kStart + which * 60, {5, 6, 7});
  e.file = file;
  return e;
}

// Copies of one measurement in several files (a log copied, both read): those of the
// file that holds it most often are kept, the others dropped; copies within one file
// are measurements of their own.
TEST(DuplicateFilterTest, KeepsTheCopiesOfTheFileThatHoldsThemMostOften) {
  using Seen = std::vector<std::pair<int, std::uint32_t>>;  // measurement, file
  const auto copies = [](std::size_t n, std::uint32_t file, Seen before = {}) {
    before.insert(before.end(), n, {1, file});
    return before;
  };
  const struct {
    const char* situation;
    Seen seen;
    std::string kept;
  } rows[] = {
      {"256 in one file, then 256 in another: counted up to 255, the other's dropped",
       copies(256, 1, copies(256, 0)), std::string(256, '1') + std::string(256, '0')},
      {"one copy in each of two files", {{1, 0}, {1, 1}}, "10"},
      {"two in one file", {{1, 0}, {1, 0}}, "11"},
      {"a second file's second copy outnumbers the first's one", {{1, 0}, {1, 1}, {1, 1}}, "101"},
      {"two measurements, each in both files", {{1, 0}, {2, 0}, {1, 1}, {2, 1}}, "1100"},
      {"a third file", {{1, 0}, {1, 1}, {1, 2}}, "100"},
  };
  for (const auto& row : rows) {
    DuplicateFilter filter;
    std::string kept;
    for (const auto& [which, file] : row.seen)
      kept += filter.Keep(Measurement(which, file)) ? '1' : '0';
    EXPECT_EQ(kept, row.kept) << row.situation;
  }
}

// Measurements seen long before are still known once the recent ones are merged in,
// and one never seen is not taken for one of them.
TEST(DuplicateFilterTest, KnowsManyMeasurements) {
  DuplicateFilter filter;
  for (int i = 0; i < 5000; ++i) ASSERT_TRUE(filter.Keep(Measurement(i, 0)));
  for (int i = 0; i < 5000; ++i) ASSERT_FALSE(filter.Keep(Measurement(i, 1))) << i;
  EXPECT_EQ(filter.dropped(), 5000);
  EXPECT_TRUE(filter.Keep(Measurement(-1, 2)));  // one never seen
}

}  // namespace
}  // namespace pinglog::report
