// One cycle of a log as the report reads it: where and when it was logged, and its
// three attempts.
#pragma once

#include <array>
#include <cstdint>

#include "report/logs/log_line.h"

namespace pinglog::report {

struct Entry {
  LogTime time = 0;
  std::uint32_t host = 0;  // index into LogSet::hosts
  std::uint32_t file = 0;  // index into LogSet::files
  std::uint32_t line = 0;  // 1-based, in that file
  Address target{};
  bool off_clock = false;  // stamped by a clock set wrong: not placed in time
  std::array<Attempt, 3> attempts;
};

}  // namespace pinglog::report
