// Reading the logger's entries back: one line of the log into its pieces. Strict: a
// line that is not exactly an entry, as the logger writes it, is refused, never
// guessed at.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string_view>

#include "support/calendar_time.h"

namespace pinglog::report {

using Address = std::array<std::uint8_t, 4>;

// A local wall-clock time as the logs write it: the logger's calendar count of seconds,
// 64 bits wide, so that a log reaching 2038 (or past it) reads like any other.
using LogTime = std::int64_t;

enum class Outcome : std::uint8_t {
  kReply,    // a reply from the target
  kFailure,  // no reply: the echo service's error number
  kRouter,   // a reply from another address with no data: a router's error report
};

// Compact: a year of one-minute cycles keeps 1.5 million of these.
struct Attempt {
  Outcome outcome = Outcome::kFailure;
  std::uint8_t ttl = 0;
  std::uint16_t bytes = 0;
  std::uint16_t time_ms = 0;
  Address source{};
  std::uint32_t error = 0;
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

// The entry on one line (its line end removed; a final CR is allowed), or nothing.
std::optional<LogLine> ParseLogLine(std::string_view line);

}  // namespace pinglog::report
