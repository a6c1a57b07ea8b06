#include "support/safe_text.h"

#include <cstdint>

namespace pinglog {
namespace {

// The length of the valid UTF-8 sequence at the start of `text`, or 0.
std::size_t SequenceLength(std::string_view text) {
  const auto byte = [&](std::size_t i) { return static_cast<std::uint8_t>(text[i]); };
  const std::uint8_t lead = byte(0);
  if (lead < 0x80) return 1;
  std::size_t length = 0;
  std::uint8_t low = 0x80, high = 0xBF;  // the second byte's range
  if (lead >= 0xC2 && lead <= 0xDF) {
    length = 2;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    length = 3;
    if (lead == 0xE0) low = 0xA0;   // no overlong form
    if (lead == 0xED) high = 0x9F;  // no surrogate
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4;
    if (lead == 0xF0) low = 0x90;
    if (lead == 0xF4) high = 0x8F;  // nothing past U+10FFFF
  } else {
    return 0;
  }
  if (text.size() < length || byte(1) < low || byte(1) > high) return 0;
  for (std::size_t i = 2; i < length; ++i) {
    if (byte(i) < 0x80 || byte(i) > 0xBF) return 0;
  }
  return length;
}

bool IsControl(std::string_view sequence) {
  const auto lead = static_cast<std::uint8_t>(sequence[0]);
  if (sequence.size() == 1) return lead < 0x20 || lead == 0x7F;
  return lead == 0xC2 && static_cast<std::uint8_t>(sequence[1]) < 0xA0;  // U+0080 to U+009F
}

// The code point of a valid UTF-8 sequence.
std::uint32_t CodePoint(std::string_view sequence) {
  const auto byte = [&](std::size_t i) { return static_cast<std::uint8_t>(sequence[i]); };
  if (sequence.size() == 1) return byte(0);
  std::uint32_t point = byte(0) & (0x7F >> sequence.size());
  for (std::size_t i = 1; i < sequence.size(); ++i) point = point << 6 | (byte(i) & 0x3F);
  return point;
}

// Unicode's format characters (general category Cf), which are invisible or turn the
// text around it (U+202E right-to-left override, U+2066 isolates, U+200B zero width
// space, U+FEFF, the tags), and the line and paragraph separators: two texts that
// differ only in them would look alike.
bool IsFormatCharacter(std::uint32_t point) {
  static constexpr std::uint32_t kRanges[][2] = {
      {0x00AD, 0x00AD},   {0x0600, 0x0605},   {0x061C, 0x061C},   {0x06DD, 0x06DD},
      {0x070F, 0x070F},   {0x0890, 0x0891},   {0x08E2, 0x08E2},   {0x180E, 0x180E},
      {0x200B, 0x200F},   {0x2028, 0x202E},   {0x2060, 0x2064},   {0x2066, 0x206F},
      {0xFEFF, 0xFEFF},   {0xFFF9, 0xFFFB},   {0x110BD, 0x110BD}, {0x110CD, 0x110CD},
      {0x13430, 0x1343F}, {0x1BCA0, 0x1BCA3}, {0x1D173, 0x1D17A}, {0xE0001, 0xE0001},
      {0xE0020, 0xE007F},
  };
  for (const auto& [first, last] : kRanges) {
    if (point >= first && point <= last) return true;
  }
  return false;
}

// "\u{202E}": a code point by its number, four hexadecimal digits at least.
void AppendCodePoint(std::string& out, std::uint32_t point) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  std::string digits;
  for (; point > 0 || digits.size() < 4; point >>= 4)
    digits.insert(digits.begin(), kHex[point & 15]);
  out += "\\u{" + digits + '}';
}

void AppendEscaped(std::string& out, std::string_view bytes) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  for (const char c : bytes) {
    const auto byte = static_cast<std::uint8_t>(c);
    out += "\\x";
    out += kHex[byte >> 4];
    out += kHex[byte & 15];
  }
}

}  // namespace

std::string SafeText(std::string_view text, bool escape_invalid) {
  std::string safe;
  safe.reserve(text.size());
  while (!text.empty()) {
    const std::size_t length = SequenceLength(text);
    if (length == 0) {
      if (escape_invalid) {
        AppendEscaped(safe, text.substr(0, 1));
      } else {
        safe += "\xEF\xBF\xBD";  // U+FFFD
      }
      text.remove_prefix(1);
      continue;
    }
    const std::string_view sequence = text.substr(0, length);
    if (IsControl(sequence)) {
      AppendEscaped(safe, sequence);
    } else if (length > 1 && IsFormatCharacter(CodePoint(sequence))) {
      AppendCodePoint(safe, CodePoint(sequence));
    } else {
      safe += sequence;
    }
    text.remove_prefix(length);
  }
  return safe;
}

}  // namespace pinglog
