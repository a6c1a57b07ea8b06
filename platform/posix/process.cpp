#include <stdlib.h>

#include "platform/posix/posix_platform.h"

namespace pinglog {

Platform& OsPlatform() {
  static PosixPlatform platform;
  return platform;
}

void EndProcess(int code) { ::exit(code); }

}  // namespace pinglog
