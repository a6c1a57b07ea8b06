#include "support/text.h"

#include <charconv>
#include <cmath>

namespace pinglog {
namespace {

int DigitValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return 99;
}

}  // namespace

std::int64_t ParseNumber(std::string_view text) {
  std::size_t length = 0;
  return ParseNumber(text, length);
}

std::int64_t ParseNumber(std::string_view text, std::size_t& length) {
  std::size_t i = 0;
  while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
    negative = text[i] == '-';
    ++i;
  }
  unsigned base = 10;
  if (i < text.size() && text[i] == '$') {
    base = 16;
    ++i;
  } else if (i < text.size() && text[i] == '%') {
    base = 2;
    ++i;
  }
  // Unsigned arithmetic: the value wraps modulo 2^64 instead of overflowing.
  std::uint64_t value = 0;
  for (; i < text.size(); ++i) {
    const int digit = DigitValue(text[i]);
    if (static_cast<unsigned>(digit) >= base) break;
    value = value * base + static_cast<unsigned>(digit);
  }
  if (negative) value = 0 - value;
  length = i;
  return static_cast<std::int64_t>(value);
}

std::string TrimSpaces(std::string_view text) {
  const auto first = text.find_first_not_of(' ');
  if (first == std::string_view::npos) return {};
  const auto last = text.find_last_not_of(' ');
  return std::string(text.substr(first, last - first + 1));
}

std::string FormatDecimal(std::int64_t value) { return std::to_string(value); }

std::string FormatUnsigned(std::uint64_t value) { return std::to_string(value); }

std::string FormatByte(std::uint64_t value) { return std::to_string(value & 0xFF); }

std::string FormatFixed(double value, int decimals) {
  double wide = value;
  wide += 0.0;  // a negative zero becomes a positive one, which prints as zero
  char text[400];
  const auto result =
      std::to_chars(text, text + sizeof text, wide, std::chars_format::fixed, decimals);
  if (result.ec != std::errc()) return std::isnan(wide) ? "nan" : "inf";
  return std::string(text, result.ptr);
}

std::string FormatAddress(const std::array<std::uint8_t, 4>& bytes) {
  char text[16];  // "255.255.255.255"
  char* at = text;
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    if (i > 0) *at++ = '.';
    at = std::to_chars(at, text + sizeof text, bytes[i]).ptr;
  }
  return std::string(text, at);
}

}  // namespace pinglog
