#include "report/write/lines_in_turns.h"

#include <gtest/gtest.h>

#include <sstream>
#include <stdexcept>
#include <string>
#include <thread>

namespace pinglog::report {
namespace {

// A walk of `points` points whose counts are the point's number; throws at `fails_at`,
// on every thread or only on one other than the test's.
SampleWalk CountingWalk(std::size_t points, std::size_t fails_at = SIZE_MAX,
                        bool beside_only = false) {
  const std::thread::id test_thread = std::this_thread::get_id();
  return [=](const PointVisit& visit) {
    const bool fails = !beside_only || std::this_thread::get_id() != test_thread;
    HostMetrics counts;
    for (std::size_t p = 0; p < points; ++p) {
      if (fails && p == fails_at) throw std::runtime_error("walk failed");
      counts.rtt_count = static_cast<std::int64_t>(p);
      visit(counts, " 1700000000\n");
    }
  };
}

const PointLines kTwoLines = [](SampleWriter& out, const HostMetrics& counts,
                                std::string_view end) {
  out.Sample("a ", counts.rtt_count, end);
  out.Sample("b ", -counts.rtt_count, end);
};

std::string Written(std::size_t points, std::size_t lines_per_point) {
  std::ostringstream out;
  {
    SampleWriter writer(out);
    WriteLinesInTurns(writer, points, lines_per_point, CountingWalk(points), kTwoLines);
  }
  return out.str();
}

std::string Expected(std::size_t points) {
  std::string lines;
  for (std::size_t p = 0; p < points; ++p) {
    lines += "a " + std::to_string(p) + " 1700000000\nb " + std::to_string(-std::int64_t(p)) +
             " 1700000000\n";
  }
  return lines;
}

// Runs of one point (8192 lines a point), of two, and of one thread alone; an odd and
// an even number of runs, each ending where a run ends and within one.
TEST(LinesInTurnsTest, WritesEveryPointInOrderWhateverTheRuns) {
  for (const std::size_t lines_per_point : {8192, 4096, 2}) {
    for (const std::size_t points : {0, 1, 2, 3, 4, 5, 6, 7, 40, 41}) {
      EXPECT_EQ(Written(points, lines_per_point), Expected(points))
          << points << " points of " << lines_per_point << " lines";
    }
  }
  EXPECT_EQ(Written(100000, 1), Expected(100000));
}

// A walk that fails, on both threads or on the other alone, fails the writing, and
// leaves no thread behind.
TEST(LinesInTurnsTest, AFailedWalkIsThrown) {
  for (const bool beside_only : {false, true}) {
    for (const std::size_t fails_at : {0, 1, 2, 5, 38}) {
      std::ostringstream out;
      SampleWriter writer(out);
      EXPECT_THROW(
          WriteLinesInTurns(writer, 40, 8192, CountingWalk(40, fails_at, beside_only), kTwoLines),
          std::runtime_error)
          << fails_at << (beside_only ? " beside" : "");
    }
  }
}

}  // namespace
}  // namespace pinglog::report
