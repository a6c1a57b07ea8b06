#include "support/safe_text.h"

#include <gtest/gtest.h>

namespace pinglog {
namespace {

TEST(SafeTextTest, KeepsUtf8AndShowsControlsAndOtherBytes) {
  const struct {
    std::string text, safe, escaped;  // escaped: with escape_invalid
  } cases[] = {
      {"router1", "router1", "router1"},
      {"B\xC3\xBCro \xE2\x82\xAC \xF0\x9F\x98\x80", "B\xC3\xBCro \xE2\x82\xAC \xF0\x9F\x98\x80",
       "B\xC3\xBCro \xE2\x82\xAC \xF0\x9F\x98\x80"},  // UTF-8 as it is
      {"B\xFCro", "B\xEF\xBF\xBDro", "B\\xFCro"},     // Windows-1252
      {"\x1B]0;x\x07\x1B[2J", "\\x1B]0;x\\x07\\x1B[2J", "\\x1B]0;x\\x07\\x1B[2J"},
      {"\ta\r\n\x7F", "\\x09a\\x0D\\x0A\\x7F", "\\x09a\\x0D\\x0A\\x7F"},
      {"\xC2\x9B"
       "1m",
       "\\xC2\\x9B1m", "\\xC2\\x9B1m"},                        // a C1 control
      {"\xC0\xAF", "\xEF\xBF\xBD\xEF\xBF\xBD", "\\xC0\\xAF"},  // an overlong "/"
      {"\xED\xA0\x80", "\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD", "\\xED\\xA0\\x80"},  // surrogate
      {"\xF4\x90\x80\x80", "\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD",
       "\\xF4\\x90\\x80\\x80"},                                   // past U+10FFFF
      {"a\xE2\x82", "a\xEF\xBF\xBD\xEF\xBF\xBD", "a\\xE2\\x82"},  // cut short
      {std::string("a\0b", 3), "a\\x00b", "a\\x00b"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(SafeText(c.text), c.safe) << c.text;
    EXPECT_EQ(SafeText(c.text, true), c.escaped) << c.text;
    EXPECT_EQ(SafeText(c.safe), c.safe) << "shown twice: " << c.safe;
  }
}

}  // namespace
}  // namespace pinglog
