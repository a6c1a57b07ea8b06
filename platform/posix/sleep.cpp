#include <errno.h>
#include <time.h>

#include <cstdint>

#include "platform/posix/monotonic_clock.h"
#include "platform/system_platform.h"

namespace pinglog {
// Sleeps until a deadline on the monotonic clock, so that steps of the wall clock
// neither shorten nor lengthen a pause. A signal that interrupts the sleep (EINTR)
// only makes it sleep again for the time left. The sleeps are relative, which also
// behaves under clock-faking preloads that keep the monotonic clock real.
void SystemPlatform::SleepMilliseconds(std::uint32_t ms) {
  const std::int64_t deadline = MonotonicNanoseconds() + std::int64_t{ms} * 1000000;
  for (std::int64_t left = deadline - MonotonicNanoseconds(); left > 0;
       left = deadline - MonotonicNanoseconds()) {
    const struct timespec span {
      static_cast<time_t>(left / 1000000000), static_cast<long>(left % 1000000000)
    };
    ::clock_nanosleep(CLOCK_MONOTONIC, 0, &span, nullptr);
  }
}

}  // namespace pinglog
