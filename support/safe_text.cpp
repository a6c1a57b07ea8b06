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
    } else {
      safe += sequence;
    }
    text.remove_prefix(length);
  }
  return safe;
}

}  // namespace pinglog
