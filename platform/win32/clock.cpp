#include <windows.h>

#include "platform/system_platform.h"

namespace pinglog {

// The local wall-clock fields; the day of the week and the milliseconds are dropped.
LocalTimeFields SystemPlatform::LocalTime() {
  SYSTEMTIME now{};
  ::GetLocalTime(&now);
  return {now.wYear, now.wMonth, now.wDay, now.wHour, now.wMinute, now.wSecond};
}

}  // namespace pinglog
