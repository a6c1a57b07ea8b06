// Host-name lookup through the system resolver (/etc/hosts, then DNS, as
// nsswitch.conf says), IPv4 only. gethostbyname keeps the order in which the resolver
// lists the addresses, which getaddrinfo may change; the reentrant form is used so
// that no static result is shared.
#include <errno.h>
#include <netdb.h>
#include <sys/socket.h>

#include <cstring>
#include <vector>

#include "platform/posix/posix_platform.h"

namespace pinglog {

HostLookup PosixPlatform::LookupHost(const std::string& host) {
  HostLookup lookup;
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
  if (result == nullptr) return lookup;  // HOST_NOT_FOUND, NO_DATA, TRY_AGAIN, NO_RECOVERY
  lookup.found = true;
  lookup.family = result->h_addrtype == AF_INET ? kAddressFamilyIPv4 : result->h_addrtype;
  if (result->h_addrtype != AF_INET || result->h_length != 4) return lookup;
  for (char** address = result->h_addr_list; *address != nullptr; ++address) {
    IPv4Bytes bytes;
    std::memcpy(bytes.data(), *address, 4);
    lookup.addresses.push_back(bytes);
  }
  return lookup;
}

}  // namespace pinglog
