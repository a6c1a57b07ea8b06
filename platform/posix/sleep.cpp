#include <errno.h>
#include <time.h>

#include "platform/system_platform.h"

namespace pinglog {

// Sleeps until an absolute deadline on the monotonic clock: a signal that interrupts
// the sleep (EINTR) only makes it sleep again for the time left, and clock steps of
// the wall clock do not shorten or lengthen it.
void SystemPlatform::SleepMilliseconds(std::uint32_t ms) {
  struct timespec deadline {};
  ::clock_gettime(CLOCK_MONOTONIC, &deadline);
  deadline.tv_sec += static_cast<time_t>(ms / 1000);
  deadline.tv_nsec += static_cast<long>(ms % 1000) * 1000000L;
  if (deadline.tv_nsec >= 1000000000L) {
    deadline.tv_sec += 1;
    deadline.tv_nsec -= 1000000000L;
  }
  while (::clock_nanosleep(CLOCK_MONOTONIC, TIMER_ABSTIME, &deadline, nullptr) == EINTR) {
  }
}

}  // namespace pinglog
