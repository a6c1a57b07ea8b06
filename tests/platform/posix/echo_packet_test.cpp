#include "platform/posix/echo_packet.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace pinglog {
namespace {

using Bytes = std::vector<std::uint8_t>;

constexpr std::string_view kPayload = "Echo This Information Back To Me";

EchoRequestId Request(std::uint16_t sequence = 7) {
  EchoRequestId request;
  request.identifier = 0x1234;
  request.sequence = sequence;
  request.payload = kPayload;
  return request;
}

void SetChecksum(Bytes& icmp) {
  icmp[2] = icmp[3] = 0;
  const std::uint16_t sum = InternetChecksum(icmp.data(), icmp.size());
  icmp[2] = static_cast<std::uint8_t>(sum >> 8);
  icmp[3] = static_cast<std::uint8_t>(sum);
}

// An IPv4 header from `source` with the given TTL in front of an ICMP message.
Bytes WithIpHeader(const Bytes& icmp, IPv4Bytes source, std::uint8_t ttl) {
  Bytes packet(20 + icmp.size(), 0);
  packet[0] = 0x45;
  packet[2] = static_cast<std::uint8_t>(packet.size() >> 8);
  packet[3] = static_cast<std::uint8_t>(packet.size());
  packet[8] = ttl;
  packet[9] = 1;  // ICMP
  std::copy(source.begin(), source.end(), packet.begin() + 12);
  packet[16] = 127;
  packet[19] = 1;
  std::copy(icmp.begin(), icmp.end(), packet.begin() + 20);
  return packet;
}

Bytes EchoReplyTo(const EchoRequestId& request) {
  Bytes icmp = BuildEchoRequest(request);
  icmp[0] = 0;
  SetChecksum(icmp);
  return icmp;
}

// A router's error quoting the IP header and the first 8 bytes of our request.
Bytes ErrorAbout(const EchoRequestId& request, std::uint8_t type) {
  const Bytes quoted = WithIpHeader(BuildEchoRequest(request), {127, 0, 0, 1}, 64);
  Bytes icmp(8 + 28, 0);
  icmp[0] = type;
  std::copy(quoted.begin(), quoted.begin() + 28, icmp.begin() + 8);
  SetChecksum(icmp);
  return icmp;
}

ParsedPacket ParseRaw(const Bytes& packet, const EchoRequestId& request = Request()) {
  return ParseRawPacket(packet.data(), packet.size(), request);
}

TEST(EchoPacketTest, BuildsAnEchoRequestWithAValidChecksum) {
  const Bytes request = BuildEchoRequest(Request());
  ASSERT_EQ(request.size(), 40u);
  EXPECT_EQ(request[0], 8);
  EXPECT_EQ(request[4], 0x12);
  EXPECT_EQ(request[7], 7);
  EXPECT_EQ(InternetChecksum(request.data(), request.size()), 0);
  EXPECT_EQ(std::string(request.begin() + 8, request.end()), kPayload);
}

TEST(EchoPacketTest, RecognisesOurReplyAndOurRoutersErrorsOnARawSocket) {
  const ParsedPacket reply = ParseRaw(WithIpHeader(EchoReplyTo(Request()), {192, 0, 2, 1}, 57));
  EXPECT_EQ(reply.kind, PacketKind::kReply);
  EXPECT_EQ(reply.source, (IPv4Bytes{192, 0, 2, 1}));
  EXPECT_EQ(reply.ttl, 57);
  EXPECT_EQ(reply.data_size, 32);

  for (std::uint8_t type : {3, 11}) {
    const ParsedPacket error =
        ParseRaw(WithIpHeader(ErrorAbout(Request(), type), {198, 51, 100, 254}, 250));
    EXPECT_EQ(error.kind, PacketKind::kRouterError);
    EXPECT_EQ(error.source, (IPv4Bytes{198, 51, 100, 254}));
    EXPECT_EQ(error.ttl, 250);
    EXPECT_EQ(error.data_size, 0);
  }
}

TEST(EchoPacketTest, SkipsEverythingThatIsNotOurs) {
  EchoRequestId other_id = Request();
  other_id.identifier = 0x4321;
  EchoRequestId truncated_payload = Request();
  truncated_payload.payload = kPayload.substr(0, 20);
  Bytes wrong_payload = EchoReplyTo(Request());
  wrong_payload[20] ^= 1;
  SetChecksum(wrong_payload);
  Bytes bad_checksum = EchoReplyTo(Request());
  bad_checksum[3] ^= 1;
  Bytes cut_short = WithIpHeader(EchoReplyTo(Request()), {127, 0, 0, 1}, 64);
  cut_short.resize(cut_short.size() - 1);
  Bytes not_icmp = WithIpHeader(EchoReplyTo(Request()), {127, 0, 0, 1}, 64);
  not_icmp[9] = 17;

  const struct {
    const char* what;
    Bytes packet;
  } cases[] = {
      {"another identifier", WithIpHeader(EchoReplyTo(other_id), {127, 0, 0, 1}, 64)},
      {"an earlier sequence", WithIpHeader(EchoReplyTo(Request(6)), {127, 0, 0, 1}, 64)},
      {"a changed payload", WithIpHeader(wrong_payload, {127, 0, 0, 1}, 64)},
      {"a shortened payload", WithIpHeader(EchoReplyTo(truncated_payload), {127, 0, 0, 1}, 64)},
      {"a bad checksum", WithIpHeader(bad_checksum, {127, 0, 0, 1}, 64)},
      {"our own request", WithIpHeader(BuildEchoRequest(Request()), {127, 0, 0, 1}, 64)},
      {"an error about another request", WithIpHeader(ErrorAbout(Request(9), 3), {1, 2, 3, 4}, 9)},
      {"a packet cut short", cut_short},
      {"not ICMP", not_icmp},
      {"nothing", {}},
      {"a lone IP header", Bytes(20, 0x45)},
      {"an IPv6 version", Bytes(60, 0x60)},
  };
  for (const auto& c : cases) EXPECT_EQ(ParseRaw(c.packet).kind, PacketKind::kNotOurs) << c.what;
}

TEST(EchoPacketTest, DatagramSocketsLeaveTheIdentifierToTheKernel) {
  EchoRequestId request = Request();
  request.check_identifier = false;
  EchoRequestId kernel_id = request;
  kernel_id.identifier = 999;  // the kernel replaces ours with the socket's port
  const Bytes reply = EchoReplyTo(kernel_id);
  const ParsedPacket parsed = ParseDatagramPacket(reply.data(), reply.size(), request);
  EXPECT_EQ(parsed.kind, PacketKind::kReply);
  EXPECT_EQ(parsed.data_size, 32);
  const Bytes late = EchoReplyTo(Request(6));
  EXPECT_EQ(ParseDatagramPacket(late.data(), late.size(), request).kind, PacketKind::kNotOurs);

  const Bytes sent = BuildEchoRequest(kernel_id);
  EXPECT_TRUE(IsOurRequest(sent.data(), sent.size(), request));
  EXPECT_FALSE(IsOurRequest(sent.data(), 7, request));
  EXPECT_FALSE(IsOurRequest(reply.data(), reply.size(), request));
}

}  // namespace
}  // namespace pinglog
