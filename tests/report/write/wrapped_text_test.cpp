#include "report/write/wrapped_text.h"

#include <gtest/gtest.h>

namespace pinglog::report {
namespace {

std::string Times(std::size_t n, const std::string& piece) {
  std::string text;
  for (std::size_t i = 0; i < n; ++i) text += piece;
  return text;
}

// Where a sentence is cut: at the last space that fits, between characters where none
// does, never inside a character, and never without moving on (bytes that are no UTF-8).
TEST(WrappedTextTest, CutsAtTheLastSpaceThatFits) {
  const std::string a140 = Times(140, "a"), b140 = Times(140, "b");
  const struct {
    const char* what;
    std::string text;
    std::vector<std::string> lines;
  } cases[] = {
      {"exactly a line", a140, {a140}},
      {"a character more, no space", a140 + "a", {a140, "    a"}},
      {"a space, then a full line", "aaa " + b140, {"aaa", "    " + b140}},
      {"a space at the start only", " " + b140 + "b", {" " + Times(139, "b"), "    bb"}},
      {"a space before the second line's start",
       "a b" + b140 + "b",
       {"a", "    b" + Times(139, "b"), "    bb"}},
      {"a character of two bytes across the cut",
       Times(139, "a") + "\u00e9" + "a",
       {Times(139, "a"), "    \u00e9a"}},
      {"a character of three bytes across the cut",
       Times(138, "a") + "\u20ac" + "a",
       {Times(138, "a"), "    \u20aca"}},
  };
  for (const auto& c : cases) {
    std::vector<std::string> lines;
    AddWrapped(lines, c.text);
    EXPECT_EQ(lines, c.lines) << c.what;
  }
  std::vector<std::string> lines;
  AddWrapped(lines, Times(200, "\x80"));  // continuation bytes only: one a line until it fits
  ASSERT_EQ(lines.size(), 61u);
  EXPECT_EQ(lines.front(), "\x80");
  EXPECT_EQ(lines.back(), "    " + Times(140, "\x80"));
}

}  // namespace
}  // namespace pinglog::report
