#include "platform/posix/echo_packet.h"

#include <algorithm>
#include <cstring>

namespace pinglog {
namespace {

constexpr std::uint8_t kEchoReply = 0;
constexpr std::uint8_t kDestinationUnreachable = 3;
constexpr std::uint8_t kEchoRequest = 8;
constexpr std::uint8_t kTimeExceeded = 11;
constexpr std::uint8_t kProtocolIcmp = 1;
constexpr std::size_t kIcmpHeaderSize = 8;
constexpr std::size_t kMinimumIpHeaderSize = 20;

std::uint16_t Read16(const std::uint8_t* at) {
  return static_cast<std::uint16_t>(at[0] << 8 | at[1]);
}

// The length of a well-formed IPv4 header at the start of the bytes, or 0.
std::size_t IpHeaderSize(const std::uint8_t* data, std::size_t size) {
  if (size < kMinimumIpHeaderSize || data[0] >> 4 != 4) return 0;
  const std::size_t length = static_cast<std::size_t>(data[0] & 0x0F) * 4;
  return length >= kMinimumIpHeaderSize && length <= size ? length : 0;
}

bool MatchesIds(const std::uint8_t* icmp, const EchoRequestId& request) {
  return (!request.check_identifier || Read16(icmp + 4) == request.identifier) &&
         Read16(icmp + 6) == request.sequence;
}

// An echo reply to our request, its payload unchanged.
bool IsOurReply(const std::uint8_t* icmp, std::size_t size, const EchoRequestId& request) {
  if (size < kIcmpHeaderSize || icmp[0] != kEchoReply || icmp[1] != 0) return false;
  if (!MatchesIds(icmp, request)) return false;
  const std::size_t payload_size = size - kIcmpHeaderSize;
  return payload_size == request.payload.size() &&
         std::memcmp(icmp + kIcmpHeaderSize, request.payload.data(), payload_size) == 0;
}

// An ICMP error quoting the IP header and first 8 bytes of an echo request of ours.
bool IsErrorAboutOurRequest(const std::uint8_t* icmp, std::size_t size,
                            const EchoRequestId& request) {
  if (size < kIcmpHeaderSize) return false;
  if (icmp[0] != kDestinationUnreachable && icmp[0] != kTimeExceeded) return false;
  const std::uint8_t* quoted = icmp + kIcmpHeaderSize;
  const std::size_t quoted_size = size - kIcmpHeaderSize;
  const std::size_t quoted_ip = IpHeaderSize(quoted, quoted_size);
  if (quoted_ip == 0 || quoted[9] != kProtocolIcmp) return false;
  if (quoted_size - quoted_ip < kIcmpHeaderSize) return false;
  const std::uint8_t* quoted_icmp = quoted + quoted_ip;
  return quoted_icmp[0] == kEchoRequest && MatchesIds(quoted_icmp, request);
}

}  // namespace

std::uint16_t InternetChecksum(const std::uint8_t* data, std::size_t size) {
  std::uint32_t sum = 0;
  for (std::size_t i = 0; i + 1 < size; i += 2) sum += Read16(data + i);
  if (size % 2 == 1) sum += static_cast<std::uint32_t>(data[size - 1]) << 8;
  while (sum >> 16) sum = (sum & 0xFFFF) + (sum >> 16);
  return static_cast<std::uint16_t>(~sum);
}

std::vector<std::uint8_t> BuildEchoRequest(const EchoRequestId& request) {
  std::vector<std::uint8_t> packet(kIcmpHeaderSize + request.payload.size());
  packet[0] = kEchoRequest;
  packet[4] = static_cast<std::uint8_t>(request.identifier >> 8);
  packet[5] = static_cast<std::uint8_t>(request.identifier);
  packet[6] = static_cast<std::uint8_t>(request.sequence >> 8);
  packet[7] = static_cast<std::uint8_t>(request.sequence);
  std::copy(request.payload.begin(), request.payload.end(), packet.begin() + kIcmpHeaderSize);
  const std::uint16_t checksum = InternetChecksum(packet.data(), packet.size());
  packet[2] = static_cast<std::uint8_t>(checksum >> 8);
  packet[3] = static_cast<std::uint8_t>(checksum);
  return packet;
}

ParsedPacket ParseRawPacket(const std::uint8_t* data, std::size_t size,
                            const EchoRequestId& request) {
  ParsedPacket parsed;
  const std::size_t ip = IpHeaderSize(data, size);
  if (ip == 0 || data[9] != kProtocolIcmp) return parsed;
  // The IP total length bounds the ICMP message; a packet cut short is not ours.
  const std::size_t total = Read16(data + 2);
  if (total < ip || total > size) return parsed;
  const std::uint8_t* icmp = data + ip;
  const std::size_t icmp_size = total - ip;
  if (icmp_size < kIcmpHeaderSize || InternetChecksum(icmp, icmp_size) != 0) return parsed;
  if (IsOurReply(icmp, icmp_size, request)) {
    parsed.kind = PacketKind::kReply;
    parsed.data_size = static_cast<std::uint16_t>(icmp_size - kIcmpHeaderSize);
  } else if (IsErrorAboutOurRequest(icmp, icmp_size, request)) {
    parsed.kind = PacketKind::kRouterError;
  } else {
    return parsed;
  }
  std::copy(data + 12, data + 16, parsed.source.begin());
  parsed.ttl = data[8];
  return parsed;
}

ParsedPacket ParseDatagramPacket(const std::uint8_t* data, std::size_t size,
                                 const EchoRequestId& request) {
  ParsedPacket parsed;
  if (IsOurReply(data, size, request)) {
    parsed.kind = PacketKind::kReply;
    parsed.data_size = static_cast<std::uint16_t>(size - kIcmpHeaderSize);
  }
  return parsed;
}

bool IsOurRequest(const std::uint8_t* data, std::size_t size, const EchoRequestId& request) {
  return size >= kIcmpHeaderSize && data[0] == kEchoRequest && MatchesIds(data, request);
}

}  // namespace pinglog
