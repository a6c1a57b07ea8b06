#include "support/text.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace pinglog {
namespace {

TEST(ParseNumberTest, ReadsEachFormUpToTheFirstCharacterThatDoesNotFit) {
  const struct {
    const char* text;
    std::int64_t expected;
  } cases[] = {
      {"5", 5},
      {"  \t 42 minutes", 42},
      {"+7", 7},
      {"-12", -12},
      {"$A", 10},
      {"$ff", 255},
      {"$1F", 31},
      {"-$A", -10},
      {"%101", 5},
      {"-%11", -3},
      {"%102", 2},
      {"$", 0},
      {"%", 0},
      {"", 0},
      {"abc", 0},
      {"- 5", 0},  // no blank between the sign and the number
      {"+-5", 0},  // one sign only
      {"12abc", 12},
      {"007", 7},
      {"3.4", 3},
      {"9223372036854775807", INT64_MAX},
      {"9223372036854775808", INT64_MIN},  // wraps modulo 2^64
      {"18446744073709551616", 0},
      {"18446744073709551617", 1},
      {"$FFFFFFFFFFFFFFFF", -1},
      {"$1FFFFFFFFFFFFFFFF", -1},
  };
  for (const auto& c : cases) EXPECT_EQ(ParseNumber(c.text), c.expected) << '"' << c.text << '"';
}

TEST(ParseNumberTest, NeverOverflowsOnLongDigitRuns) {
  EXPECT_NO_FATAL_FAILURE(ParseNumber(std::string(100000, '9')));
  EXPECT_NO_FATAL_FAILURE(ParseNumber("-" + std::string(100000, '9')));
}

TEST(TrimSpacesTest, RemovesOnlySpacesAtBothEnds) {
  EXPECT_EQ(TrimSpaces("  host  "), "host");
  EXPECT_EQ(TrimSpaces("\thost "), "\thost");
  EXPECT_EQ(TrimSpaces("a b"), "a b");
  EXPECT_EQ(TrimSpaces("    "), "");
  EXPECT_EQ(TrimSpaces(""), "");
}

TEST(FormatTest, NumbersRenderWithoutPadding) {
  EXPECT_EQ(FormatDecimal(0), "0");
  EXPECT_EQ(FormatDecimal(-255), "-255");
  EXPECT_EQ(FormatDecimal(INT64_MIN), "-9223372036854775808");
  EXPECT_EQ(FormatUnsigned(11010), "11010");
  EXPECT_EQ(FormatUnsigned(UINT32_MAX), "4294967295");
  EXPECT_EQ(FormatByte(64), "64");
  EXPECT_EQ(FormatByte(300), "44");
  EXPECT_EQ(FormatAddress({192, 0, 2, 1}), "192.0.2.1");
  EXPECT_EQ(FormatAddress({0, 0, 0, 0}), "0.0.0.0");
  EXPECT_EQ(FormatAddress({255, 255, 255, 255}), "255.255.255.255");
}

TEST(FormatTest, FixedRoundsToTheGivenDecimals) {
  EXPECT_EQ(FormatFixed(0.0f, 0), "0");
  EXPECT_EQ(FormatFixed(-0.0f, 2), "0.00");
  EXPECT_EQ(FormatFixed(100.0f, 0), "100");
  EXPECT_EQ(FormatFixed(100.0f / 3.0f, 0), "33");
  EXPECT_EQ(FormatFixed(200.0f / 3.0f, 0), "67");
  EXPECT_EQ(FormatFixed(12.0f, 2), "12.00");
  EXPECT_EQ(FormatFixed(1.0f / 3.0f, 2), "0.33");
  EXPECT_EQ(FormatFixed(2.0f / 3.0f, 2), "0.67");
  EXPECT_EQ(FormatFixed(310.0f, 2), "310.00");
  EXPECT_FALSE(FormatFixed(std::numeric_limits<float>::max(), 2).empty());
}

}  // namespace
}  // namespace pinglog
