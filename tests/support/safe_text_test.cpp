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
      // Format characters that hide or turn text: by their number, whatever the class.
      {"ab\xE2\x80\xAE"
       "cd",
       "ab\\u{202E}cd", "ab\\u{202E}cd"},  // right-to-left override
      {"\xE2\x81\xA6x\xE2\x81\xA9", "\\u{2066}x\\u{2069}", "\\u{2066}x\\u{2069}"},  // isolates
      {"a\xE2\x80\x8B"
       "b",
       "a\\u{200B}b", "a\\u{200B}b"},                          // zero width space
      {"\xEF\xBB\xBFhost", "\\u{FEFF}host", "\\u{FEFF}host"},  // byte-order mark
      {"a\xC2\xAD"
       "b",
       "a\\u{00AD}b", "a\\u{00AD}b"},  // soft hyphen
      {"a\xE2\x80\xA8"
       "b",
       "a\\u{2028}b", "a\\u{2028}b"},                       // line separator
      {"x\xF3\xA0\x81\x81", "x\\u{E0041}", "x\\u{E0041}"},  // a tag
      {"\xE2\x80\x8A\xE2\x80\xB0", "\xE2\x80\x8A\xE2\x80\xB0",
       "\xE2\x80\x8A\xE2\x80\xB0"},  // visible neighbours
  };
  for (const auto& c : cases) {
    EXPECT_EQ(SafeText(c.text), c.safe) << c.text;
    EXPECT_EQ(SafeText(c.text, true), c.escaped) << c.text;
    EXPECT_EQ(SafeText(c.safe), c.safe) << "shown twice: " << c.safe;
  }
}

}  // namespace
}  // namespace pinglog
