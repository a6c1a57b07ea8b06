#include "report/logs/line_splitter.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace pinglog::report {
namespace {

// The lines handed on for pieces fed in turn, then the end of the file: their lengths,
// 0 for a line too long to keep (or empty).
std::vector<std::size_t> LineLengths(const std::vector<std::string>& pieces) {
  LineSplitter splitter;
  std::vector<std::size_t> lengths;
  const auto take = [&](std::string_view line) { lengths.push_back(line.size()); };
  for (const std::string& piece : pieces) splitter.Feed(piece, take);
  splitter.Finish(take);
  return lengths;
}

// A line of up to 64 KiB is handed on whole, whether it comes at once or in pieces; one
// byte more and it is handed on empty, with what follows it up to its end.
TEST(LineSplitterTest, KeepsLinesUpToTheLongestAndDropsLongerOnes) {
  constexpr std::size_t k64KiB = 65536;
  const std::string longest(k64KiB, 'x'), half(k64KiB / 2, 'x');
  const struct {
    const char* what;
    std::vector<std::string> pieces;
    std::vector<std::size_t> lengths;
  } rows[] = {
      {"the longest line at once", {longest + "\nab\n"}, {k64KiB, 2}},
      {"a byte more", {longest + "x\nab\n"}, {0, 2}},
      {"the longest line in halves", {half, half, "\nab"}, {k64KiB, 2}},
      {"a byte more in halves", {half, half + "x", "\nab"}, {0, 2}},
      {"a byte more, then its end with more of it", {longest + "x", "abc\nab\n"}, {0, 2}},
      {"a byte more at the end of the file", {"ab\n", longest + "x"}, {2, 0}},
  };
  for (const auto& row : rows) EXPECT_EQ(LineLengths(row.pieces), row.lengths) << row.what;
}

}  // namespace
}  // namespace pinglog::report
