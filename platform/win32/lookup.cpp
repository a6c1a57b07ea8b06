// Host-name lookup through gethostbyname. The sockets service is started once, before
// the first lookup, and stays up for the life of the process.
#include <winsock2.h>

#include "platform/host_entry.h"
#include "platform/system_platform.h"

namespace pinglog {
namespace {

void StartSocketsOnce() {
  static bool started = false;
  if (started) return;
  WSADATA data;
  started = ::WSAStartup(MAKEWORD(2, 2), &data) == 0;
}

}  // namespace

HostLookup SystemPlatform::LookupHost(const std::string& host) {
  StartSocketsOnce();
  return FromHostEntry(::gethostbyname(host.c_str()), AF_INET);
}

}  // namespace pinglog
