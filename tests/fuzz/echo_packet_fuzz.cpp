// The echo reply recognition of the Linux layer over arbitrary packets, as a raw
// socket (IP header first), a datagram socket (ICMP header first) or the error queue
// delivers them. The first byte picks the kind.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "platform/posix/echo_packet.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 1) return 0;
  pinglog::EchoRequestId request;
  request.identifier = 0x1234;
  request.sequence = 7;
  request.check_identifier = data[0] & 1;
  request.payload = "Echo This Information Back To Me";
  const std::uint8_t* packet = data + 1;
  const std::size_t length = size - 1;
  pinglog::ParsedPacket parsed;
  switch (data[0] % 3) {
    case 0:
      parsed = pinglog::ParseRawPacket(packet, length, request);
      break;
    case 1:
      parsed = pinglog::ParseDatagramPacket(packet, length, request);
      break;
    default:
      pinglog::IsOurRequest(packet, length, request);
      return 0;
  }
  if (parsed.kind == pinglog::PacketKind::kReply && parsed.data_size != 32) std::abort();
  if (parsed.kind == pinglog::PacketKind::kRouterError && parsed.data_size != 0) std::abort();
  return 0;
}
