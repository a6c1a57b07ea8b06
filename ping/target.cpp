#include "ping/target.h"

#include "support/text.h"

namespace pinglog {
namespace {

std::string& Resolved() {
  static std::string resolved;
  return resolved;
}

}  // namespace

std::string ResolveTarget(const std::string& host) {
  const HostLookup lookup = ActivePlatform().LookupHost(host);
  if (!lookup.found) {
    Resolved() = kUnableToResolve;
  } else if (lookup.family != kAddressFamilyIPv4) {
    Resolved() = kNonIpAddress;
  } else {
    for (const IPv4Bytes& address : lookup.addresses) Resolved() = FormatAddress(address);
  }
  return Resolved();
}

const std::string& ResolvedAddress() { return Resolved(); }

void SetResolvedAddress(const std::string& text) { Resolved() = text; }

IPv4Bytes ParseDottedQuad(std::string_view text) {
  IPv4Bytes address{};
  for (int octet = 0; octet < 3; ++octet) {
    const std::size_t dot = text.find('.');
    if (dot == std::string_view::npos) return IPv4Bytes{};
    address[octet] = static_cast<std::uint8_t>(ParseNumber(text.substr(0, dot)));
    text.remove_prefix(dot + 1);
  }
  address[3] = static_cast<std::uint8_t>(ParseNumber(text));
  return address;
}

}  // namespace pinglog
