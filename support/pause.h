#pragma once

#include <cstdint>

namespace pinglog {

// Sleeps at least the given number of milliseconds, with the finest timer the
// platform offers.
void Pause(std::uint32_t milliseconds);

}  // namespace pinglog
