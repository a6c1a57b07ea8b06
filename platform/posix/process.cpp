#include <stdlib.h>

#include "platform/system_platform.h"

namespace pinglog {

Platform& OsPlatform() {
  static SystemPlatform platform;
  return platform;
}

// The program has one thread, so exit() has no other thread to race with.
void EndProcess(int code) { ::exit(code); }  // NOLINT(concurrency-mt-unsafe)

}  // namespace pinglog
