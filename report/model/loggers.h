// Loggers that wrote one host's entries at once (a logger started twice on one log, or
// two logs of one host written side by side): their entries interleave at steady
// phases, so that the step to the k-th entry after each is steady where the step to the
// next one is not.
#pragma once

#include <cstdint>
#include <vector>

#include "report/logs/entry_list.h"

namespace pinglog::report {

// The median of the steps from each entry to the k-th after it, and the share of those
// steps within two seconds of it.
struct Steps {
  std::int64_t median = 0;
  double steady = 0;
};
Steps StepsOf(const EntryList& placed, std::size_t k);

// How many loggers wrote the whole of a host's entries (1 for one logger), with the
// steps between each logger's own entries.
struct Loggers {
  std::int64_t count = 1;
  Steps steps;
};
Loggers CountLoggers(const EntryList& placed);

// A stretch of a one-logger log in which more loggers wrote: from the first entry of it
// to the last.
struct LoggerStretch {
  LogTime from = 0, to = 0;
  std::int64_t loggers = 2;
  std::int64_t Seconds() const { return std::int64_t{to} - from; }
};

// Where a second (third, fourth) logger wrote beside the one whose steps are `step`
// seconds apart: stretches of at least ten entries in a row in which the step to the
// next entry is clearly shorter than `step` while the step to the k-th after it is
// `step`. Nothing for a step under 30 s (back to back, there is no phase to tell).
std::vector<LoggerStretch> FindLoggerStretches(const EntryList& placed, std::int64_t step);

}  // namespace pinglog::report
