// The echo service's error numbers: the Windows status codes that an echo request
// fails with and the log keeps as "Error no: N", each with what it means. Both
// platforms report these, and the report and the check read them.
#pragma once

#include <cstdint>

namespace pinglog {

inline constexpr std::uint32_t kErrorAccessDenied = 5;       // no ICMP permission
inline constexpr std::uint32_t kErrorInvalidNetName = 1214;  // destination 0.0.0.0
inline constexpr std::uint32_t kIpBufferTooSmall = 11001;
inline constexpr std::uint32_t kIpDestNetUnreachable = 11002;
inline constexpr std::uint32_t kIpDestHostUnreachable = 11003;
inline constexpr std::uint32_t kIpDestProtocolUnreachable = 11004;
inline constexpr std::uint32_t kIpDestPortUnreachable = 11005;
inline constexpr std::uint32_t kIpRequestTimedOut = 11010;
inline constexpr std::uint32_t kIpTtlExpiredTransit = 11013;
inline constexpr std::uint32_t kIpBadDestination = 11018;
inline constexpr std::uint32_t kIpGeneralFailure = 11050;

// What an error number means, in the report's words; "" for a number not listed.
constexpr const char* EchoErrorName(std::uint32_t error) {
  switch (error) {
    case kErrorAccessDenied:
      return "access denied: no ICMP permission";
    case kErrorInvalidNetName:
      return "invalid destination (0.0.0.0)";
    case kIpBufferTooSmall:
      return "buffer too small";
    case kIpDestNetUnreachable:
      return "destination network unreachable";
    case kIpDestHostUnreachable:
      return "destination host unreachable";
    case kIpDestProtocolUnreachable:
      return "destination protocol unreachable";
    case kIpDestPortUnreachable:
      return "destination port unreachable";
    case kIpRequestTimedOut:
      return "request timed out";
    case kIpTtlExpiredTransit:
      return "TTL expired in transit";
    case kIpBadDestination:
      return "bad destination";
    case kIpGeneralFailure:
      return "general failure";
    default:
      return "";
  }
}

// A request that never left the machine: no permission, or nowhere to send it.
constexpr bool NeverSent(std::uint32_t error) {
  return error == kErrorAccessDenied || error == kErrorInvalidNetName;
}

}  // namespace pinglog
