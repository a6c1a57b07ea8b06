// The report's strict reader over arbitrary lines: a line it accepts states counters
// that agree with its items.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "report/logs/log_line.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const auto entry =
      pinglog::report::ParseLogLine(std::string_view(reinterpret_cast<const char*>(data), size));
  if (!entry) return 0;
  int answered = 0;
  for (const auto& attempt : entry->attempts) {
    answered += attempt.outcome != pinglog::report::Outcome::kFailure ? 1 : 0;
  }
  if (entry->received != answered || entry->sent != 3) std::abort();
  return 0;
}
