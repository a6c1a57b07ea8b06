// Host-name lookup through the system resolver (/etc/hosts, then DNS, as
// nsswitch.conf says), IPv4 only. gethostbyname keeps the order in which the resolver
// lists the addresses, which getaddrinfo may change; the reentrant form is used so
// that no static result is shared.
#include <errno.h>
#include <netdb.h>
#include <sys/socket.h>

#include <vector>

#include "platform/host_entry.h"
#include "platform/system_platform.h"

namespace pinglog {

HostLookup SystemPlatform::LookupHost(const std::string& host) {
  std::vector<char> scratch(4096);
  struct hostent entry {};
  struct hostent* result = nullptr;
  int lookup_error = 0;
  for (;;) {
    const int status = ::gethostbyname_r(host.c_str(), &entry, scratch.data(), scratch.size(),
                                         &result, &lookup_error);
    // ERANGE: the answer does not fit the scratch space; try again with more.
    if (status != ERANGE || scratch.size() >= (1u << 22)) break;
    scratch.resize(scratch.size() * 2);
  }
  return FromHostEntry(result, AF_INET);
}

}  // namespace pinglog
