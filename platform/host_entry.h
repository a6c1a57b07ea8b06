// The answer of gethostbyname, in the program's own terms. A template so that this
// header needs no OS header: both systems' hostent records have the same fields.
#pragma once

#include <cstring>

#include "platform/platform.h"

namespace pinglog {

// `af_inet` is the system's code for IPv4; the result reports it as
// kAddressFamilyIPv4. Addresses are kept in the order the resolver lists them.
template <typename HostEntry>
HostLookup FromHostEntry(const HostEntry* entry, int af_inet) {
  HostLookup lookup;
  if (entry == nullptr) return lookup;
  lookup.found = true;
  lookup.family = entry->h_addrtype == af_inet ? kAddressFamilyIPv4 : entry->h_addrtype;
  if (entry->h_addrtype != af_inet || entry->h_length != 4) return lookup;
  for (char** address = entry->h_addr_list; *address != nullptr; ++address) {
    IPv4Bytes bytes;
    std::memcpy(bytes.data(), *address, 4);
    lookup.addresses.push_back(bytes);
  }
  return lookup;
}

}  // namespace pinglog
