#include "platform/posix/posix_platform.h"

namespace pinglog {

EchoHandle PosixPlatform::EchoOpen() { return kNoEcho; }

EchoResult PosixPlatform::EchoSend(EchoHandle, const IPv4Bytes&, const char*, std::uint16_t,
                                   std::uint32_t) {
  EchoResult result;
  result.error = 5;
  return result;
}

void PosixPlatform::EchoClose(EchoHandle) {}

}  // namespace pinglog
