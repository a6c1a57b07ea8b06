#include "report/logs/log_line.h"

#include <algorithm>
#include <cstring>
#include <type_traits>

#include "ping/target.h"
#include "report/logs/find_byte.h"
#include "support/domain.h"

namespace pinglog::report {
namespace {

// Whether `size` bytes (2, 4 or 8) at `a` and `b` are alike, read as one number.
template <std::size_t size>
bool Same(const char* a, const char* b) {
  using Word = std::conditional_t<size == 8, std::uint64_t,
                                  std::conditional_t<size == 4, std::uint32_t, std::uint16_t>>;
  static_assert(sizeof(Word) == size);
  Word x, y;
  std::memcpy(&x, a, size);
  std::memcpy(&y, b, size);
  return x == y;
}

// Whether `size` bytes at `a` and `b` are alike: compared in place, eight bytes at a
// time, the last piece overlapping the one before (a text of 1 to 7 bytes: two
// overlapping halves). Inline, a size known when compiling unrolls.
inline bool SameBytes(const char* a, const char* b, std::size_t size) {
  if (size >= 8) {
    for (std::size_t i = 0; i + 8 < size; i += 8) {
      if (!Same<8>(a + i, b + i)) return false;
    }
    return Same<8>(a + (size - 8), b + (size - 8));
  }
  if (size >= 4) return Same<4>(a, b) && Same<4>(a + (size - 4), b + (size - 4));
  if (size >= 2) return Same<2>(a, b) && Same<2>(a + (size - 2), b + (size - 2));
  return size == 0 || a[0] == b[0];
}

// A cursor over the line that consumes exactly what it expects.
class Cursor {
 public:
  explicit Cursor(std::string_view text) : rest_(text) {}

  bool Literal(std::string_view expected) {
    if (!StartsWith(expected)) return false;
    rest_.remove_prefix(expected.size());
    return true;
  }

  // A text known when compiling (its size too).
  template <std::size_t N>
  bool Literal(const char (&expected)[N]) {
    constexpr std::size_t length = N - 1;
    if (rest_.size() < length || !SameBytes(rest_.data(), expected, length)) return false;
    rest_.remove_prefix(length);
    return true;
  }

  // One to `max_digits` decimal digits.
  bool Number(std::int64_t& value, std::size_t max_digits = 10) {
    const std::size_t limit = std::min(rest_.size(), max_digits);
    std::size_t n = 0;
    value = 0;
    for (; n < limit; ++n) {
      const unsigned digit = static_cast<unsigned char>(rest_[n]) - unsigned{'0'};
      if (digit > 9) break;  // below '0' too: the subtraction wraps
      value = value * 10 + digit;
    }
    // Stopped by the limit, not by a non-digit: a digit more makes the number too long.
    if (n == 0 || (n == max_digits && n < rest_.size() && rest_[n] >= '0' && rest_[n] <= '9')) {
      return false;
    }
    rest_.remove_prefix(n);
    return true;
  }

  bool Number(std::int32_t& value, std::int64_t max) {
    std::int64_t wide;
    if (!Number(wide) || wide > max) return false;
    value = static_cast<std::int32_t>(wide);
    return true;
  }

  bool Address(report::Address& address) {
    for (int i = 0; i < 4; ++i) {
      std::int64_t octet;
      if ((i > 0 && !Literal(".")) || !Number(octet, 3) || octet > 255) return false;
      address[i] = static_cast<std::uint8_t>(octet);
    }
    return true;
  }

  // Everything up to the first occurrence of `end`, which is consumed too.
  bool Until(std::string_view end, std::string_view& taken) {
    std::size_t at = FindByte(rest_, end.front());
    while (at != std::string_view::npos && rest_.compare(at, end.size(), end) != 0) {
      at = FindByte(rest_, end.front(), at + 1);
    }
    if (at == std::string_view::npos) return false;
    taken = rest_.substr(0, at);
    rest_.remove_prefix(at + end.size());
    return true;
  }

  bool AtEnd() const { return rest_.empty(); }
  const char* At() const { return rest_.data(); }
  void Skip(std::size_t size) { rest_.remove_prefix(size); }
  // Whether the rest begins with `text` and then `next`.
  bool StartsWith(std::string_view text, char next) const {
    return rest_.size() > text.size() && rest_[text.size()] == next && StartsWith(text);
  }
  bool StartsWith(std::string_view text) const {
    return rest_.size() >= text.size() && SameBytes(rest_.data(), text.data(), text.size());
  }

 private:
  std::string_view rest_;
};

// "dd.mm.yyyy / hh:mm:ss"
bool TimeStamp(Cursor& in, LogTime& time) {
  std::int32_t day, month, year, hour, minute, second;
  if (!in.Number(day, 99) || !in.Literal(".") || !in.Number(month, 99) || !in.Literal(".") ||
      !in.Number(year, 9999) || !in.Literal(" / ") || !in.Number(hour, 99) || !in.Literal(":") ||
      !in.Number(minute, 99) || !in.Literal(":") || !in.Number(second, 99)) {
    return false;
  }
  time = ComposeWideTime({year, month, day, hour, minute, second});
  return time != kInvalidTime;
}

// A reply's source. Its text read before, and a ':' after it, reads as it did then.
bool Source(Cursor& in, Address& source, LineMemory* memory) {
  if (memory == nullptr) return in.Address(source);
  const std::string_view known(memory->source_text.data(), memory->source_size);
  if (!known.empty() && in.StartsWith(known, ':')) {
    in.Skip(known.size());
    source = memory->source;
    return true;
  }
  const char* start = in.At();
  if (!in.Address(source)) return false;
  memory->source_size = static_cast<std::size_t>(in.At() - start);  // 7 to 15 bytes
  std::memcpy(memory->source_text.data(), start, memory->source_size);
  memory->source = source;
  return true;
}

// A failure names the target as the logger knew it: the looked-up address, or the
// numeric host's own text.
bool Item(Cursor& in, const LogLine& entry, Attempt& attempt, LineMemory* memory) {
  const Address& target = entry.target;
  if (in.Literal("\tReply from ")) {
    std::int64_t error;
    if (!in.Literal(entry.resolved) || !in.Literal(":  Error no: ") || !in.Number(error) ||
        error > UINT32_MAX || !in.Literal("\t")) {
      return false;
    }
    attempt.outcome = Outcome::kFailure;
    attempt.SetError(static_cast<std::uint32_t>(error));
    return true;
  }
  std::int32_t bytes, time_ms, ttl;
  Address source;
  if (!in.Literal("Reply from ") || !Source(in, source, memory) || !in.Literal(":  bytes = ") ||
      !in.Number(bytes, 65535) || !in.Literal(" time = ") || !in.Number(time_ms, 65535) ||
      !in.Literal("ms TTL = ") || !in.Number(ttl, 255) || !in.Literal("\t")) {
    return false;
  }
  attempt.bytes = static_cast<std::uint16_t>(bytes);
  attempt.time_ms = static_cast<std::uint16_t>(time_ms);
  attempt.ttl = static_cast<std::uint8_t>(ttl);
  attempt.SetSource(source);
  const bool from_router = !SameAddress(source, target) && bytes == 0;
  attempt.outcome = from_router ? Outcome::kRouter : Outcome::kReply;
  return true;
}

bool ParseHeader(Cursor& in, LogLine& entry) {
  std::string_view header;
  if (!in.Until(" bytes of data:\t", header)) return false;
  // The header is "HOST [ADDRESS] with 32" for a looked-up host, "HOST with 32" for a
  // numeric one; a host text beginning with a digit is numeric.
  const std::size_t with = header.rfind(" with 32");
  if (with == std::string_view::npos || with + 8 != header.size()) return false;
  header = header.substr(0, with);
  if (header.empty()) return false;
  entry.by_name = !IsAddressText(header);
  if (!entry.by_name) {
    // The logger sent a numeric host's requests where its dotted-quad reading points.
    entry.host = entry.resolved = header;
    entry.target = ParseDottedQuad(header);
    return true;
  }
  const std::size_t bracket = header.rfind(" [");
  if (bracket == std::string_view::npos || header.back() != ']') return false;
  entry.host = header.substr(0, bracket);
  entry.resolved = header.substr(bracket + 2, header.size() - bracket - 3);
  Cursor address(entry.resolved);
  return address.Address(entry.target) && address.AtEnd();
}

// The header as the memory holds it, when the line repeats it.
bool RecallHeader(Cursor& in, LogLine& entry, const LineMemory& memory) {
  if (memory.header.empty() || !in.StartsWith(memory.header)) return false;
  const char* at = in.At();
  entry.host = {at + memory.host_at, memory.host_size};
  entry.resolved = {at + memory.resolved_at, memory.resolved_size};
  entry.by_name = memory.by_name;
  entry.target = memory.target;
  in.Skip(memory.header.size());
  return true;
}

bool RememberedHeader(Cursor& in, LogLine& entry, LineMemory* memory) {
  if (memory == nullptr) return ParseHeader(in, entry);
  if (RecallHeader(in, entry, *memory)) return true;
  const char* start = in.At();
  if (!ParseHeader(in, entry)) return false;
  memory->header.assign(start, in.At());
  memory->host_at = static_cast<std::size_t>(entry.host.data() - start);
  memory->host_size = entry.host.size();
  memory->resolved_at = static_cast<std::size_t>(entry.resolved.data() - start);
  memory->resolved_size = entry.resolved.size();
  memory->by_name = entry.by_name;
  memory->target = entry.target;
  return true;
}

}  // namespace

std::optional<LogLine> ParseLogLine(std::string_view line, LineMemory* memory) {
  if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
  Cursor in(line);
  LogLine entry;
  if (!TimeStamp(in, entry.time) || !in.Literal(" -> Pinging ") ||
      !RememberedHeader(in, entry, memory)) {
    return std::nullopt;
  }
  int replies = 0;
  for (Attempt& attempt : entry.attempts) {
    if (!Item(in, entry, attempt, memory)) return std::nullopt;
    replies += attempt.outcome != Outcome::kFailure ? 1 : 0;
  }
  std::int64_t loss;
  std::string_view average;
  if (!in.Literal("Ping statistics for ") || !in.Literal(entry.host) ||
      !in.Literal(":   Packets: Sent = ") || !in.Number(entry.sent, 3) ||
      !in.Literal(", Received = ") || !in.Number(entry.received, 3) || !in.Literal(", Lost = ") ||
      !in.Number(entry.lost, 3) || !in.Literal(" (") || !in.Number(loss, 3) ||
      !in.Literal("% loss)\tApproximate round trip times in milli-seconds:\t") ||
      !in.Literal("Minimum = ") || !in.Number(entry.minimum, 65535) ||
      !in.Literal("ms,  Maximum = ") || !in.Number(entry.maximum, 65535) ||
      !in.Literal(",  Average = ") || !in.Until("ms", average) || !in.AtEnd()) {
    return std::nullopt;
  }
  // The counters must tell what the items show.
  if (entry.sent != 3 || entry.received != replies || entry.lost != 3 - replies) {
    return std::nullopt;
  }
  const std::size_t point = average.find('.');
  const auto digit_or_point = [](char c) { return (c >= '0' && c <= '9') || c == '.'; };
  if (average.empty() || point == std::string_view::npos || average.size() - point != 3 ||
      !std::all_of(average.begin(), average.end(), digit_or_point)) {
    return std::nullopt;
  }
  return entry;
}

}  // namespace pinglog::report
