#include <windows.h>

#include "platform/system_platform.h"

namespace pinglog {

Platform& OsPlatform() {
  static SystemPlatform platform;
  return platform;
}

void EndProcess(int code) { ::ExitProcess(static_cast<UINT>(code)); }

}  // namespace pinglog
