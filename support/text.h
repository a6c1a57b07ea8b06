// Text routines shared by the logger. Texts are 8-bit byte strings: no locale, no
// encoding conversion, comparisons byte for byte.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace pinglog {

// Reads a signed integer from the start of a text: blanks (space, tab) skipped, one
// optional sign directly in front of the number, then "$" and hex digits, "%" and
// binary digits, or decimal digits, up to the first character that does not fit.
// No digits give 0. The value wraps modulo 2^64.
std::int64_t ParseNumber(std::string_view text);
// The same, and how many characters of the text it read.
std::int64_t ParseNumber(std::string_view text, std::size_t& length);

// Removes leading and trailing spaces (code 32 only; tabs stay).
std::string TrimSpaces(std::string_view text);

std::string FormatDecimal(std::int64_t value);
std::string FormatUnsigned(std::uint64_t value);
// The low 8 bits of the value as 0..255.
std::string FormatByte(std::uint64_t value);
// Fixed-point rendering, rounded to the nearest; no decimal point for 0 decimals.
// The logger hands it 32-bit floats, widened.
std::string FormatFixed(double value, int decimals);
// Four decimal octets joined by ".", lowest-addressed byte first.
std::string FormatAddress(const std::array<std::uint8_t, 4>& bytes);

}  // namespace pinglog
