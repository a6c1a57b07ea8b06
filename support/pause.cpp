#include "support/pause.h"

#include "platform/platform.h"

namespace pinglog {

void Pause(std::uint32_t milliseconds) { ActivePlatform().SleepMilliseconds(milliseconds); }

}  // namespace pinglog
