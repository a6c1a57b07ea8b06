#pragma once

#include <cstdint>

namespace pinglog {

// Nanoseconds on the monotonic clock, which steps of the wall clock do not move.
std::int64_t MonotonicNanoseconds();

}  // namespace pinglog
