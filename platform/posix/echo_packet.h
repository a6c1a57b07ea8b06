// Building and recognising ICMP echo packets, as pure functions of their bytes.
//
// Which packets count as the answer to our request: an echo reply (type 0) carrying
// our identifier, our sequence number and our payload unchanged; or an ICMP error
// (destination unreachable, type 3; time exceeded, type 11) that quotes an echo
// request (type 8) of ours with that identifier and sequence. Everything else that a
// socket delivers (other processes' traffic, our own outgoing requests on a raw socket,
// late replies to earlier requests, damaged packets) is not ours.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

#include "platform/platform.h"

namespace pinglog {

struct EchoRequestId {
  std::uint16_t identifier = 0;
  std::uint16_t sequence = 0;
  bool check_identifier = true;  // false where the kernel already checked it
  std::string_view payload;
};

enum class PacketKind { kNotOurs, kReply, kRouterError };

struct ParsedPacket {
  PacketKind kind = PacketKind::kNotOurs;
  IPv4Bytes source{};           // from the IP header, when there is one
  std::uint8_t ttl = 0;         // likewise
  std::uint16_t data_size = 0;  // echoed payload bytes; 0 for an error
};

// An echo request: ICMP header (type 8, code 0, checksum, identifier, sequence) and
// the payload.
std::vector<std::uint8_t> BuildEchoRequest(const EchoRequestId& request);

// The Internet checksum of the bytes (one's complement of the one's-complement sum).
std::uint16_t InternetChecksum(const std::uint8_t* data, std::size_t size);

// A packet as a raw ICMP socket delivers it: IPv4 header first. Checks the checksum.
ParsedPacket ParseRawPacket(const std::uint8_t* data, std::size_t size,
                            const EchoRequestId& request);

// A packet as an ICMP datagram socket delivers it: ICMP header first, no IP header
// (source and TTL come with the message, not in the bytes).
ParsedPacket ParseDatagramPacket(const std::uint8_t* data, std::size_t size,
                                 const EchoRequestId& request);

// The data of an error-queue message on a datagram socket: our own request as sent.
bool IsOurRequest(const std::uint8_t* data, std::size_t size, const EchoRequestId& request);

}  // namespace pinglog
