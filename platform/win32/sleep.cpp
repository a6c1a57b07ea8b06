#include <windows.h>

#include <timeapi.h>

#include "platform/system_platform.h"

namespace pinglog {

// Sleeps with the system timer at 1 ms resolution, restoring it afterwards.
// Sleep(INFINITE) would never return, so the one count that equals INFINITE is slept
// in two parts.
void SystemPlatform::SleepMilliseconds(std::uint32_t ms) {
  ::timeBeginPeriod(1);
  if (ms == INFINITE) {
    ::Sleep(INFINITE - 1);
    ms = 1;
  }
  ::Sleep(ms);
  ::timeEndPeriod(1);
}

}  // namespace pinglog
