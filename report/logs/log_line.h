// Reading the logger's entries back: one line of the log into its pieces. Strict: a
// line that is not exactly an entry, as the logger writes it, is refused, never
// guessed at.
#pragma once

#include <array>
#include <cstdint>
#include <cstring>
#include <optional>
#include <string>
#include <string_view>

#include "support/calendar_time.h"

namespace pinglog::report {

using Address = std::array<std::uint8_t, 4>;

// Two addresses alike, compared as one number (the arrays' == calls the library).
inline bool SameAddress(const Address& a, const Address& b) {
  std::uint32_t x, y;
  std::memcpy(&x, a.data(), sizeof x);
  std::memcpy(&y, b.data(), sizeof y);
  return x == y;
}

// A local wall-clock time as the logs write it: the logger's calendar count of seconds,
// 64 bits wide, so that a log reaching 2038 (or past it) reads like any other.
using LogTime = std::int64_t;

enum class Outcome : std::uint8_t {
  kReply,    // a reply from the target
  kFailure,  // no reply: the echo service's error number
  kRouter,   // a reply from another address with no data: a router's error report
};

// Compact, ten bytes: a year of one-minute cycles keeps 1.5 million of these. A reply
// (or a router's report) has a source and no error number, a failure the other way
// round: the two share their four bytes.
struct Attempt {
  Outcome outcome = Outcome::kFailure;
  std::uint8_t ttl = 0;
  std::uint16_t bytes = 0;
  std::uint16_t time_ms = 0;

  // Where the answer came from; none for a failure.
  Address source() const { return outcome == Outcome::kFailure ? Address{} : detail_; }
  // The echo service's error number of a failure; 0 for an answer.
  std::uint32_t error() const {
    if (outcome != Outcome::kFailure) return 0;
    return std::uint32_t{detail_[0]} << 24 | std::uint32_t{detail_[1]} << 16 |
           std::uint32_t{detail_[2]} << 8 | detail_[3];
  }
  void SetSource(const Address& source) { detail_ = source; }
  void SetError(std::uint32_t error) {
    detail_ = {static_cast<std::uint8_t>(error >> 24), static_cast<std::uint8_t>(error >> 16),
               static_cast<std::uint8_t>(error >> 8), static_cast<std::uint8_t>(error)};
  }

 private:
  Address detail_{};  // the source, or the error number (most significant byte first)
};

struct LogLine {
  LogTime time = 0;           // local wall-clock time as written, no zone
  std::string_view host;      // as configured; points into the line
  bool by_name = false;       // the host was looked up: its address follows in brackets
  std::string_view resolved;  // the target's text: that address, or the numeric host
  Address target{};           // where the requests went
  std::array<Attempt, 3> attempts;
  // The statistics as the line states them (checked against the items).
  std::int32_t sent = 0, received = 0, lost = 0;
  std::int32_t minimum = 0, maximum = 0;
};

// What the lines before held, kept by one reader for its next line: a log repeats its
// header and its replies' source line after line, and the same bytes read the same, so
// bytes seen before are taken as they were read then rather than read again.
class LineMemory {
 public:
  // The header as read last: its text up to and including " bytes of data:\t", where
  // the host and the address lie in it, and what they read as.
  std::string header;
  std::size_t host_at = 0, host_size = 0, resolved_at = 0, resolved_size = 0;
  bool by_name = false;
  Address target{};
  // The source of the reply read last: its text (at most "255.255.255.255") and value.
  std::array<char, 15> source_text{};
  std::size_t source_size = 0;
  Address source{};
};

// The entry on one line (its line end removed; a final CR is allowed), or nothing.
// With a memory, the same entry, read faster where the line repeats the one before.
std::optional<LogLine> ParseLogLine(std::string_view line, LineMemory* memory = nullptr);

}  // namespace pinglog::report
