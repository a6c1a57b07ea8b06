// The ICMP echo service of Windows. One handle and one zero-filled reply area per
// cycle; the area holds the reply record of this build (28 bytes in a 32-bit program,
// 40 in a 64-bit one), the echoed payload, and the 8 bytes more that the service's
// documentation asks for (room for an ICMP error). An area one byte too small makes
// every request fail with 11050.

// Order matters: winsock2 before windows, and both before the IP helper headers.
#include <winsock2.h>

#include <windows.h>

#include <iphlpapi.h>

#include <icmpapi.h>

#include <cstdlib>
#include <cstring>
#include <new>

#include "platform/echo_errors.h"
#include "platform/system_platform.h"

namespace pinglog {
namespace {

constexpr DWORD kLargestPayload = 32;
constexpr DWORD kReplyAreaSize = sizeof(ICMP_ECHO_REPLY) + kLargestPayload + 8;

struct EchoSession {
  HANDLE icmp = INVALID_HANDLE_VALUE;
  void* reply_area = nullptr;
};

bool IsValid(HANDLE handle) { return handle != INVALID_HANDLE_VALUE && handle != nullptr; }

}  // namespace

EchoHandle SystemPlatform::EchoOpen() {
  auto* session = new (std::nothrow) EchoSession;
  if (session == nullptr) return kNoEcho;
  session->icmp = ::IcmpCreateFile();
  session->reply_area = std::calloc(1, kReplyAreaSize);
  return reinterpret_cast<EchoHandle>(session);
}

EchoResult SystemPlatform::EchoSend(EchoHandle echo, const IPv4Bytes& destination,
                                    const char* payload, std::uint16_t size,
                                    std::uint32_t timeout_ms) {
  EchoResult result;
  auto* session = reinterpret_cast<EchoSession*>(echo);
  // The service would crash on a null handle; an invalid one it refuses by itself.
  if (session == nullptr || session->icmp == nullptr || session->reply_area == nullptr ||
      size > kLargestPayload) {
    result.error = kIpGeneralFailure;
    return result;
  }
  IPAddr address;
  std::memcpy(&address, destination.data(), 4);
  const DWORD replies = ::IcmpSendEcho(session->icmp, address, const_cast<char*>(payload), size,
                                       nullptr, session->reply_area, kReplyAreaSize, timeout_ms);
  if (replies == 0) {
    result.error = ::GetLastError();
    return result;
  }
  ICMP_ECHO_REPLY reply;
  std::memcpy(&reply, session->reply_area, sizeof reply);
  result.replies = replies;
  std::memcpy(result.reply.source.data(), &reply.Address, 4);
  result.reply.round_trip_ms = reply.RoundTripTime;
  result.reply.data_size = reply.DataSize;
  result.reply.ttl = reply.Options.Ttl;
  return result;
}

void SystemPlatform::EchoClose(EchoHandle echo) {
  auto* session = reinterpret_cast<EchoSession*>(echo);
  if (session == nullptr) return;
  // Closing INVALID_HANDLE_VALUE crashes the service's host: close valid handles only.
  if (IsValid(session->icmp)) ::IcmpCloseHandle(session->icmp);
  std::free(session->reply_area);
  delete session;
}

}  // namespace pinglog
