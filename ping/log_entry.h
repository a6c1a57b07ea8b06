// The log entry: one tab-separated line per completed cycle, ending in CR LF.
#pragma once

#include <cstdint>
#include <string>

#include "ping/statistics.h"

namespace pinglog {

inline constexpr const char* kLogTimeMask = "%dd.%mm.%yyyy / %hh:%ii:%ss";

struct CycleResult {
  std::string time_stamp;  // the cycle's start, rendered with kLogTimeMask
  std::string host;        // exactly as configured
  bool by_name = false;    // looked up, rather than a numeric host text
  std::string resolved_address;
  std::uint8_t payload_length = 32;
  CycleAttempts attempts;
  CycleStatistics stats;
};

// The entry's text, byte for byte; no side effects.
std::string ComposeLogEntry(const CycleResult& result);

// Appends the entry at the end of the file, creating it when missing. An entry whose
// file cannot be opened is dropped without a trace.
void AppendLogEntry(const std::string& path, const std::string& entry);

}  // namespace pinglog
