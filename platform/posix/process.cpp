#include <stdlib.h>

#include "platform/system_platform.h"

namespace pinglog {

Platform& OsPlatform() {
  static SystemPlatform platform;
  return platform;
}

void EndProcess(int code) { ::exit(code); }

}  // namespace pinglog
